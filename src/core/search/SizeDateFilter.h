#pragma once

// Size and date filters inside a find text: "*.iso size:>1G modified:<2021-06". Words are
// separated by spaces; a word that is exactly a filter is taken out, everything else is the name
// part and searched as before.
//
//   size:OP NUMBER[UNIT]   OP is >, <, >= or <=; NUMBER is digits with an optional decimal part
//                          (1.5); UNIT is k, M, G or T (powers of 1024, either case), none for
//                          bytes. The value in bytes must fit in 64 bits
//                          (up to 2^64 - 1).
//   modified:OP DATE       DATE is YYYY, YYYY-MM or YYYY-MM-DD in local time. > is after the
//                          whole period (modified:>2020 is from 2021-01-01 00:00 on), < before
//                          its start, >= from its start, <= up to its end.
//
// Several filters must all hold. Only entries with the value recorded can pass a filter on it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orlenta {

// The sizes and times that pass, as inclusive bounds; a filter not given passes everything,
// also entries without the value.
struct TSizeDateFilter {
    // A time never recorded: it lies far before the year 0000, the first a stored time has.
    static constexpr std::int64_t kNoModified = INT64_MIN;

    bool OnSize = false;
    bool OnModified = false;
    std::uint64_t MinSize = 0;
    std::uint64_t MaxSize = UINT64_MAX;
    std::int64_t MinModified = kNoModified + 1;
    std::int64_t MaxModified = INT64_MAX;

    // Whether no filter was given.
    bool Empty() const { return !OnSize && !OnModified; }
    // Whether an entry of size (nothing when not recorded) and modified (kNoModified when not
    // recorded) passes.
    bool Passes(std::optional<std::uint64_t> size, std::int64_t modified) const {
        return (!OnSize || (size && *size >= MinSize && *size <= MaxSize)) &&
               (!OnModified || (modified >= MinModified && modified <= MaxModified));
    }
};

// A find text taken apart.
struct TFilteredText {
    // The text without its filters: the text as it was when it holds none; otherwise the other
    // words with the spaces between them, without spaces at either end. Empty when the text is
    // only filters, which then hold for every name.
    std::string Name;
    TSizeDateFilter Filter;
};

// Narrows filter by word when word is exactly a filter; false, filter unchanged, otherwise.
bool AddFilterWord(std::string_view word, TSizeDateFilter& filter);

// Splits text into its filters and its name part.
TFilteredText SplitFilters(std::string_view text);

// The start, in seconds since 1970, of the local-time day, month (day 0) or year (month and day
// 0) given, and of the one after it; nothing for a date that does not exist.
std::optional<std::pair<std::int64_t, std::int64_t>> LocalPeriod(int year, int month, int day);

} // namespace orlenta
