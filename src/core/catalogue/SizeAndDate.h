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

} // namespace orlenta
