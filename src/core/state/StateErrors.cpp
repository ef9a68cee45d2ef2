#include "core/state/StateErrors.h"

namespace orlenta {

EOrlentaError UnableToWriteError(const std::string& path) {
    return EOrlentaError("Unable to write to " + path);
}

} // namespace orlenta
