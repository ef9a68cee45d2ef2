#pragma once

// Overlap: how much of one disc stands on the other discs of a catalogue, disc by disc and on
// all of them together; the question behind throwing a disc away.
//
// A file of the disc is found on another disc when that disc holds a file of the same name
// (byte for byte) and, where both have a size recorded, of the same size: a disc read without
// sizes is matched by name alone. Every file counts, empty ones too (an empty file with the name
// is all there is to keep). Copies within the disc itself do not count.

#include "core/search/NameIndex.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// What of the disc was found on one other disc, or on all of them together.
struct TOverlapCount {
    std::uint32_t Disc;  // the other disc's index; TNameIndex::kNone for all others together
    std::uint64_t Files; // the disc's files found there
    std::uint64_t Bytes; // their recorded sizes together, the largest number when more
};

struct TOverlap {
    std::uint32_t Disc;  // the disc's index
    std::uint64_t Files; // its file names
    std::uint64_t Bytes; // their recorded sizes together, the largest number when more
    // Every other disc that holds any of its files, by index.
    std::vector<TOverlapCount> Discs;
    TOverlapCount AllOthers;
};

// The overlap of disc (0 <= disc < index.DiscCount()) with the other discs of index.
TOverlap FindOverlap(const TNameIndex& index, std::uint32_t disc);

// part of whole as a percentage with one decimal, rounded down so that 100.0% means all of it:
// "93.4%"; empty when whole is 0.
std::string ShareText(std::uint64_t part, std::uint64_t whole);

// Appends a line as orlenta-cli overlap prints it: the other disc's index ("*" for all others
// together), its title, the files and the bytes found there, the shares of the disc's files and
// bytes, tab-separated, ending in a line feed.
void AppendOverlapLine(std::string& text, const TOverlap& overlap, const TOverlapCount& count,
                       std::string_view title);

} // namespace orlenta
