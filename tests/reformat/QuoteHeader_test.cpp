#include "reformat/QuoteHeader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(QuoteHeader, ParseSender) {
    const struct {
        const char* text;
        bool fails;
        const char* name;
        const char* mail;
        bool nameMissing;
    } cases[] = {
        {R"( "Doe, John" <jd@example.org>)", false, "Doe, John", "jd@example.org", false},
        {" John Doe <jd@example.org>", false, "John Doe", "jd@example.org", false},
        {R"( "John Doe <jd@example.org>)", false, "John Doe", "jd@example.org", false},
        {" <jd@example.org>", false, "jd@example.org", "jd@example.org", true},
        {"<>", false, "", "", true},
        {R"("" <jd@example.org>)", false, "", "jd@example.org", false},
        {R"("Jane" <j@x.org> wrote in message news:a@b...)", false, "Jane", "j@x.org", false},
        {" John Doe", true, "", "", false},
        {" jd@example.org>", true, "", "", false},
        {" >jd@example.org<", true, "", "", false},
    };
    for (const auto& c : cases) {
        HeaderFields fields;
        fields.nameMissing = 1;
        EXPECT_EQ(ParseSender(Utf16(c.text), fields), c.fails) << c.text;
        EXPECT_EQ(fields.nameMissing, c.nameMissing ? 1 : 0) << c.text;
        if (c.fails) continue;
        EXPECT_EQ(Utf8(fields.name), c.name) << c.text;
        EXPECT_EQ(Utf8(fields.mail), c.mail) << c.text;
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
