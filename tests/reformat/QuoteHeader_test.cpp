#include "reformat/QuoteHeader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(QuoteHeader, ParseSender) {
    for (const std::vector<String>& c : LoadTable("sender")) {
        const bool refused = c.at(1) == u"refused";
        HeaderFields fields;
        fields.nameMissing = 1;
        EXPECT_EQ(ParseSender(c[0], fields), refused) << Utf8(c[0]);
        // Cleared on a refused text too.
        EXPECT_EQ(fields.nameMissing, refused ? 0 : ToInt(c.at(3))) << Utf8(c[0]);
        if (refused) continue;
        EXPECT_EQ(fields.name, c[1]) << Utf8(c[0]);
        EXPECT_EQ(fields.mail, c.at(2)) << Utf8(c[0]);
    }
}

TEST(QuoteHeader, BuildQuoteHeader) {
    for (const std::vector<String>& c : LoadTable("build_header")) {
        const HeaderFields fields{c.at(0), c.at(1), c.at(2), c.at(3),
                                  static_cast<std::uint8_t>(ToInt(c.at(4)))};
        EXPECT_EQ(BuildQuoteHeader(fields, ToInt(c.at(5)), c.at(6)), c.at(7))
            << "style " << Utf8(c[5]) << ", template " << Utf8(c[6]);
    }
}

TEST(QuoteHeader, TemplateTextStopsAtTheArray) {
    QuoteHeaderSetting setting{};
    std::fill(std::begin(setting.text), std::end(setting.text), u'x');
    EXPECT_EQ(TemplateText(setting).size(), static_cast<std::size_t>(kTemplateUnits));
    setting.text[3] = 0;
    EXPECT_EQ(TemplateText(setting), u"xxx");
}

}  // namespace
}  // namespace nimbrel
