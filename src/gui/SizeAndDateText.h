#pragma once

// How the window shows a recorded size and modification time.

#include <QString>
#include <cstdint>

namespace orlenta {

// "1.4 MB": units of 1024 with the customary names (KB, MB, GB, TB), one decimal in the locale's
// form; "512 bytes" below a kilobyte. The same units as Find all's size filters, so that
// "size:>10M" and "10.0 MB" agree.
QString SizeText(std::uint64_t bytes);
// "1,468,006 bytes": the exact count with the locale's group separators, for tool tips.
QString ExactSizeText(std::uint64_t bytes);
// The moment (seconds since 1970, UTC) in local time, the locale's short date and time.
QString ModifiedText(std::int64_t seconds);

} // namespace orlenta
