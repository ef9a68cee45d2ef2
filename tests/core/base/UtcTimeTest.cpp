#include "core/base/UtcTime.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <string_view>

namespace orlenta {
namespace {

std::string Formatted(std::int64_t seconds) {
    std::string text(kUtcTimeLength, '#');
    if (!FormatUtcTime(seconds, text.data()))
        return text == std::string(kUtcTimeLength, '#') ? "(none)" : "(written though refused)";
    return text;
}

TEST(UtcTime, FormatsAndParsesEachOtherWithinYears0000To9999) {
    const struct {
        std::int64_t Seconds;
        std::string_view Text;
    } cases[] = {
        {0, "1970-01-01T00:00:00Z"},
        {-1, "1969-12-31T23:59:59Z"},
        {-86400, "1969-12-31T00:00:00Z"},
        {-2203891200, "1900-03-01T00:00:00Z"}, // 1900 has no leap day
        {951782400, "2000-02-29T00:00:00Z"},   // 2000 has one
        {1709208000, "2024-02-29T12:00:00Z"},
        {2147483648, "2038-01-19T03:14:08Z"}, // past 32 bits
        {4102444800, "2100-01-01T00:00:00Z"},
        {4107542400, "2100-03-01T00:00:00Z"},
        {-62167219200, "0000-01-01T00:00:00Z"},
        {-62162121600, "0000-02-29T00:00:00Z"}, // year 0 is a leap year
        {253402300799, "9999-12-31T23:59:59Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Formatted(c.Seconds), c.Text) << c.Seconds;
        EXPECT_EQ(ParseUtcTime(c.Text), c.Seconds) << c.Text;
    }
}

TEST(UtcTime, RefusesMomentsOutsideTheFourDigitYears) {
    for (const std::int64_t seconds :
         {std::int64_t{-62167219201}, std::int64_t{253402300800},
          std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()})
        EXPECT_EQ(Formatted(seconds), "(none)") << seconds;
}

TEST(UtcTime, ParsesOnlyTheExactStoredFormOfAValidMoment) {
    for (const std::string_view text : {
             "",
             "1970-01-01T00:00:00",
             "1970-01-01T00:00:00z",
             "1970-01-01 00:00:00Z",
             "1970-01-01T00:00:00Z ",
             " 1970-01-01T00:00:00Z",
             "1970-1-01T00:00:00Z",
             "+970-01-01T00:00:00Z",
             "-001-01-01T00:00:00Z",
             "10000-01-01T00:00:00Z",
             "1970-01-01T00:00:00+00:00",
             "1970-00-01T00:00:00Z",
             "1970-13-01T00:00:00Z",
             "1970-01-00T00:00:00Z",
             "1970-01-32T00:00:00Z",
             "1970-04-31T00:00:00Z",
             "2023-02-29T00:00:00Z",
             "1900-02-29T00:00:00Z",
             "2100-02-29T00:00:00Z",
             "1970-01-01T24:00:00Z",
             "1970-01-01T00:60:00Z",
             "1970-01-01T00:00:60Z", // no leap seconds
             "1970-01-01T0a:00:00Z",
         })
        EXPECT_EQ(ParseUtcTime(text), std::nullopt) << text;
}

} // namespace
} // namespace orlenta
