// QuoteFormatter: the front and back half of the reformatting engine.
//
// One object serves one text: construct, SplitLines, (the reply reformatter's
// own steps), AnalyzeLines, DropTrailingEmptyLines, then RepairOEWrapping
// where wanted and Render. Input line breaks are CR LF; the rendered text has
// single LF breaks. Every position, length and column counts UTF-16 code
// units. Nothing here fails on content: every text yields at least one line.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/Text.h"

namespace nimbrel {

struct QuoteLine {
    String text;                   // whole line after SplitLines; without its prefix after AnalyzeLines
    std::int32_t level = 0;        // quote level; 0 for unquoted and not yet analysed lines
    std::int32_t prefixLength = 0; // code units the prefix took in the line as split
    std::int32_t prefixIndex = 0;  // index into the prefix table; meaningful only when level != 0
};

class QuoteFormatter {
public:
    QuoteFormatter(std::int32_t wrapColumn, char16_t quoteChar, std::int32_t compressed,
                   std::int32_t standardized);
    virtual ~QuoteFormatter();

    // Replaces `lines` by the lines of `text` (split at LF, a CR before the LF
    // dropped, trailing white space removed). N line breaks give N + 1 lines.
    void SplitLines(StringView text);

    // Quote level of one line (starting from addLevel) and where its text begins.
    void GetQuoteLevel(StringView text, std::int32_t& level, std::int32_t& end) const;

    // Analyses lines[first..]; lines in [excludedFirst, excludedLast] are left
    // out of the width statistics (-1, -1 excludes nothing).
    void AnalyzeLines(std::int32_t first, std::int32_t excludedFirst, std::int32_t excludedLast);

    // Index of the output prefix for a quoted line of `level` whose own
    // prefix was `linePrefix` (ignored when standardized).
    std::int32_t GetPrefixIndex(std::int32_t level, StringView linePrefix);

    void DropTrailingEmptyLines();

    // Rejoins quoted text that a mail client wrapped onto lines of a lower level.
    void RepairOEWrapping();

    // Builds the output text from `lines` into `out` (replacing it); LF breaks.
    void Render(String& out);

    // One output line (prefix included); the rest of `text` goes to `pending`.
    String WrapPiece(StringView text, StringView prefix);
    bool IsParagraphStart(std::int32_t i) const;
    static String TakeLeadingWhitespace(QuoteLine& line);

    // The prefix written in front of a quoted line (prefixes[prefixIndex]).
    StringView PrefixText(std::int32_t prefixIndex) const;

    static bool IsBlankQuoteLine(StringView text);
    static StringView FirstWord(StringView text);
    static bool IsQuoteChar(char16_t c);
    static bool IsWordChar(char16_t c);
    static bool IsDigitChar(char16_t c);
    // Upper-case letter or '?': ASCII A-Z plus a fixed table of non-ASCII
    // capitals, identical on every platform and in every locale.
    static bool IsInitialChar(char16_t c);
    // Space, tab, CR, LF, vertical tab and form feed.
    static bool IsWhiteSpace(char16_t c);

    std::uint8_t addLevel = 0;
    std::uint8_t longUnquotedLines = 0;
    std::int32_t wrapColumn;
    std::vector<QuoteLine> lines;
    char16_t quoteChar;
    std::int32_t compressed;
    std::int32_t longestQuotedLine = -1;
    std::vector<std::int32_t> levelWidths;
    std::int32_t standardized;

protected:
    void ScanQuotePrefix(StringView text, std::int32_t start, std::int32_t& level,
                         std::int32_t& end) const;
};

}  // namespace nimbrel
