#pragma once

// The memory of the catalogue documents. A loaded catalogue of a million files is a text of
// some 50 MB parsed in place and well over 100 MB of nodes: in pages of 4 KiB that is tens of
// thousands of page faults, each one zeroing its page and charging it, which cost more than
// the parse itself. The allocator here asks the kernel for transparent huge pages (2 MiB) for
// that memory, so the same bytes come in a few dozen faults. Where the kernel gives none (huge
// pages switched off), it works on small pages as before.

#include <cstddef>

namespace orlenta {

// Makes pugixml allocate through the functions below, once per process; later calls do
// nothing. Memory pugixml took from the C heap before stays valid: it is given back there.
void UseDocumentMemory();

// pugixml's allocation functions. Pages of a document (pugixml asks for them one after another
// while it parses) share large regions of huge pages and are reused when freed; blocks of a
// mebibyte and more (the text of a load) are mapped on their own; everything else comes from
// the C heap. Null when the memory is not to be had. Safe from any thread.
void* AllocateDocumentMemory(size_t size);
// Gives back what AllocateDocumentMemory returned, or what malloc did; null does nothing.
void FreeDocumentMemory(void* memory);

// What the allocator holds beyond the C heap, for tests and measurements.
struct TDocumentMemoryUse {
    size_t Regions = 0;     // regions of pages
    size_t Pages = 0;       // pages handed out and not given back
    size_t LargeBlocks = 0; // blocks mapped on their own
};
TDocumentMemoryUse DocumentMemoryUse();

} // namespace orlenta
