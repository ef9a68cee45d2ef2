#include "core/search/KeywordMatch.h"

#include <string>

namespace orlenta {

bool ContainsKeyword(std::string_view keyword, std::string_view value) {
    return ContainsUpperKeyword(UpperCaseAscii(keyword), value);
}

} // namespace orlenta
