#pragma once

// A file's size and modification time, and a directory's total size and own time, as the
// optional attributes Size and Modified of Filename, Root and Directory. They are there only when
// the disc was read with sizes and dates; reading them never adds them, so a catalogue without
// them stays byte for byte as it is.

#include "core/catalogue/SchemaNames.h"

#include <cstdint>
#include <optional>
#include <pugixml.hpp>

namespace orlenta {

// The recorded size in bytes; nothing when absent or not plain decimal digits within range.
std::optional<std::uint64_t> RecordedSize(pugi::xml_node element);
// The recorded modification time, seconds since 1970 in UTC; nothing when absent or malformed.
std::optional<std::int64_t> RecordedModified(pugi::xml_node element);

// The value of plain decimal digits (no sign, no spaces) within 64 bits; nothing otherwise.
std::optional<std::uint64_t> ParseByteCount(const char* text);

// total + bytes, or the largest number where the sum does not fit. Every size up to 2^64 - 1
// can be stored, so a total of several can pass it; wrapped round, it would claim a few bytes
// for a folder of the largest files. Stuck at the top, it still orders and compares as the most.
constexpr std::uint64_t SaturatingAdd(std::uint64_t total, std::uint64_t bytes) {
    return bytes > UINT64_MAX - total ? UINT64_MAX : total + bytes;
}
// bytes times count, or the largest number where the product does not fit, for the same reason.
constexpr std::uint64_t SaturatingMultiply(std::uint64_t bytes, std::uint64_t count) {
    return bytes != 0 && count > UINT64_MAX / bytes ? UINT64_MAX : bytes * count;
}

} // namespace orlenta
