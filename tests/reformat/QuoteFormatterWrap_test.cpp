// Re-wrapping, paragraph starts and the repair of broken quotes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz/ReplyCheck.h"
#include "reformat/QuoteFormatter.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(QuoteFormatterWrap, WrapPiece) {
    for (const std::vector<String>& c : LoadTable("wrap_piece")) {
        QuoteFormatter f(ToInt(c.at(0)), u'>', 1, 1);
        EXPECT_EQ(Utf8(f.WrapPiece(c.at(2), c[1])), Utf8(c.at(3))) << Utf8(c[2]);
        EXPECT_EQ(Utf8(f.Pending()), Utf8(c.at(4))) << Utf8(c[2]);
    }
}

TEST(QuoteFormatterWrap, IsParagraphStart) {
    for (const std::vector<String>& c : LoadTable("paragraph_start")) {
        QuoteFormatter f(72, u'>', 1, 1);
        f.levelWidths = {72, 72, 72};
        for (std::size_t i = 2; i < c.size(); ++i) {
            const std::size_t space = c[i].find(u' ', 2);
            f.lines.push_back(QuoteLine{StringView(c[i]).substr(space + 1),
                                        ToInt(c[i].substr(0, 1)), ToInt(c[i].substr(2, space - 2)),
                                        0});
        }
        EXPECT_EQ(f.IsParagraphStart(ToInt(c.at(0))), ToInt(c.at(1)) != 0)
            << "line " << Utf8(c[0]) << " of " << Utf8(c.back());
    }
}

TEST(QuoteFormatterWrap, IsParagraphStartWithoutWidthForTheLevel) {
    QuoteFormatter f(72, u'>', 1, 1);
    f.levelWidths = {72};
    f.lines = {QuoteLine{u"a", 3, 3, 0}, QuoteLine{u"word", 3, 3, 0}};
    EXPECT_FALSE(f.IsParagraphStart(1));  // width 0: always a continuation
}

TEST(QuoteFormatterWrap, Render) {
    for (const std::vector<String>& c : LoadTable("render")) {
        QuoteFormatter f(ToInt(c.at(1)), u'>', 1, 1);
        f.longUnquotedLines = static_cast<std::uint8_t>(ToInt(c.at(2)));
        f.SplitLines(c.at(3));
        f.AnalyzeLines(0, -1, -1);
        f.DropTrailingEmptyLines();
        String out = u"stale";
        f.Render(out);
        EXPECT_EQ(Utf8(out), Utf8(c.at(4))) << Utf8(c[0]);
    }
}

TEST(QuoteFormatterWrap, RepairOEWrapping) {
    for (const std::vector<String>& c : LoadTable("repair")) {
        QuoteFormatter f(72, u'>', 1, 1);
        f.SplitLines(c.at(1));
        f.AnalyzeLines(0, -1, -1);
        f.DropTrailingEmptyLines();
        f.RepairOEWrapping();
        std::vector<std::string> got;
        for (const QuoteLine& line : f.lines)
            got.push_back(std::to_string(line.level) + ":" + Utf8(line.text));
        std::vector<std::string> expected;
        for (std::size_t i = 2; i < c.size(); ++i)
            expected.push_back(Utf8(c[i]));
        EXPECT_EQ(got, expected) << Utf8(c[0]);
    }
}

// ---- Random texts: what Render must keep (fuzz/ReplyCheck.h) ----

TEST(QuoteFormatterWrap, RenderKeepsWordsLevelsAndColumn) {
    const char16_t* prefixes[] = {u"",   u"",   u"> ",   u"> ",   u"> > ", u">>",
                                  u"| ", u": ", u"JD> ", u">>> ", u">",    u" JD> "};
    const char16_t* leads[] = {u"", u"", u"", u" ", u"  ", u"\t", u" > "};
    const char16_t* words[] = {
        u"a", u"bb", u"word", u"longerword", u"1.", u"12.", u"-", u"*", u":-)", u">", u"JD>", u":",
        u"?>", u"Capital", u"\u00C4rger",
        u"http://example.com/a/very/long/path/that/fits/nowhere/at/all",
        // Longer than a stretch of 64 units.
        u"http://example.com/an/even/longer/path/that/reaches/past/the/end/of/the/room/x"};
    std::mt19937 rng(20240611);
    const auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    for (int round = 0; round < 600; ++round) {
        String text;
        const std::size_t lineCount = 1 + pick(25);
        for (std::size_t l = 0; l < lineCount; ++l) {
            if (l != 0) text += u"\r\n";
            text += prefixes[pick(std::size(prefixes))];
            text += leads[pick(std::size(leads))];
            const std::size_t wordCount = pick(4) == 0 ? 0 : pick(30);
            for (std::size_t w = 0; w < wordCount; ++w) {
                if (w != 0) text += pick(8) == 0 ? u"  " : u" ";
                text += words[pick(std::size(words))];
            }
        }
        const std::int32_t columns[] = {3, 10, 20, 40, 72, 1000000};
        QuoteFormatter f(columns[pick(std::size(columns))], u'>', std::int32_t(pick(2)),
                         std::int32_t(pick(2)));
        f.addLevel = static_cast<std::uint8_t>(pick(3) == 0);
        f.longUnquotedLines = static_cast<std::uint8_t>(pick(3) == 0);
        f.SplitLines(text);
        f.AnalyzeLines(0, -1, -1);
        f.DropTrailingEmptyLines();
        fuzz::QuoteRules rules;
        rules.wrapColumn = f.wrapColumn;
        rules.addLevel = f.addLevel != 0;
        rules.repaired = pick(2) == 0;
        if (rules.repaired) f.RepairOEWrapping();
        String out;
        f.Render(out);
        ASSERT_EQ(
            fuzz::QuoteError(fuzz::SplitAtLineFeeds(text), fuzz::SplitAtLineFeeds(out), rules), "")
            << "round " << round << ", column " << f.wrapColumn << ", input:\n"
            << Utf8(text) << "\noutput:\n"
            << Utf8(out);
    }
}

}  // namespace
}  // namespace nimbrel
