#pragma once

#include "core/search/GlobPattern.h"
#include "core/search/KeywordMatch.h"

#include <optional>
#include <string>
#include <string_view>

namespace orlenta {

// The text of a search, ready to test values: a keyword (ContainsUpperKeyword's rule, the
// keyword upper-cased once), or, when the caller allows wildcards and the text holds *, ? or [,
// a shell pattern that a whole value must match (TGlobPattern).
class TSearchText {
public:
    TSearchText(std::string_view text, bool wildcards);

    bool IsPattern() const { return FPattern.has_value(); }
    // Whether value is a hit; an empty text or an empty value never is. Allocates nothing: it
    // runs for every name of a catalogue.
    bool Matches(std::string_view value) const {
        return FPattern ? FPattern->Matches(value) : ContainsUpperKeyword(FUpperKeyword, value);
    }

private:
    std::string FUpperKeyword;
    std::optional<TGlobPattern> FPattern;
};

} // namespace orlenta
