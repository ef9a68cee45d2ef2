#pragma once

#include "app/OrlentaError.h"

#include <string>

namespace orlenta {

// "Unable to write to %s" with the profile file's full path: a write or an erase was refused.
EOrlentaError UnableToWriteError(const std::string& path);

} // namespace orlenta
