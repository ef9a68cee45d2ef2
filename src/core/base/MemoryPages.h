#pragma once

// Putting in the pages of a large block in one call to the kernel instead of a fault per page:
// on a virtual machine each fault is a trip to the host, and a table of tens of megabytes takes
// thousands of them.

#include <cstddef>

namespace orlenta {

// Has the kernel put in the whole pages of the bytes at memory, for writing. A kernel older
// than 5.14 says no; the pages then come one fault at a time.
void FillPages(void* memory, std::size_t bytes);

} // namespace orlenta
