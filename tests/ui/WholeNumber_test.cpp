#include "ui/WholeNumber.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(WholeNumber, ParsesWhatANumberFieldMayHold) {
    for (const std::vector<String>& c : LoadTable("whole_number")) {
        const bool refused = c.at(1) == u"refused";
        std::int32_t value = 4711;
        EXPECT_EQ(ParseWholeNumber(c.at(0), value), !refused) << Utf8(c[0]);
        EXPECT_EQ(value, refused ? 4711 : ToInt(c[1])) << Utf8(c[0]);
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
