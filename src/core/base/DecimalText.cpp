#include "core/base/DecimalText.h"

#include <charconv>
#include <limits>

namespace orlenta {

std::optional<long long> ParseDecimal(std::string_view text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

long long DecimalOrZero(std::string_view text) {
    return ParseDecimal(text).value_or(0);
}

std::string IncrementedDecimal(std::string_view text) {
    const long long value = DecimalOrZero(text);
    // Saturate instead of overflowing; no real catalogue gets near it.
    return std::to_string(value < std::numeric_limits<long long>::max() ? value + 1 : value);
}

} // namespace orlenta
