#include "coloring/TextToHtml.h"

#include <gtest/gtest.h>

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

struct GetWordCase {
    const char16_t* text;
    std::size_t pos;
    bool back;
    const char16_t* word;
    std::size_t end;
    std::size_t newPos;
    bool endedByLineFeed;
};

TEST(GetWord, FindsWordEndAndDecodesEntities) {
    const GetWordCase cases[] = {
        {u"abc def", 0, false, u"abc", 3, 0, false},
        {u"abc def", 4, false, u"def", 7, 4, false},
        {u"abc\ndef", 1, false, u"bc", 3, 1, true},
        {u"abc\ndef", 1, true, u"abc", 3, 0, true},
        {u"x a&lt;b&gt;c&amp;d y", 2, false, u"a<b>c&d", 19, 2, false},
        {u"&amp;lt; z", 0, false, u"&lt;", 8, 0, false},
        {u"ab  cd", 2, false, u"", 2, 2, false},  // at a space: empty word
        {u"ab", 5, false, u"", 2, 5, false},      // past the end
        {u"ab", 2, true, u"ab", 2, 0, false},     // at the end, moved back
        {u"", 0, true, u"", 0, 0, false},
        {u"one two@x.y three", 7, true, u"two@x.y", 11, 4, false},
    };
    for (const GetWordCase& c : cases) {
        std::size_t pos = c.pos;
        std::size_t end = 99;
        bool lf = true;
        const String word = GetWord(c.text, pos, end, c.back, &lf);
        EXPECT_EQ(word, c.word) << Utf8(c.text);
        EXPECT_EQ(end, c.end) << Utf8(c.text);
        EXPECT_EQ(pos, c.newPos) << Utf8(c.text);
        EXPECT_EQ(lf, c.endedByLineFeed) << Utf8(c.text);
    }
}

TEST(SplitDelimiters, CutsRunsAtBothEnds) {
    struct Case {
        const char16_t* word;
        bool trailingOnly;
        const char16_t* core;
        const char16_t* leading;
        const char16_t* trailing;
    };
    const Case cases[] = {
        {u"(<jo@x.com>),", false, u"jo@x.com", u"(<", u">),"},
        {u"(<jo@x.com>),", true, u"(<jo@x.com", u"", u">),"},
        {u"http://a/b/", true, u"http://a/b/", u"", u""},
        {u".,;", false, u"", u"", u".,;"},
        {u"", false, u"", u"", u""},
        {u"a_b%c$~@/", false, u"a_b%c$~@/", u"", u""},  // none of these is a delimiter
    };
    for (const Case& c : cases) {
        String word = c.word;
        String leading = u"old";
        String trailing = u"old";
        SplitDelimiters(word, leading, trailing, c.trailingOnly);
        EXPECT_EQ(word, c.core) << Utf8(c.word);
        EXPECT_EQ(leading, c.leading) << Utf8(c.word);
        EXPECT_EQ(trailing, c.trailing) << Utf8(c.word);
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

String Repeat(StringView piece, std::size_t times) {
    String text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
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
