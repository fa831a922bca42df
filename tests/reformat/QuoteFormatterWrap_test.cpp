// Re-wrapping, paragraph starts and the repair of broken quotes.
#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "reformat/QuoteFormatter.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

const String kFull = u"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed";  // 60

String Repeat(char16_t c, std::size_t n) {
    return String(n, c);
}

TEST(QuoteFormatterWrap, WrapPiece) {
    const String a60 = Repeat(u'a', 60);
    const String a70 = Repeat(u'a', 70);
    const String a80 = Repeat(u'a', 80);
    const struct {
        std::int32_t wrapColumn;
        const char16_t* prefix;
        String text;
        String result;
        String pending;
    } cases[] = {
        // Room 70: broken at the last space among the first 70 units.
        {72, u"> ", a60 + u" bbbbbbbbb cccc", u"> " + a60, u"bbbbbbbbb cccc "},
        {72, u"> ", a70, u"> " + a70, u""},                    // fits exactly
        {72, u"> ", a70 + u" bbb", u"> " + a70, u"bbb "},      // first space just behind the room
        {72, u"> ", u" " + a80 + u" b", u">  " + a80, u"b "},  // a space at 0 is no break
        {72, u"> ", Repeat(u'x', 100), u"> " + Repeat(u'x', 100), u""},  // one long word
        {72, u"", a80 + u" x\ny", a80 + u" x\ny", u""},  // own line breaks: never wrapped
        {3, u"> ", u"aa bb", u"> aa bb", u""},           // room 1: unwrapped
        {0, u"", u"aa bb", u"aa bb", u""},
        {-5, u"", u"aa bb", u"aa bb", u""},
        {5, u"", u"aaa  bbb", u"aaa ", u"bbb "},  // spaces before the break stay
        {5, u"", u"aaaa \tbbb", u"aaaa", u"bbb "},
        {5, u"", u"aaaa      ", u"aaaa", u""},  // nothing but white space left
        {5, u"", u"", u"", u""},
    };
    for (const auto& c : cases) {
        QuoteFormatter f(c.wrapColumn, u'>', 1, 1);
        EXPECT_EQ(Utf8(f.WrapPiece(c.text, c.prefix)), Utf8(c.result)) << Utf8(c.text);
        EXPECT_EQ(Utf8(f.Pending()), Utf8(c.pending)) << Utf8(c.text);
    }
}

TEST(QuoteFormatterWrap, WrapPieceOfTheCarriedTextAddsASpaceEachTime) {
    QuoteFormatter f(5, u'>', 1, 1);
    EXPECT_EQ(f.WrapPiece(u"aa bbb ccc", u""), u"aa");
    EXPECT_EQ(f.Pending(), u"bbb ccc ");
    EXPECT_EQ(f.WrapPiece(f.Pending(), u""), u"bbb");
    EXPECT_EQ(f.Pending(), u"ccc  ");
    EXPECT_EQ(f.WrapPiece(f.Pending(), u""), u"ccc  ");
    EXPECT_EQ(f.Pending(), u"");
}

struct ParagraphCase {
    std::vector<std::tuple<std::int32_t, std::int32_t, const char16_t*>>
        lines;  // level, prefix, text
    std::int32_t i;
    bool start;
};

TEST(QuoteFormatterWrap, IsParagraphStart) {
    const String long62 = Repeat(u'x', 30) + u" " + Repeat(u'y', 31);
    const String long65 = long62 + u"zzz";
    const ParagraphCase cases[] = {
        {{{1, 2, u"aaa bbb"}, {1, 2, u"Next line"}}, 1, true},  // room was left for "Next"
        {{{1, 2, long62.c_str()}, {1, 2, u"Next"}}, 1, true},   // fit 69 < 72
        {{{1, 2, long65.c_str()}, {1, 2, u"Next"}}, 1, false},  // fit 72: wrapped there
        {{{2, 4, u"x"}, {1, 2, u"word"}}, 1, true},             // level change
        {{{1, 2, u"word"}}, 0, false},
        {{{1, 2, u"a"}, {1, 2, u"\u00DCber"}}, 1, true},  // non-ASCII letters are word characters
        {{{1, 2, u"a"}, {1, 2, u"2003 was a year"}}, 1, false},
        {{{0, 0, u"a"}, {0, 0, u"1. item"}}, 1, true},
        {{{0, 0, u"a"}, {0, 0, u"12. item"}}, 1, true},
        {{{0, 0, u"a"}, {0, 0, u"123. item"}}, 1, false},
        {{{0, 0, u"a"}, {0, 0, u"1."}}, 1, false},  // too short
        {{{0, 0, u"a"}, {0, 0, u"1.x"}}, 1, true},
        {{{0, 0, u"a"}, {0, 0, u"  3. indented"}}, 1, true},
        {{{0, 0, u"1. first"}}, 0, true},
        {{{0, 0, u"- a"}, {0, 0, u"- item"}}, 1, true},
        {{{0, 0, u"text"}, {0, 0, u"- item"}, {0, 0, u"-b"}}, 1, true},
        {{{0, 0, u"  - a"}, {0, 0, u" - item"}}, 1, true},
        {{{0, 0, u"text"}, {0, 0, u"- item"}, {0, 0, u"text"}}, 1, false},
        {{{0, 0, u"- a"}, {0, 0, u"* item"}}, 1, false},
        {{{0, 0, u"* a"}, {0, 0, u"* item"}}, 1, true},
        {{{0, 0, u"- a"}, {0, 0, u"-x"}}, 1, false},  // too short
        {{{0, 0, u"a"}, {0, 0, u"(see above)"}}, 1, false},
        {{{0, 0, u"a"}, {0, 0, u"_underlined_"}}, 1, false},
        {{{0, 0, u"a"}, {0, 0, u"  indented text"}}, 1, false},
        {{{0, 0, u"a"}, {0, 0, u""}}, 1, false},
        {{{0, 0, u"a"}}, 5, false},  // no such line
    };
    for (const ParagraphCase& c : cases) {
        QuoteFormatter f(72, u'>', 1, 1);
        f.levelWidths = {72, 72, 72};
        for (const auto& [level, prefixLength, text] : c.lines) {
            f.lines.push_back(QuoteLine{text, level, prefixLength, 0});
        }
        EXPECT_EQ(f.IsParagraphStart(c.i), c.start)
            << "line " << c.i << " of " << f.lines.size() << ", last \""
            << Utf8(f.lines.back().text) << '"';
    }
}

TEST(QuoteFormatterWrap, IsParagraphStartWithoutWidthForTheLevel) {
    QuoteFormatter f(72, u'>', 1, 1);
    f.levelWidths = {72};
    f.lines = {QuoteLine{u"a", 3, 3, 0}, QuoteLine{u"word", 3, 3, 0}};
    EXPECT_FALSE(f.IsParagraphStart(1));  // width 0: always a continuation
}

TEST(QuoteFormatterWrap, TakeLeadingWhitespace) {
    QuoteLine line{u" \t x y", 1, 2, 0};
    EXPECT_EQ(QuoteFormatter::TakeLeadingWhitespace(line), u" \t ");
    EXPECT_EQ(line.text, u"x y");
    EXPECT_EQ(QuoteFormatter::TakeLeadingWhitespace(line), u"");
    QuoteLine feed{u"\fx", 0, 0, 0};
    EXPECT_EQ(QuoteFormatter::TakeLeadingWhitespace(feed), u"");  // only spaces and tabs
}

struct RenderCase {
    const char* name;
    std::int32_t wrapColumn;
    std::uint8_t longUnquotedLines;
    String input;
    std::string output;
};

String RenderText(std::int32_t wrapColumn, std::uint8_t longUnquotedLines, StringView input) {
    QuoteFormatter f(wrapColumn, u'>', 1, 1);
    f.longUnquotedLines = longUnquotedLines;
    f.SplitLines(input);
    f.AnalyzeLines(0, -1, -1);
    f.DropTrailingEmptyLines();
    String out = u"stale";
    f.Render(out);
    return out;
}

TEST(QuoteFormatterWrap, Render) {
    const String a60 = Repeat(u'a', 60);
    const String overlong = u"> " + a60 + u" bbbbbbbbb cccc";  // 75 units of text
    const String overlongBreak = u"\r\n> dddd eeee";
    const String overlongThenBlank = overlong + u"\r\n>\r\n> next";
    const std::string a60Out = Utf8(a60);
    const String x30 = u"> " + Repeat(u'x', 30);
    const RenderCase cases[] = {
        {"overflow joins the continuing line", 72, 0, overlong + overlongBreak,
         "> " + a60Out + "\n> bbbbbbbbb cccc dddd eeee"},
        {"blank line writes the carried words first", 72, 0, overlongThenBlank,
         "> " + a60Out + "\n> bbbbbbbbb cccc \n> \n> next"},
        {"level change writes them with the old prefix", 20, 0,
         u">> one two three four five six\r\n> seven",
         ">> one two three\n>> four five six \n> seven"},
        {"one long word is not split", 20, 0, x30, Utf8(x30)},
        {"broken behind a long word", 20, 0, x30 + u" yy", Utf8(x30) + "\n> yy "},
        {"continuation joined", 20, 0, u"> aaa bbb ccc ddd eee fff\r\n> ggg",
         "> aaa bbb ccc ddd\n> eee fff ggg"},
        {"long unquoted lines are never joined", 20, 1, u"> aaa bbb ccc ddd eee fff\r\n> ggg",
         "> aaa bbb ccc ddd\n> eee fff \n> ggg"},
        {"indentation moves to the front", 20, 0, u"> aaa bbb ccc ddd eee fff\r\n>   ggg hhh",
         "> aaa bbb ccc ddd\n>   eee fff ggg hhh"},
        {"numbered item starts a paragraph", 20, 0, u"1. aaa bbb ccc ddd eee\r\n2. fff",
         "1. aaa bbb ccc ddd\neee \n2. fff"},
        {"word line after a short line starts a paragraph", 20, 0,
         u"aaa bbb ccc ddd eee fff ggg hhh iii kkk\r\njjj\r\nNew one",
         "aaa bbb ccc ddd eee\nfff ggg hhh iii kkk\njjj \nNew one"},
        // Each break of the carried text appends one more space.
        {"carried text broken repeatedly", 10, 0, u"aaa bbb ccc ddd eee fff ggg",
         "aaa bbb\nccc ddd\neee fff\nggg   "},
        {"continuation broken repeatedly", 10, 0, u"aaa bbb ccc ddd\r\neee fff ggg hhh",
         "aaa bbb\nccc ddd\neee fff\nggg hhh  "},
        {"nothing at all", 72, 0, u"\r\n>\r\n", ""},
        {"unquoted text untouched", 72, 0, u"Hi,\r\n\r\n  indented\r\nend",
         "Hi,\n\n  indented\nend"},
    };
    for (const RenderCase& c : cases) {
        EXPECT_EQ(Utf8(RenderText(c.wrapColumn, c.longUnquotedLines, c.input)), c.output) << c.name;
    }
}

struct RepairCase {
    const char* name;
    String input;
    std::vector<std::pair<std::int32_t, String>> lines;  // level, text after the repair
};

TEST(QuoteFormatterWrap, RepairOEWrapping) {
    const String full = u"> > " + kFull + u"\r\n";
    const String x70 = Repeat(u'x', 35) + u" " + Repeat(u'x', 34);
    const String f43 = Repeat(u'f', 20) + u" " + Repeat(u'f', 22);
    const String t30 = Repeat(u't', 15) + u" " + Repeat(u't', 14);
    const RepairCase cases[] = {
        {"rule 1 joins a tail before the same level",
         full + u"> tail end\r\n> > further text",
         {{2, kFull + u" tail end"}, {2, u"further text"}}},
        {"rule 1 joins a tail on the last line", full + u"> tail end", {{2, kFull + u" tail end"}}},
        {"rule 1 joins a tail before an empty line",
         full + u"> tail end\r\n\r\n> > more",
         {{2, kFull + u" tail end"}, {0, u""}, {2, u"more"}}},
        {"rule 1 classic unquoted tail",
         u"> " + kFull + u"\r\ntail\r\n> next",
         {{1, kFull + u" tail"}, {1, u"next"}}},
        {"rule 1 tail of 30 units", full + u"> " + t30, {{2, kFull + u" " + t30}}},
        {"rule 1 not before other text",
         full + u"> tail end\r\nreply text",
         {{2, kFull}, {1, u"tail end"}, {0, u"reply text"}}},
        {"rule 1 not a tail of 31 units", full + u"> " + t30 + u"t", {{2, kFull}, {1, t30 + u"t"}}},
        {"rule 1 not a tail starting with a space", full + u">  tail", {{2, kFull}, {1, u" tail"}}},
        {"rule 1 not after a short line",
         u"> > short line here\r\n> tail",
         {{2, u"short line here"}, {1, u"tail"}}},
        {"rule 1 not when a longer quoted line exists",
         full + u"> tail\r\n> > " + x70,
         {{2, kFull}, {1, u"tail"}, {2, x70}}},
        {"rule 1 not on the same level", u"> " + kFull + u"\r\n> tail", {{1, kFull}, {1, u"tail"}}},
        {"rule 1 not after an empty line", u"> >\r\n> tail", {{2, u""}, {1, u"tail"}}},
        {"rule 1 fit of exactly 50", u"> " + f43 + u"\r\ntail", {{1, f43 + u" tail"}}},
        {"rule 1 fit of 49",
         u"> " + f43.substr(1) + u"\r\ntail",
         {{1, f43.substr(1)}, {0, u"tail"}}},
        {"rule 1 alternating run",
         full + u"> t1\r\n" + full + u"> t2\r\n" + full,
         {{2, kFull + u" t1"}, {2, kFull + u" t2"}, {2, kFull}}},
        {"rule 2 line broken twice",
         u">>> aaa\r\n> bbb\r\n>> ccc\r\n>>> ddd",
         {{3, u"aaa bbb ccc"}, {3, u"ddd"}}},
        {"rule 2 not over a blank line",
         u">>> aaa\r\n>\r\n>> ccc\r\n>>> ddd",
         {{3, u"aaa"}, {1, u""}, {2, u"ccc"}, {3, u"ddd"}}},
        {"rule 2 not over a blank second line",
         u">>> aaa\r\n> bbb\r\n>>\r\n>>> ddd",
         {{3, u"aaa"}, {1, u"bbb"}, {2, u""}, {3, u"ddd"}}},
        {"rule 2 not to another level",
         u">>> aaa\r\n> bbb\r\n>> ccc\r\n>>>> ddd",
         {{3, u"aaa"}, {1, u"bbb"}, {2, u"ccc"}, {4, u"ddd"}}},
        {"single line", u"> x", {{1, u"x"}}},
    };
    for (const RepairCase& c : cases) {
        QuoteFormatter f(72, u'>', 1, 1);
        f.SplitLines(c.input);
        f.AnalyzeLines(0, -1, -1);
        f.DropTrailingEmptyLines();
        f.RepairOEWrapping();
        std::vector<std::pair<std::int32_t, String>> got;
        for (const QuoteLine& line : f.lines)
            got.emplace_back(line.level, line.text);
        EXPECT_EQ(got, c.lines) << c.name;
    }
}

// ---- Render against a plain version that copies the carried text at every break ----

class ReferenceRender {
  public:
    explicit ReferenceRender(QuoteFormatter formatter) : f(std::move(formatter)) {}

    String Run() {
        String out;
        pending.clear();
        String prefix;
        std::int32_t previousLevel = -1;
        for (std::size_t i = 0; i < f.lines.size(); ++i) {
            QuoteLine& line = f.lines[i];
            if (i != 0) out += u'\n';
            const bool flush = (i != 0 && line.level != previousLevel) ||
                               (i != 0 && line.text.empty()) ||
                               (f.longUnquotedLines && line.level == 1) ||
                               f.IsParagraphStart(static_cast<std::int32_t>(i));
            if (flush) {
                while (!pending.empty())
                    out += Wrap(pending, prefix) + u'\n';
            }
            prefix = line.level != 0 ? String(f.PrefixText(line.prefixIndex)) : String();
            previousLevel = line.level;
            if (pending.empty()) {
                out += Wrap(line.text, prefix);
            } else {
                const String w = QuoteFormatter::TakeLeadingWhitespace(line);
                out += Wrap(w + pending + line.text, prefix);
            }
        }
        while (!pending.empty())
            out += u'\n' + Wrap(pending, prefix);
        return out;
    }

  private:
    String Wrap(String text, const String& prefix) {
        const std::int64_t room = std::int64_t{f.wrapColumn} - std::int64_t(prefix.size());
        std::size_t s = String::npos;
        if (room > 1 && std::int64_t(text.size()) > room && text.find(u'\n') == String::npos) {
            s = text.substr(0, std::size_t(room)).rfind(u' ');
            if (s == String::npos || s == 0) s = text.find(u' ', std::size_t(room));
        }
        if (s == String::npos) {
            pending.clear();
            return prefix + text;
        }
        pending = text.substr(s) + u' ';
        std::size_t k = 0;
        while (k < pending.size() && QuoteFormatter::IsWhiteSpace(pending[k]))
            ++k;
        pending.erase(0, k);
        return prefix + text.substr(0, s);
    }

    QuoteFormatter f;
    String pending;
};

TEST(QuoteFormatterWrap, RenderMatchesThePlainAlgorithm) {
    const char16_t* prefixes[] = {u"",   u"",   u"> ",   u"> ",   u"> > ", u">>",
                                  u"| ", u": ", u"JD> ", u">>> ", u">"};
    const char16_t* leads[] = {u"", u"", u"", u" ", u"  ", u"\t"};
    const char16_t* words[] = {
        u"a",          u"bb",
        u"word",       u"longerword",
        u"1.",         u"12.",
        u"-",          u"*",
        u":-)",        u"Capital",
        u"\u00C4rger", u"http://example.com/a/very/long/path/that/fits/nowhere/at/all"};
    std::mt19937 rng(20240611);
    const auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    for (int round = 0; round < 400; ++round) {
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
        f.longUnquotedLines = static_cast<std::uint8_t>(pick(3) == 0);
        f.SplitLines(text);
        f.AnalyzeLines(0, -1, -1);
        f.DropTrailingEmptyLines();
        if (pick(2) == 0) f.RepairOEWrapping();
        if (!f.lines.empty() && pick(5) == 0) {
            f.lines[pick(f.lines.size())].text += u"\nheader a b c d e f g h i j k l m n o p";
        }
        const String expected = ReferenceRender(f).Run();
        String out;
        f.Render(out);
        ASSERT_EQ(Utf8(out), Utf8(expected)) << "round " << round << " input:\n" << Utf8(text);
    }
}

}  // namespace
}  // namespace nimbrel
