// Line splitting, quote levels, the prefix table, the character classes and
// the line list.
#include "reformat/QuoteFormatter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "reformat/LineList.h"
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
    for (const std::vector<String>& c : LoadTable("analyze_lines")) {
        QuoteFormatter f = Formatter(ToInt(c.at(0)), ToInt(c.at(1)));
        f.SplitLines(c.at(4));
        f.AnalyzeLines(ToInt(c.at(2)), -1, -1);
        if (ToInt(c.at(3)) != 0) f.DropTrailingEmptyLines();
        std::vector<String> lines;
        for (const QuoteLine& line : f.lines) {
            lines.push_back(
                Utf16(std::to_string(line.level) + ":" + std::to_string(line.prefixLength) + ":") +
                (line.level != 0 ? String(f.PrefixText(line.prefixIndex)) : String()) + u":" +
                String(line.text));
        }
        EXPECT_EQ(lines, std::vector<String>(c.begin() + 5, c.end())) << Utf8(c[4]);
    }
}

// Each level's standardized prefix, whatever levels were asked for before
// and in whatever order: one quote character and a space per level, or,
// compressed, the quote characters and one space (a white-space quote
// character is trimmed away before each level is added).
TEST(QuoteFormatter, StandardizedPrefixTable) {
    const struct {
        char16_t quoteChar;
        std::int32_t compressed;
        String (*prefix)(int level);
    } cases[] = {
        {u'>', 1, [](int l) { return String(static_cast<std::size_t>(l), u'>') + u" "; }},
        {u'>', 0, [](int l) { return Repeat(u"> ", static_cast<std::size_t>(l)); }},
        {u'|', 1, [](int l) { return String(static_cast<std::size_t>(l), u'|') + u" "; }},
        {u'\0', 1, [](int l) { return String(static_cast<std::size_t>(l), u'\0') + u" "; }},
        {u' ', 1, [](int) { return String(u"  "); }},
        {u' ', 0, [](int l) { return Repeat(u"  ", static_cast<std::size_t>(l)); }},
        {u'\t', 1, [](int) { return String(u"\t "); }},
    };
    const int levels[] = {3, 1, 40, 7, 40, 2, 39, 12};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "quoteChar " << int{c.quoteChar} << " compressed " << c.compressed);
        QuoteFormatter f(72, c.quoteChar, c.compressed, 1);
        for (const int level : levels) {
            EXPECT_EQ(f.GetPrefixIndex(level, u"ignored> "), level - 1);
            for (int l = 1; l <= level; ++l)
                EXPECT_EQ(f.PrefixText(l - 1), c.prefix(l)) << "level " << l;
        }
        EXPECT_EQ(f.PrefixText(40), u"");  // never handed out
        EXPECT_EQ(f.PrefixText(-1), u"");
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

TEST(QuoteFormatter, Helpers) {
    for (const std::vector<String>& c : LoadTable("quote_helpers")) {
        const std::string kind = Utf8(c.at(0));
        SCOPED_TRACE(kind + " \"" + Utf8(c.at(1)) + "\"");
        if (kind == "blank") {
            EXPECT_EQ(QuoteFormatter::IsBlankQuoteLine(c[1]), c.at(2) == u"1");
        } else if (kind == "first") {
            EXPECT_EQ(QuoteFormatter::FirstWord(c[1]), c.at(2));
        } else if (kind == "lead") {
            QuoteLine line{c[1], 1, 2, 0};
            EXPECT_EQ(QuoteFormatter::TakeLeadingWhitespace(line), c.at(2));
            EXPECT_EQ(line.text, c.at(3));
        } else {
            bool (*const is)(char16_t) = kind == "quote"     ? QuoteFormatter::IsQuoteChar
                                         : kind == "word"    ? QuoteFormatter::IsWordChar
                                         : kind == "initial" ? QuoteFormatter::IsInitialChar
                                                             : QuoteFormatter::IsWhiteSpace;
            for (const char16_t unit : c[1])
                EXPECT_EQ(is(unit), c.at(2) == u"1") << int{unit};
        }
    }
}

// The line list against a plain vector: the same random erases and inserts,
// at the front, the back and in between, give the same lines.
std::vector<std::int32_t> Levels(const LineList& lines) {
    std::vector<std::int32_t> levels;
    for (const QuoteLine& line : lines)
        levels.push_back(line.level);
    return levels;
}

TEST(LineList, EditsLikeAVector) {
    std::mt19937 random(11);
    for (std::size_t room : {0u, 4u}) {
        LineList lines;
        lines.Reset(room);
        std::vector<std::int32_t> model;
        std::int32_t next = 0;
        for (int step = 0; step < 3000; ++step) {
            SCOPED_TRACE(testing::Message() << "room " << room << ", step " << step);
            const auto size = static_cast<std::ptrdiff_t>(model.size());
            // Positions near the front are drawn as often as any other.
            const std::ptrdiff_t at = random() % 2 == 0 ? random() % 3 : random() % (size + 1);
            const std::ptrdiff_t position = std::min(at, size);
            const auto count = static_cast<std::ptrdiff_t>(random() % 4);
            switch (random() % 4) {
                case 0: {
                    const std::ptrdiff_t last = std::min(position + count, size);
                    const auto it = lines.erase(lines.begin() + position, lines.begin() + last);
                    model.erase(model.begin() + position, model.begin() + last);
                    EXPECT_EQ(it - lines.begin(), position);
                    break;
                }
                case 1: {
                    const auto it =
                        lines.insert(lines.begin() + position, static_cast<std::size_t>(count),
                                     QuoteLine{u"", next});
                    model.insert(model.begin() + position, static_cast<std::size_t>(count), next++);
                    EXPECT_EQ(it - lines.begin(), position);
                    break;
                }
                case 2: {
                    // A stretch of the list's own lines, put back at the end.
                    const std::ptrdiff_t last = std::min(position + count, size);
                    lines.insert(lines.end(), lines.begin() + position, lines.begin() + last);
                    const std::vector<std::int32_t> copied(model.begin() + position,
                                                           model.begin() + last);
                    model.insert(model.end(), copied.begin(), copied.end());
                    break;
                }
                default:
                    lines.push_back(QuoteLine{u"", next});
                    model.push_back(next++);
                    break;
            }
            ASSERT_EQ(Levels(lines), model);
            ASSERT_EQ(lines.size(), model.size());
        }
    }
}

}  // namespace
}  // namespace nimbrel
