#include "ui/WholeNumber.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimbrel {
namespace {

TEST(WholeNumber, ParsesWhatANumberFieldMayHold) {
    constexpr std::int32_t kUnchanged = 4711;
    const struct {
        const char16_t* text;
        std::int32_t value;  // kUnchanged when refused
    } cases[] = {
        {u"72", 72},
        {u"  72\t", 72},
        {u"+5", 5},
        {u"-0", 0},
        {u"0007", 7},
        {u"2147483647", std::numeric_limits<std::int32_t>::max()},
        {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {u"2147483648", kUnchanged},
        {u"-2147483649", kUnchanged},
        {u"99999999999999999999999", kUnchanged},
        {u"", kUnchanged},
        {u" ", kUnchanged},
        {u"-", kUnchanged},
        {u"12a", kUnchanged},
        {u"1 2", kUnchanged},
        {u"0x10", kUnchanged},
        {u"\u0661", kUnchanged},  // an Arabic-Indic digit is no ASCII digit
    };
    for (const auto& c : cases) {
        std::int32_t value = kUnchanged;
        EXPECT_EQ(ParseWholeNumber(c.text, value), c.value != kUnchanged);
        EXPECT_EQ(value, c.value) << String(c.text).size();
    }
}

TEST(WholeNumber, DecimalText) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(132), u"132");
    EXPECT_EQ(DecimalText(-40), u"-40");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

}  // namespace
}  // namespace nimbrel
