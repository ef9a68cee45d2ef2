#include "core/search/SearchText.h"

namespace orlenta {

TSearchText::TSearchText(std::string_view text, bool wildcards) {
    if (wildcards && HasWildcard(text))
        FPattern.emplace(text);
    else
        FUpperKeyword = UpperCaseAscii(text);
}

} // namespace orlenta
