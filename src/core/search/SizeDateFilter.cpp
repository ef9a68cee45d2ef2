#include "core/search/SizeDateFilter.h"

#include <algorithm>
#include <ctime>

namespace orlenta {

namespace {

enum class TComparison { Above, Below, AtLeast, AtMost };

// Takes the comparison off the front of text; nothing when there is none.
std::optional<TComparison> TakeComparison(std::string_view& text) {
    if (text.empty() || (text[0] != '>' && text[0] != '<'))
        return std::nullopt;
    const bool above = text[0] == '>';
    if (text.size() > 1 && text[1] == '=') {
        text.remove_prefix(2);
        return above ? TComparison::AtLeast : TComparison::AtMost;
    }
    text.remove_prefix(1);
    return above ? TComparison::Above : TComparison::Below;
}

// Takes a run of decimal digits off the front of text, at most maxDigits of them.
std::optional<std::uint64_t> TakeDigits(std::string_view& text, size_t maxDigits,
                                        size_t* count = nullptr) {
    size_t length = 0;
    std::uint64_t value = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        const auto digit = static_cast<std::uint64_t>(text[length] - '0');
        if (length == maxDigits || value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
        ++length;
    }
    if (length == 0)
        return std::nullopt;
    text.remove_prefix(length);
    if (count != nullptr)
        *count = length;
    return value;
}

int UnitShift(char unit) {
    switch (unit) {
    case 'k':
    case 'K': return 10;
    case 'm':
    case 'M': return 20;
    case 'g':
    case 'G': return 30;
    case 't':
    case 'T': return 40;
    default: return -1;
    }
}

bool AddSize(std::string_view text, TSizeDateFilter& filter) {
    const std::optional<TComparison> comparison = TakeComparison(text);
    if (!comparison)
        return false;
    // Any number of bytes a file may have, up to 2^64 - 1, can be given; the product with the
    // unit is checked below. Eighteen digits after the point are more than any size needs.
    const std::optional<std::uint64_t> whole = TakeDigits(text, 20);
    if (!whole)
        return false;
    std::uint64_t fraction = 0;
    size_t fractionDigits = 0;
    if (!text.empty() && text[0] == '.') {
        text.remove_prefix(1);
        const std::optional<std::uint64_t> digits = TakeDigits(text, 18, &fractionDigits);
        if (!digits)
            return false;
        fraction = *digits;
    }
    int shift = 0;
    if (!text.empty()) {
        shift = UnitShift(text[0]);
        if (shift < 0 || text.size() != 1)
            return false;
    }
    // The value is numerator / denominator bytes, exactly: a decimal part of a unit need not be
    // a whole number of bytes, and > and < round it the way that keeps their meaning.
    using TWide = unsigned __int128;
    constexpr TWide kLargest = UINT64_MAX;
    if ((TWide{*whole} << shift) > kLargest)
        return false;
    TWide denominator = 1;
    for (size_t i = 0; i < fractionDigits; ++i)
        denominator *= 10;
    const TWide numerator = (TWide{*whole} * denominator + fraction) << shift;
    const TWide floor = numerator / denominator;
    const TWide ceiling = floor + (numerator % denominator != 0 ? 1 : 0);
    const auto atLeast = [&](TWide bound) {
        if (bound > kLargest) { // above every size: none passes
            filter.MinSize = std::max<std::uint64_t>(filter.MinSize, 1);
            filter.MaxSize = 0;
        } else {
            filter.MinSize = std::max(filter.MinSize, static_cast<std::uint64_t>(bound));
        }
    };
    const auto atMost = [&](TWide bound) {
        filter.MaxSize = std::min(filter.MaxSize, static_cast<std::uint64_t>(bound));
    };
    filter.OnSize = true;
    switch (*comparison) {
    case TComparison::Above: atLeast(floor + 1); break;
    case TComparison::AtLeast: atLeast(ceiling); break;
    case TComparison::AtMost: atMost(floor); break;
    case TComparison::Below:
        if (ceiling == 0) // below nothing: no size passes
            atLeast(kLargest + 1);
        else
            atMost(ceiling - 1);
        break;
    }
    return true;
}

bool AddModified(std::string_view text, TSizeDateFilter& filter) {
    const std::optional<TComparison> comparison = TakeComparison(text);
    if (!comparison)
        return false;
    // YYYY, YYYY-MM or YYYY-MM-DD, each part with exactly its digits.
    size_t digits = 0;
    const std::optional<std::uint64_t> year = TakeDigits(text, 4, &digits);
    if (!year || digits != 4)
        return false;
    int parts[2] = {0, 0};
    for (int& part : parts) {
        if (text.empty())
            break;
        if (text[0] != '-')
            return false;
        text.remove_prefix(1);
        const std::optional<std::uint64_t> value = TakeDigits(text, 2, &digits);
        if (!value || digits != 2)
            return false;
        part = static_cast<int>(*value);
    }
    if (!text.empty())
        return false;
    const auto period = LocalPeriod(static_cast<int>(*year), parts[0], parts[1]);
    if (!period)
        return false;
    const auto [start, end] = *period;
    filter.OnModified = true;
    switch (*comparison) {
    case TComparison::Above: filter.MinModified = std::max(filter.MinModified, end); break;
    case TComparison::AtLeast: filter.MinModified = std::max(filter.MinModified, start); break;
    case TComparison::Below: filter.MaxModified = std::min(filter.MaxModified, start - 1); break;
    case TComparison::AtMost: filter.MaxModified = std::min(filter.MaxModified, end - 1); break;
    }
    return true;
}

// The moment a local day starts; mktime finds the offset, daylight saving time included.
std::int64_t LocalMidnight(int year, int month, int day) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

std::optional<std::pair<std::int64_t, std::int64_t>> LocalPeriod(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 0 || month > 12 || (month == 0 && day != 0))
        return std::nullopt;
    if (month == 0)
        return std::pair(LocalMidnight(year, 1, 1), LocalMidnight(year + 1, 1, 1));
    if (day == 0)
        return std::pair(LocalMidnight(year, month, 1), LocalMidnight(year, month + 1, 1));
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int days = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    if (day > days)
        return std::nullopt;
    // mktime carries a day past the month's end into the next month.
    return std::pair(LocalMidnight(year, month, day), LocalMidnight(year, month, day + 1));
}

bool AddFilterWord(std::string_view word, TSizeDateFilter& filter) {
    constexpr std::string_view kSize = "size:";
    constexpr std::string_view kModified = "modified:";
    if (word.starts_with(kSize))
        return AddSize(word.substr(kSize.size()), filter);
    if (word.starts_with(kModified))
        return AddModified(word.substr(kModified.size()), filter);
    return false;
}

TFilteredText SplitFilters(std::string_view text) {
    TFilteredText result;
    bool anyFilter = false;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        if (AddFilterWord(word, result.Filter)) {
            anyFilter = true;
        } else {
            // The word keeps the spaces that stood between it and the word kept before it.
            if (!result.Name.empty()) {
                const size_t gap = at - text.find_last_not_of(' ', at - 1) - 1;
                result.Name.append(gap, ' ');
            }
            result.Name += word;
        }
        at = end;
    }
    if (!anyFilter)
        result.Name = text;
    return result;
}

} // namespace orlenta
