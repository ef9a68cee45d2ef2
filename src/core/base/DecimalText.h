#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlenta {

// The value of a decimal integer text (an optional sign, then digits, nothing else, within the
// range of long long); nothing otherwise.
std::optional<long long> ParseDecimal(std::string_view text);

// The decimal value of text, 0 when it is empty or not a decimal integer.
long long DecimalOrZero(std::string_view text);

// text's decimal value (0 when not numeric) plus one, written back in decimal: how the counts grow.
std::string IncrementedDecimal(std::string_view text);

} // namespace orlenta
