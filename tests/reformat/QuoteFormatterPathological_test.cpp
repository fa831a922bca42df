// Nasty inputs repeated until a quadratic loop or a table that grows with the
// square of the quote depth would not finish or not fit in memory. The tests
// assert on the output only; the benchmark measures speed.
#include <gtest/gtest.h>

#include <algorithm>

#include "reformat/QuoteFormatter.h"
#include "reformat/ViewReformat.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

// Compares long texts without printing megabytes on failure.
void ExpectSameText(StringView actual, StringView expected) {
    if (actual == expected) return;
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(diff.first - actual.begin());
    const std::size_t from = at < 40 ? 0 : at - 40;
    ADD_FAILURE() << "lengths " << actual.size() << " and " << expected.size()
                  << ", first difference at " << at << "\n  actual:   ..."
                  << Utf8(actual.substr(from, 80)) << "\n  expected: ..."
                  << Utf8(expected.substr(from, 80));
}

String View(Settings options, String text) {
    ViewReformat(options, text);
    return text;
}

Settings Wrapped72() {
    Settings options = Settings::Defaults();
    options.reformatArbitraryLength = 0;
    options.wrapColumn = 72;
    return options;
}

const String kFull = u"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed";

TEST(QuoteFormatterPathological, HundredThousandLinesRejoinedByRule1) {
    const String input = Repeat(u"> > " + kFull + u"\r\n> t\r\n", 50000);
    const String expected = Repeat(u">> " + kFull + u" t\n", 50000);
    ExpectSameText(View(Settings::Defaults(), input),
                   StringView(expected).substr(0, expected.size() - 1));
}

TEST(QuoteFormatterPathological, HundredThousandLinesRejoinedByRule2) {
    const String input = Repeat(u">>> a\r\n> b\r\n>> c\r\n", 33333) + u">>> end";
    const String expected = Repeat(u">>> a b c\n", 33333) + u">>> end";
    ExpectSameText(View(Settings::Defaults(), input), expected);
}

TEST(QuoteFormatterPathological, FiveMegabyteLineWithoutSpaces) {
    const String word(5'000'000, u'x');
    ExpectSameText(View(Wrapped72(), word), word);
    ExpectSameText(View(Wrapped72(), u"> " + word + u"\r\n> x y"), u"> " + word + u"\n> x y");
}

// 1,000,006 words of "abcd": 71,429 output lines of 14 words at column 72.
// The carried text gains a space at every break, so the last line of the
// unquoted paragraph ends with two of them where its column runs out.
TEST(QuoteFormatterPathological, FiveMegabyteLineOfWords) {
    constexpr std::size_t kLines = 71429;
    const String fourteen = Repeat(u"abcd ", 13) + u"abcd";
    const String text = Repeat(u"abcd ", 14 * kLines - 1) + u"abcd";

    const String lines = Repeat(fourteen + u"\n", kLines - 1);
    ExpectSameText(View(Wrapped72(), text), lines + fourteen + u"  ");

    const String quoted = Repeat(u"> " + fourteen + u"\n", kLines);
    ExpectSameText(View(Wrapped72(), u"> " + text),
                   StringView(quoted).substr(0, quoted.size() - 1));
}

TEST(QuoteFormatterPathological, HundredThousandSpacedQuoteCharactersOwnPrefix) {
    const String spaced = Repeat(u"> ", 100000);
    QuoteFormatter f(72, u'>', 1, 0);
    f.SplitLines(spaced + u"text");
    f.AnalyzeLines(0, -1, -1);
    ASSERT_EQ(f.lines.size(), 1u);
    EXPECT_EQ(f.lines[0].level, 100000);
    String out;
    f.Render(out);
    // Compressed: the space after the first quote character goes.
    ExpectSameText(out, String(u">").append(spaced, 2).append(u"text"));

    QuoteFormatter standard(72, u'>', 1, 1);
    standard.SplitLines(spaced + u"text");
    standard.AnalyzeLines(0, -1, -1);
    standard.Render(out);
    ExpectSameText(out, String(100000, u'>') + u" text");
}

TEST(QuoteFormatterPathological, IndentedContinuationsOfALongParagraph) {
    // Every line joins the carried text and brings indentation of its own,
    // which moves in front of the carried words each time.
    const String input =
        u"> " + Repeat(u"word ", 20000) + u"end\r\n" + Repeat(u">     more words here\r\n", 20000);
    const String out = View(Wrapped72(), input);
    std::size_t lines = 1;
    std::size_t words = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == u'\n') ++lines;
        if (out[i] != u' ' && out[i] != u'>' && out[i] != u'\n' &&
            (i == 0 || out[i - 1] == u' ' || out[i - 1] == u'>' || out[i - 1] == u'\n')) {
            ++words;
        }
    }
    EXPECT_EQ(words, 20000u + 1 + 3 * 20000u);
    EXPECT_GT(lines, 20000u);
    for (std::size_t start = 0; start < out.size();) {
        std::size_t end = out.find(u'\n', start);
        if (end == String::npos) end = out.size();
        ASSERT_LE(end - start, 72u) << "line at " << start;
        start = end + 1;
    }
}

}  // namespace
}  // namespace nimbrel
