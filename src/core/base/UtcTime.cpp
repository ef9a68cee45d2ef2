#include "core/base/UtcTime.h"

namespace orlenta {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 0000-01-01 and 10000-01-01 as days since 1970-01-01.
constexpr std::int64_t kFirstDay = -719528;
constexpr std::int64_t kPastLastDay = 2932897;

struct TCivilDate {
    std::int64_t Year;
    unsigned Month;
    unsigned Day;
};

// The calendar date of a day count since 1970-01-01, in eras of 400 years so that no time zone
// database or 32-bit time_t gets involved.
TCivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

void PutDigits(char* out, unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// The value of count digits at text; nothing when any is not a digit.
std::optional<unsigned> Digits(std::string_view text, std::size_t at, std::size_t count) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return value;
}

unsigned DaysInMonth(std::int64_t year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

bool FormatUtcTime(std::int64_t seconds, char* out) {
    // Floor division: a moment before 1970 still falls on its own day.
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t inDay = seconds % kSecondsPerDay;
    if (inDay < 0) {
        inDay += kSecondsPerDay;
        --days;
    }
    if (days < kFirstDay || days >= kPastLastDay)
        return false;
    const TCivilDate date = CivilFromDays(days);
    PutDigits(out, static_cast<unsigned>(date.Year), 4);
    out[4] = '-';
    PutDigits(out + 5, date.Month, 2);
    out[7] = '-';
    PutDigits(out + 8, date.Day, 2);
    out[10] = 'T';
    PutDigits(out + 11, static_cast<unsigned>(inDay / 3600), 2);
    out[13] = ':';
    PutDigits(out + 14, static_cast<unsigned>(inDay / 60 % 60), 2);
    out[16] = ':';
    PutDigits(out + 17, static_cast<unsigned>(inDay % 60), 2);
    out[19] = 'Z';
    return true;
}

std::optional<std::int64_t> ParseUtcTime(std::string_view text) {
    if (text.size() != kUtcTimeLength || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2);
    const auto minute = Digits(text, 14, 2);
    const auto second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
        *day < 1 || *day > DaysInMonth(*year, *month) || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    return DaysFromCivil(*year, *month, *day) * kSecondsPerDay + *hour * 3600 + *minute * 60 +
           *second;
}

} // namespace orlenta
