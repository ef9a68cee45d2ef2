#pragma once

// Synthetic directory trees with names like those found on real discs: words, digits,
// extensions, blanks, non-ASCII letters and markup characters, about ten files per directory.

#include <cstdint>
#include <string>
#include <vector>

namespace orlenta::bench {

// A small deterministic generator: the same seed gives the same trees on every machine.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}
    std::uint64_t Next();
    // Uniform in [0, bound).
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Standard normal.
    double Normal();

private:
    std::uint64_t FState;
};

struct TSyntheticDirectory {
    int Parent = -1; // index of the parent; -1 for the top directory
    int Depth = 0;   // 0 for the top directory
    std::string Name;
    std::vector<std::string> Files;
    std::vector<int> Children; // in the order they were made
};

// A tree of exactly fileCount files in about fileCount / 10 directories (at least one, the top,
// which has no name), at most kMaxDepth deep. Names are unique within a directory.
std::vector<TSyntheticDirectory> MakeSyntheticTree(TRandom& random, long fileCount);

inline constexpr int kMaxDepth = 9;

// Words, dates and short texts for the properties of synthetic discs.
std::string SyntheticTitle(TRandom& random);
std::string SyntheticWord(TRandom& random);

} // namespace orlenta::bench
