#pragma once

// The memory of the catalogue documents. A loaded catalogue of a million files is a text of
// some 50 MB parsed in place and well over 100 MB of nodes: page by page, that is over 40,000
// page faults, each a trip into the kernel that costs more than the parsing of the page. The
// allocator here takes that memory in blocks of megabytes and has the kernel put in their pages
// many at a time.

#include <cstddef>

namespace orlenta {

// Makes pugixml allocate through the functions below, once per process; later calls do
// nothing. Memory pugixml took from the C heap before stays valid: it is given back there.
// Under AddressSanitizer it does nothing: documents stay on the heap, where the sanitizer sees a
// write past a block or a read after its document is gone.
void UseDocumentMemory();

// pugixml's allocation functions. Pages of a document (pugixml asks for them one after another
// while it parses) share regions of a few megabytes and are reused when freed; blocks of a
// mebibyte and more (the text of a load) are mapped on their own; everything else comes from
// the C heap. Null when the memory is not to be had, leaving nothing behind; never throws,
// which pugixml could not handle. Safe from any thread.
void* AllocateDocumentMemory(size_t size) noexcept;
// Gives back what AllocateDocumentMemory returned, or what malloc did; null does nothing.
void FreeDocumentMemory(void* memory) noexcept;

// What the allocator holds beyond the C heap, for tests and measurements.
struct TDocumentMemoryUse {
    size_t Regions = 0;     // regions of pages
    size_t Pages = 0;       // pages handed out and not given back
    size_t LargeBlocks = 0; // blocks mapped on their own
};
TDocumentMemoryUse DocumentMemoryUse();

} // namespace orlenta
