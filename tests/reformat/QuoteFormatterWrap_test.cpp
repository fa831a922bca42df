// Re-wrapping, paragraph starts and the repair of broken quotes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// ---- Render against a plain version that copies the carried text at every break ----

class ReferenceRender {
  public:
    // Works on a copy of the lines (Render changes them), with the prefix
    // table of `formatter`.
    explicit ReferenceRender(const QuoteFormatter& formatter)
        : prefixes(formatter),
          f(formatter.wrapColumn, formatter.quoteChar, formatter.compressed,
            formatter.standardized) {
        f.lines = formatter.lines;
        f.levelWidths = formatter.levelWidths;
        f.longUnquotedLines = formatter.longUnquotedLines;
    }

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
            prefix = line.level != 0 ? String(prefixes.PrefixText(line.prefixIndex)) : String();
            previousLevel = line.level;
            if (pending.empty()) {
                out += Wrap(String(line.text), prefix);
            } else {
                const String w(QuoteFormatter::TakeLeadingWhitespace(line));
                out += Wrap(w + pending + String(line.text), prefix);
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

    const QuoteFormatter& prefixes;
    QuoteFormatter f;
    String pending;
};

TEST(QuoteFormatterWrap, RenderMatchesThePlainAlgorithm) {
    const char16_t* prefixes[] = {u"",   u"",   u"> ",   u"> ",   u"> > ", u">>",
                                  u"| ", u": ", u"JD> ", u">>> ", u">"};
    const char16_t* leads[] = {u"", u"", u"", u" ", u"  ", u"\t"};
    const char16_t* words[] = {
        u"a", u"bb", u"word", u"longerword", u"1.", u"12.", u"-", u"*", u":-)", u"Capital",
        u"\u00C4rger", u"http://example.com/a/very/long/path/that/fits/nowhere/at/all",
        // Longer than the stretch of the room that is read back first.
        u"http://example.com/an/even/longer/path/that/reaches/past/the/end/of/the/room/x"};
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
            StringView& built = f.lines[pick(f.lines.size())].text;
            built = f.StoreText(String(built) + u"\nheader a b c d e f g h i j k l m n o p");
        }
        const String expected = ReferenceRender(f).Run();
        String out;
        f.Render(out);
        ASSERT_EQ(Utf8(out), Utf8(expected)) << "round " << round << " input:\n" << Utf8(text);
    }
}

}  // namespace
}  // namespace nimbrel
