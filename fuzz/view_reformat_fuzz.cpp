// The view reformat and the QuoteFormatter steps on arbitrary text.
// Input: byte 0 picks the wrap column, byte 1 the quote character, byte 2
// holds option bits, byte 3 the first line to analyse; the rest is UTF-16
// text (little-endian pairs of bytes). Both keep the properties of
// ReplyCheck.h (QuoteError) where the prefixes they write can be read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ReplyCheck.h"
#include "reformat/QuoteFormatter.h"
#include "reformat/ViewReformat.h"
#include "shell/Settings.h"

using namespace nimbrel;

namespace {

constexpr std::int32_t kColumns[] = {72, 60, 132, 20,      10,        3,        2,
                                     1,  0,  -1,  1000000, INT32_MAX, INT32_MIN};
constexpr char16_t kQuoteChars[] = {u'>', u'|', u':', u'#', u' ', u'\t', u'\0', 0x263A};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckQuote(const String& in, const String& out, const fuzz::QuoteRules& rules) {
    const std::string error =
        fuzz::QuoteError(fuzz::SplitAtLineFeeds(in), fuzz::SplitAtLineFeeds(out), rules);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        __builtin_trap();
    }
}

String Joined(const std::vector<QuoteLine>& lines, std::size_t count) {
    String out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) out.push_back(u'\n');
        out += lines[i].text;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::int32_t column = kColumns[data[0] % std::size(kColumns)];
    const char16_t quoteChar = kQuoteChars[data[1] % std::size(kQuoteChars)];
    const std::uint8_t bits = data[2];
    const std::int32_t first = data[3] % 4;
    String text;
    for (std::size_t i = 4; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }

    Settings options = Settings::Defaults();
    options.wrapColumn = column;
    options.quoteChar = quoteChar;
    options.compressedIndentation = bits & 1;
    options.standardizedIndentation = (bits >> 1) & 1;
    options.reformatArbitraryLength = (bits >> 2) & 1;
    String viewed = text;
    ViewReformat(options, viewed);
    // Rendered to a sink in pieces, the same text.
    String rendered;
    StringSink sink(rendered);
    ViewReformat(options, String(text), sink);
    Check(rendered == viewed);
    const bool readable =
        QuoteFormatter::IsQuoteChar(quoteChar) || !options.standardizedIndentation;
    if (readable) {
        fuzz::QuoteRules rules;
        rules.wrapColumn = options.reformatArbitraryLength ? 1000000 : column;
        rules.repaired = true;
        CheckQuote(text, viewed, rules);
    }

    // The steps one by one, with the knobs only the reply reformatter turns.
    QuoteFormatter f(column, quoteChar, bits & 1, (bits >> 1) & 1);
    f.addLevel = (bits >> 3) & 1;
    f.longUnquotedLines = (bits >> 4) & 1;
    f.SplitLines(text);
    const std::size_t lineCount = f.lines.size();
    for (const QuoteLine& line : f.lines) {
        std::int32_t level = 0;
        std::int32_t end = 0;
        f.GetQuoteLevel(line.text, level, end);
        Check(level >= f.addLevel && end >= 0 && static_cast<std::size_t>(end) <= line.text.size());
        Check(QuoteFormatter::FirstWord(line.text).size() <= line.text.size());
        QuoteFormatter::IsBlankQuoteLine(line.text);
    }
    const std::vector<QuoteLine> split(f.lines.begin(), f.lines.end());
    const bool excludeSome = (bits >> 5) & 1;
    f.AnalyzeLines(first, excludeSome ? 1 : -1, excludeSome ? 2 : -1);
    Check(f.lines.size() == lineCount);
    f.DropTrailingEmptyLines();
    const bool repair = (bits >> 6) & 1;
    if (repair) f.RepairOEWrapping();
    for (std::size_t i = 0; i < f.lines.size(); ++i) {
        f.IsParagraphStart(static_cast<std::int32_t>(i));
        if (f.lines[i].level != 0) f.PrefixText(f.lines[i].prefixIndex);
    }
    String out;
    f.Render(out);
    Check(f.Pending().empty());
    if (first == 0 &&
        (QuoteFormatter::IsQuoteChar(quoteChar) || (!f.standardized && !f.addLevel))) {
        fuzz::QuoteRules rules;
        rules.wrapColumn = column;
        rules.addLevel = f.addLevel != 0;
        rules.repaired = repair;
        CheckQuote(text, out, rules);
    }

    // Own prefixes, nothing added, repaired or wrapped: every line comes back
    // as it was split, without the lines at the end that held no text.
    if (!repair && !f.addLevel && !(bits & 1) && !((bits >> 1) & 1) && column == 1000000 &&
        first == 0) {
        Check(out == Joined(split, f.lines.size()));
    }
    return 0;
}
