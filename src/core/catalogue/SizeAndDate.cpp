#include "core/catalogue/SizeAndDate.h"

#include "core/base/UtcTime.h"

#include <limits>

namespace orlenta {

std::optional<std::uint64_t> ParseByteCount(const char* text) {
    if (*text == '\0')
        return std::nullopt;
    std::uint64_t value = 0;
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint64_t>::max();
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(*text - '0');
        if (value > (kLimit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::uint64_t> RecordedSize(pugi::xml_node element) {
    const pugi::xml_attribute attribute = element.attribute(kSizeAttribute);
    if (!attribute)
        return std::nullopt;
    return ParseByteCount(attribute.value());
}

std::optional<std::int64_t> RecordedModified(pugi::xml_node element) {
    const pugi::xml_attribute attribute = element.attribute(kModifiedAttribute);
    if (!attribute)
        return std::nullopt;
    return ParseUtcTime(attribute.value());
}

} // namespace orlenta
