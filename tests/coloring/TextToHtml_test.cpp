#include "coloring/TextToHtml.h"

#include <gtest/gtest.h>

#include <vector>

#include "coloring/HtmlEscape.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

class TextToHtmlGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(TextToHtmlGolden, MatchesExpected) {
    const GoldenCase& golden = GetParam();
    EXPECT_EQ(Utf8(TextToHtml(Utf16(golden.Section("input")))), golden.Section("expected"));
}

INSTANTIATE_TEST_SUITE_P(Links, TextToHtmlGolden,
                         testing::ValuesIn(LoadGoldenCases("coloring/links")), GoldenCaseName);

TEST(HtmlEscape, EscapesEachSpecialCharacterOnce) {
    EXPECT_EQ(EscapeText(u"a&b<c>d\"e&amp;"), u"a&amp;b&lt;c&gt;d\"e&amp;amp;");
    EXPECT_EQ(EscapeAttribute(u"a&b<c>d\"e"), u"a&amp;b&lt;c&gt;d&quot;e");
    EXPECT_EQ(EscapeText(u""), u"");
}

TEST(GetWord, FindsWordEndAndDecodesEntities) {
    for (const std::vector<String>& c : LoadTable("get_word")) {
        std::size_t pos = ToInt(c.at(1));
        std::size_t end = 99;
        bool lf = true;
        const String word = GetWord(c.at(0), pos, end, ToInt(c.at(2)) != 0, &lf);
        EXPECT_EQ(word, c.at(3)) << Utf8(c[0]);
        EXPECT_EQ(end, ToInt(c.at(4))) << Utf8(c[0]);
        EXPECT_EQ(pos, ToInt(c.at(5))) << Utf8(c[0]);
        EXPECT_EQ(lf, ToInt(c.at(6)) != 0) << Utf8(c[0]);
    }
}

TEST(SplitDelimiters, CutsRunsAtBothEnds) {
    for (const std::vector<String>& c : LoadTable("split_delimiters")) {
        String word = c.at(0);
        String leading = u"old";
        String trailing = u"old";
        SplitDelimiters(word, leading, trailing, ToInt(c.at(1)) != 0);
        EXPECT_EQ(word, c.at(2)) << Utf8(c[0]);
        EXPECT_EQ(leading, c.at(3)) << Utf8(c[0]);
        EXPECT_EQ(trailing, c.at(4)) << Utf8(c[0]);
    }
    for (char16_t c : StringView(u" ()[]<>.!?,&=+*-#'\"|:;{}"))
        EXPECT_TRUE(IsLinkDelimiter(c));
    EXPECT_FALSE(IsLinkDelimiter(u'/'));
    EXPECT_FALSE(IsLinkDelimiter(u'_'));
}

// The conversion as three replacements one after the other, the plain way.
String ReferenceLineBreaks(String text) {
    for (auto [what, with] : {std::pair<StringView, StringView>{u"\n ", u"\n&nbsp;"},
                              {u"  ", u" &nbsp;"},
                              {u"\n", u"<BR>"}}) {
        String out;
        std::size_t copied = 0;
        for (std::size_t f; (f = text.find(what, copied)) != String::npos; copied = f + what.size())
            out += text.substr(copied, f - copied) + String(with);
        text = out + text.substr(copied);
    }
    return text;
}

TEST(ConvertLineBreaksAndSpaces, SameAsThreeReplacementsInTurn) {
    // Every text of up to 8 characters from ' ', LF and 'a'.
    for (std::size_t length = 0; length <= 8; ++length) {
        std::size_t count = 1;
        for (std::size_t i = 0; i < length; ++i)
            count *= 3;
        for (std::size_t n = 0; n < count; ++n) {
            String text;
            for (std::size_t k = n, i = 0; i < length; ++i, k /= 3)
                text += u" \na"[k % 3];
            String converted = text;
            ConvertLineBreaksAndSpaces(converted);
            ASSERT_EQ(converted, ReferenceLineBreaks(text)) << Utf8(text);
        }
    }
}

// Handed in pieces of any size, the text gives TextToHtml's lines, each as
// soon as it is final: a wrapped address joins the lines it spans whatever
// the pieces, and a long text is converted a stretch at a time.
TEST(HtmlLineStream, AnyPiecesGiveTextToHtml) {
    const String address = u"http://example.com/" + String(60, u'a');
    const std::vector<String> texts = {
        u"",
        u"\n",
        u"a\n\n b  c\n",
        u"see " + address + u"\n/more/path :-) www.x.y\n" + address + u"\n" + String(70, u'b') +
            u"/\nme@x.y",
        address + u"\nno-address here\n" + address,
        Repeat(u"> q " + address + u"\n/tail  x &amp; y\n\n", 2000),
    };
    for (const String& text : texts) {
        for (const std::size_t piece :
             {std::size_t{1}, std::size_t{3}, std::size_t{64}, std::size_t{100000}}) {
            String html;
            bool ended = false;
            HtmlLineStream stream([&](StringView line, bool last) {
                EXPECT_FALSE(ended);
                html += line;
                if (!last) html += u"<BR>";
                ended = last;
            });
            for (std::size_t i = 0; i < text.size(); i += piece)
                stream.Append(StringView(text).substr(i, piece));
            stream.Finish();
            EXPECT_TRUE(ended);
            EXPECT_EQ(html, TextToHtml(text)) << "pieces of " << piece << ": " << Utf8(text);
        }
    }
}

// Pathological inputs: each would take hours with copying per insertion or a
// rescan per candidate; the test checks the output only.
TEST(TextToHtmlPathological, ManyLinks) {
    const String html =
        TextToHtml(Repeat(u"http://a.example/ www.b.example jo@c.example\n", 100000));
    EXPECT_EQ(html, Repeat(u"<A HREF=\"http://a.example/\">http://a.example/</A> "
                           u"<A HREF=\"http://www.b.example\">www.b.example</A> "
                           u"<A HREF=\"mailto:jo@c.example\">jo@c.example</A><BR>",
                           100000));
}

TEST(TextToHtmlPathological, LongWordsOfRefusedCandidates) {
    // One word each: many '@', many "www." that run into an anchor, many
    // colons after a bare scheme, many "news:" candidates.
    const String ats = Repeat(u"@", 1000000);
    EXPECT_EQ(TextToHtml(ats), ats);
    const String www = Repeat(u",www.", 200000) + u"\">x";
    EXPECT_EQ(TextToHtml(www), Repeat(u",www.", 200000) + u"\"&gt;x");
    const String colons = u"http://" + Repeat(u":", 1000000);
    EXPECT_EQ(TextToHtml(colons), colons);
    const String spaces = Repeat(u" ", 1000001);
    EXPECT_EQ(TextToHtml(spaces).size(), 500000 * 7 + 1);
}

}  // namespace
}  // namespace nimbrel
