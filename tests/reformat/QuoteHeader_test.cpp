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

TEST(QuoteHeader, BuildQuoteHeaderStyles) {
    HeaderFields fields{u"Jane Doe", u"jane@example.com", u"Tue, 4 Mar 2003 14:05", u"x@y", 0};
    EXPECT_EQ(BuildQuoteHeader(fields, 0, u"%n"), u"");
    EXPECT_EQ(BuildQuoteHeader(fields, 1, u"%n"), u"Jane Doe wrote:");
    EXPECT_EQ(BuildQuoteHeader(fields, 2, u"%n"), u"Jane Doe <jane@example.com> wrote:");
    EXPECT_EQ(BuildQuoteHeader(fields, 3, u"%n"), u"");
    EXPECT_EQ(BuildQuoteHeader(fields, 5, u"%n"), u"");
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"On %t [GMT+1=CET],\\n%n <%m> wrote:\\n"),
              u"On Tue, 4 Mar 2003 14:05 [GMT+1=CET],\nJane Doe <jane@example.com> wrote:\n");
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"In news:%l,\\n%n <%m> typed:"),
              u"In news:x@y,\nJane Doe <jane@example.com> typed:");
    fields.nameMissing = 1;
    fields.name = fields.mail;
    EXPECT_EQ(BuildQuoteHeader(fields, 2, u""), u"jane@example.com wrote:");
}

TEST(QuoteHeader, TemplateValuesAreInsertedAsTheyStand) {
    // Filling the placeholders one after another would substitute inside
    // values that were already filled in.
    HeaderFields fields{u"5%more \\new %t", u"a%lb@x.org", u"12:00 %n", u"id%m", 0};
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"%n|%m|%t|%l"),
              u"5%more \\new %t|a%lb@x.org|12:00 %n|id%m");
    fields.name = u"nancy";
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"\\%n"), u"\\nancy");
    fields.name = u"";
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"%%nm"), u"%m");
    EXPECT_EQ(BuildQuoteHeader(fields, 4, u"100% %x %\\n\\"), u"100% %x %\n\\");
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
