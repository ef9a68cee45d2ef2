#pragma once

// Moments as the catalogue stores them: UTC, to the second, as "YYYY-MM-DDTHH:MM:SSZ".

#include <cstdint>
#include <optional>
#include <string_view>

namespace orlenta {

// The length of the stored form, "YYYY-MM-DDTHH:MM:SSZ".
inline constexpr std::size_t kUtcTimeLength = 20;

// Writes the moment seconds after 1970-01-01T00:00:00Z into out (kUtcTimeLength characters, no
// terminator). False, with nothing written, when its year is outside 0000-9999.
bool FormatUtcTime(std::int64_t seconds, char* out);

// The seconds since 1970-01-01T00:00:00Z of a stored moment; nothing unless text is exactly the
// stored form with a valid date and time.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (month 1-12, day 1-31).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);

} // namespace orlenta
