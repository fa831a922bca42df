// Line splitting, quote levels, the prefix table and the character classes.
#include "reformat/QuoteFormatter.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

QuoteFormatter Formatter(std::int32_t compressed = 1, std::int32_t standardized = 1) {
    return QuoteFormatter(72, u'>', compressed, standardized);
}

std::vector<std::string> LineTexts(const QuoteFormatter& f) {
    std::vector<std::string> texts;
    for (const QuoteLine& line : f.lines)
        texts.push_back(Utf8(line.text));
    return texts;
}

TEST(QuoteFormatter, SplitLines) {
    for (const std::vector<String>& c : LoadTable("split_lines")) {
        QuoteFormatter f = Formatter();
        f.SplitLines(c.at(0));
        std::vector<std::string> expected;
        for (std::size_t i = 1; i < c.size(); ++i)
            expected.push_back(Utf8(c[i]));
        EXPECT_EQ(LineTexts(f), expected) << Utf8(c[0]);
        for (const QuoteLine& line : f.lines)
            EXPECT_EQ(line.level, 0);
    }
}

TEST(QuoteFormatter, GetQuoteLevel) {
    for (const std::vector<String>& c : LoadTable("quote_level")) {
        QuoteFormatter f = Formatter();
        f.addLevel = static_cast<std::uint8_t>(ToInt(c.at(0)));
        std::int32_t level = -7;
        std::int32_t end = -7;
        f.GetQuoteLevel(c.at(1), level, end);
        EXPECT_EQ(level, ToInt(c.at(2))) << '"' << Utf8(c[1]) << "\" addLevel " << Utf8(c[0]);
        EXPECT_EQ(end, ToInt(c.at(3))) << '"' << Utf8(c[1]) << "\" addLevel " << Utf8(c[0]);
    }
}

TEST(QuoteFormatter, AnalyzeLinesStripsPrefixes) {
    QuoteFormatter f = Formatter(0, 0);
    f.SplitLines(u"head\r\n> a b\r\n> > c\r\n>\r\nJD> d e");
    f.AnalyzeLines(1, -1, -1);
    ASSERT_EQ(f.lines.size(), 5u);
    const struct {
        const char* text;
        std::int32_t level, prefixLength;
        const char* prefix;
    } expected[] = {
        {"head", 0, 0, nullptr}, {"a b", 1, 2, "> "},   {"c", 2, 4, "> > "},
        {"", 1, 1, ">"},         {"d e", 1, 4, "JD> "},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        const QuoteLine& line = f.lines[i];
        EXPECT_EQ(Utf8(line.text), expected[i].text) << i;
        EXPECT_EQ(line.level, expected[i].level) << i;
        EXPECT_EQ(line.prefixLength, expected[i].prefixLength) << i;
        if (expected[i].prefix) {
            EXPECT_EQ(Utf8(f.PrefixText(line.prefixIndex)), expected[i].prefix) << i;
        }
    }
}

TEST(QuoteFormatter, AnalyzeLinesWidths) {
    QuoteFormatter f = Formatter();
    f.SplitLines(
        u"an unquoted line of some length\r\n"                             // 31, level 0
        u"> quoted text\r\n"                                               // 13, level 1
        u"> > deeper quoted text here\r\n"                                 // 27, level 2
        u"> http://example.com/a/very/long/address/without/any/space\r\n"  // no space
        u"> > excluded line that is the longest of all the quoted lines\r\n"
        u">>>>>");
    f.AnalyzeLines(0, 4, 4);
    EXPECT_EQ(f.longestQuotedLine, 27);
    ASSERT_EQ(f.levelWidths.size(), 6u);  // grown to the deepest level met
    EXPECT_EQ(f.levelWidths[0], 31);
    EXPECT_EQ(f.levelWidths[1], 13);
    EXPECT_EQ(f.levelWidths[2], 27);
    EXPECT_EQ(f.levelWidths[5], 0);  // ">>>>>" has no text

    QuoteFormatter none = Formatter();
    none.SplitLines(u"> one-long-word\r\n\r\nplain");
    none.AnalyzeLines(0, -1, -1);
    EXPECT_EQ(none.longestQuotedLine, -1);
    EXPECT_EQ(none.levelWidths, (std::vector<std::int32_t>{0, 0}));
}

// The standard prefix table built the plain way: one entry per level, each
// made from the one before.
std::vector<String> ReferenceStandardTable(char16_t quoteChar, bool compressed, int depth) {
    std::vector<String> table;
    String entry;
    for (int level = 1; level <= depth; ++level) {
        if (compressed) {
            while (!entry.empty() && QuoteFormatter::IsWhiteSpace(entry.back()))
                entry.pop_back();
        }
        entry.push_back(quoteChar);
        entry.push_back(u' ');
        table.push_back(entry);
    }
    return table;
}

TEST(QuoteFormatter, StandardizedPrefixTable) {
    EXPECT_EQ(ReferenceStandardTable(u'>', true, 3), (std::vector<String>{u"> ", u">> ", u">>> "}));
    EXPECT_EQ(ReferenceStandardTable(u'>', false, 3),
              (std::vector<String>{u"> ", u"> > ", u"> > > "}));

    // Asked for in any order, every level reads as the full table would.
    const int levels[] = {3, 1, 40, 7, 40, 2, 39, 12};
    for (const char16_t quoteChar : {u'>', u'|', u'#', u' ', u'\t', u'\0'}) {
        for (const int compressed : {0, 1}) {
            QuoteFormatter f(72, quoteChar, compressed, 1);
            const auto table = ReferenceStandardTable(quoteChar, compressed != 0, 40);
            for (const int level : levels) {
                const std::int32_t index = f.GetPrefixIndex(level, u"ignored> ");
                EXPECT_EQ(index, level - 1);
                for (int l = 1; l <= level; ++l) {
                    EXPECT_EQ(f.PrefixText(l - 1), table[l - 1])
                        << "quoteChar " << int{quoteChar} << " compressed " << compressed
                        << " level " << l;
                }
            }
            EXPECT_EQ(f.PrefixText(40), u"");  // never handed out
            EXPECT_EQ(f.PrefixText(-1), u"");
        }
    }
}

TEST(QuoteFormatter, OwnPrefixTable) {
    for (const std::vector<String>& c : LoadTable("own_prefix")) {
        QuoteFormatter f(72, u'>', ToInt(c.at(1)), 0);
        f.addLevel = static_cast<std::uint8_t>(ToInt(c.at(0)));
        f.GetPrefixIndex(1, u"> ");  // an earlier line's entry
        const std::int32_t index = f.GetPrefixIndex(ToInt(c.at(2)), c.at(3));
        EXPECT_EQ(index, 1);
        EXPECT_EQ(f.PrefixText(index), c.at(4)) << Utf8(c[3]);
        EXPECT_EQ(f.PrefixText(2), u"");
    }
}

TEST(QuoteFormatter, StandardizedPrefixIgnoresTheLinesOwn) {
    QuoteFormatter f = Formatter(1, 1);
    f.SplitLines(u"|> : text\r\nAB> x");
    f.AnalyzeLines(0, -1, -1);
    EXPECT_EQ(f.PrefixText(f.lines[0].prefixIndex), u">>> ");
    EXPECT_EQ(f.PrefixText(f.lines[1].prefixIndex), u"> ");
}

TEST(QuoteFormatter, DropTrailingEmptyLines) {
    QuoteFormatter f = Formatter();
    f.SplitLines(u"> a\r\n>\r\n\r\nb\r\n>\r\n> >\r\n\r\n");
    f.AnalyzeLines(0, -1, -1);
    f.DropTrailingEmptyLines();
    EXPECT_EQ(LineTexts(f), (std::vector<std::string>{"a", "", "", "b"}));

    QuoteFormatter empty = Formatter();
    empty.SplitLines(u">\r\n");
    empty.AnalyzeLines(0, -1, -1);
    empty.DropTrailingEmptyLines();
    EXPECT_TRUE(empty.lines.empty());
}

TEST(QuoteFormatter, SmallHelpers) {
    EXPECT_TRUE(QuoteFormatter::IsBlankQuoteLine(u""));
    EXPECT_TRUE(QuoteFormatter::IsBlankQuoteLine(u"> :| >"));
    EXPECT_FALSE(QuoteFormatter::IsBlankQuoteLine(u"> x"));
    EXPECT_FALSE(QuoteFormatter::IsBlankQuoteLine(u">\t"));

    EXPECT_EQ(QuoteFormatter::FirstWord(u"first word"), u"first");
    EXPECT_EQ(QuoteFormatter::FirstWord(u"single"), u"single");
    EXPECT_EQ(QuoteFormatter::FirstWord(u" lead"), u"");
    EXPECT_EQ(QuoteFormatter::FirstWord(u"tab\tword x"), u"tab\tword");
}

TEST(QuoteFormatter, CharacterClasses) {
    for (char16_t c : StringView(u">|:"))
        EXPECT_TRUE(QuoteFormatter::IsQuoteChar(c));
    for (char16_t c : StringView(u"#} "))
        EXPECT_FALSE(QuoteFormatter::IsQuoteChar(c));

    for (char16_t c : StringView(u"azAZ09\u0080\u00E9\uFFFF"))
        EXPECT_TRUE(QuoteFormatter::IsWordChar(c));
    for (char16_t c : StringView(u"_-. \x7F"))
        EXPECT_FALSE(QuoteFormatter::IsWordChar(c));

    const char16_t initials[] = {u'?',   u'A',   u'Z',   0x00C0, 0x00D6, 0x00D8, 0x00DE,
                                 0x0100, 0x0130, 0x0136, 0x0139, 0x0147, 0x014A, 0x0176,
                                 0x0178, 0x0179, 0x017D, 0x0391, 0x03A9, 0x0400, 0x042F};
    for (char16_t c : initials)
        EXPECT_TRUE(QuoteFormatter::IsInitialChar(c)) << int{c};
    const char16_t notInitials[] = {u'a',   u'z',   u'@',   u'[',   0x00BF, 0x00D7, 0x00DF,
                                    0x00E0, 0x0101, 0x0131, 0x0137, 0x0138, 0x013A, 0x0148,
                                    0x0149, 0x014B, 0x0177, 0x017E, 0x017F, 0x0390, 0x03A2,
                                    0x03AA, 0x03B1, 0x03FF, 0x0430, 0x0440};
    for (char16_t c : notInitials)
        EXPECT_FALSE(QuoteFormatter::IsInitialChar(c)) << int{c};

    for (char16_t c : StringView(u" \t\r\n\v\f"))
        EXPECT_TRUE(QuoteFormatter::IsWhiteSpace(c));
    for (char16_t c : {u'\x1F', u'\xA0', u'\u3000', u'x'}) {
        EXPECT_FALSE(QuoteFormatter::IsWhiteSpace(c)) << int{c};
    }
}

}  // namespace
}  // namespace nimbrel
