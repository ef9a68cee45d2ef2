#pragma once

// A folder that could not be read during a rescan says nothing of what it holds now: a lost
// permission or a read error must not empty it in the catalogue. What the disc held for it is
// put back into the new reading before the two are compared.

#include "core/reading/DiscReading.h"

#include <vector>

namespace orlenta {

// For each of unreadable (directories of the reading into read, in the order the walk met them),
// replaces what was read below it with what held holds at the same path, when held has that
// directory: its folders and files, its total size (the totals above it follow) and read's
// directory and file counts. A folder inside one already put back is skipped. Returns how many
// were put back.
std::size_t KeepWhatWasHeld(const IXMLDiscType& held, const IXMLDiscType& read,
                            const std::vector<TDiscReading::TUnreadableDirectory>& unreadable);

} // namespace orlenta
