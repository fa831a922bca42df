// QuoteFormatter: the front and back half of the reformatting engine.
//
// One object serves one text: construct, SplitLines, (the reply reformatter's
// own steps), AnalyzeLines, DropTrailingEmptyLines, then RepairOEWrapping
// where wanted and Render. Input line breaks are CR LF (a bare LF also ends a
// line); the rendered text has single LF breaks. Every position, length and
// column counts UTF-16 code units; texts must stay below 2^31 units. Nothing
// here fails on content: every text yields at least one line, and every step
// takes time and memory linear in the size of the text.
//
// Character classes (fixed, independent of locale and C runtime):
//   quote character  '>', '|', ':'
//   word character   A-Z, a-z, 0-9 and every code unit >= 0x80
//   digit            0-9
//   initial          '?', A-Z, and the capitals U+00C0-U+00DE except U+00D7,
//                    the capitals of Latin Extended-A (U+0100-U+017E),
//                    Greek U+0391-U+03A9 (U+03A2 is unassigned) and
//                    Cyrillic U+0400-U+042F
//   white space      space, tab, CR, LF, vertical tab, form feed
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "reformat/LineList.h"
#include "reformat/TextSink.h"
#include "shell/Text.h"

namespace nimbrel {

class QuoteFormatter {
  public:
    QuoteFormatter(std::int32_t wrapColumn, char16_t quoteChar, std::int32_t compressed,
                   std::int32_t standardized);
    virtual ~QuoteFormatter();
    // The lines refer to texts the object keeps: a copy would refer to the
    // original's. Moving keeps them valid.
    QuoteFormatter(const QuoteFormatter&) = delete;
    QuoteFormatter& operator=(const QuoteFormatter&) = delete;
    QuoteFormatter(QuoteFormatter&&) = default;
    QuoteFormatter& operator=(QuoteFormatter&&) = default;

    // Replaces `lines` by the lines of `text`: split at every LF, trailing
    // white space (a CR before the LF included) removed, level 0. N line
    // breaks give N + 1 lines, so "a\r\nb\r\n" gives "a", "b" and "".
    // The object keeps `text` (pass it with std::move to save a copy) and
    // the lines refer into it.
    void SplitLines(String text);

    // SplitLines followed by AnalyzeLines(0, -1, -1), in one pass over the
    // text: each line is analysed while it is still in the cache.
    void SplitAndAnalyzeLines(String text);

    // Gives the text of the last SplitLines back, unchanged, and empties
    // `lines` (which referred into it).
    String TakeBackText();

    // Keeps `text` for the life of the object and returns a view of it: the
    // way to give a line a text that is not part of the split text.
    StringView StoreText(String text);

    // Quote level of one line (counting from addLevel) and the position where
    // its text begins. Examples with addLevel 0:
    //   "> > text" -> 2, 4     ">>text" -> 2, 2       "|: text" -> 2, 3
    //   "JD> text" -> 1, 4     ":-) text" -> 0, 0     "> :-)" -> 1, 2
    //   "ABCD> text" -> 0, 0   "  > text" -> 0, 0     "> >  text" -> 2, 4
    //   "JD> AB> text" -> 2, 8 (each writer's initials count, as quoted
    //   again behind another prefix they would be read)
    void GetQuoteLevel(StringView text, std::int32_t& level, std::int32_t& end) const;

    // Analyses lines[first..]: strips each line's prefix into level,
    // prefixLength and prefixIndex and gathers longestQuotedLine and
    // levelWidths. Lines in [excludedFirst, excludedLast] are left out of the
    // width statistics (-1, -1 excludes nothing).
    void AnalyzeLines(std::int32_t first, std::int32_t excludedFirst, std::int32_t excludedLast);
    // The same for lines[i] alone; `counted` when it takes part in the width
    // statistics.
    void AnalyzeLine(std::size_t i, bool counted);

    // Index of the output prefix for a quoted line of `level` whose own prefix
    // was `linePrefix`.
    // Standardized: the index is level - 1 and `linePrefix` is ignored; the
    // prefix is quoteChar and a space per level ("> > > ") or, compressed,
    // quoteChar per level and one space (">>> ").
    // Otherwise every call adds an entry of its own: with addLevel set,
    // quoteChar and a space, then `linePrefix` for levels above 1 ("> > ");
    // without addLevel, `linePrefix` itself. Compressed, the spaces after the
    // entry's first unit are dropped from level 2 on (">> ", "> > > " becomes
    // ">> > ", ">" and " JD> " give ">JD> "), unless a prefix that read as its
    // level would then read otherwise (":" before "?>").
    std::int32_t GetPrefixIndex(std::int32_t level, StringView linePrefix);

    // The prefix written in front of a quoted line; empty for an index that
    // GetPrefixIndex never handed out.
    StringView PrefixText(std::int32_t prefixIndex) const;

    // Removes the empty lines at the end (after AnalyzeLines a line that held
    // only a prefix is empty too).
    void DropTrailingEmptyLines();

    // Rejoins quoted text that a mail client wrapped onto lines of a lower
    // level: a short tail that fell back one or more levels behind a full line
    // (rule 1), and a line broken twice (rule 2). Edits `lines` in place.
    void RepairOEWrapping();

    // Builds the output text from `lines` into `out` (replacing it), LF
    // breaks. Quoted lines get their prefix; a line longer than wrapColumn is
    // broken at a space and the overflow is carried into the next line when
    // that line continues the paragraph, or written on lines of its own
    // otherwise. A single word longer than the room is never split, and no
    // line is broken where the carried text would begin with what reads as
    // more quote prefix ("a > b" is not broken before the "> b").
    void Render(String& out);
    // The same, written to `out` in pieces of some thousands of units.
    void Render(TextSink& out);

    // One output line (prefix included, no line break); the rest of `text`,
    // if any, becomes the carried text (Pending()), which then ends with a
    // space. `text` may be Pending() itself.
    String WrapPiece(StringView text, StringView prefix);
    // The text carried from the last output line; empty when nothing is carried.
    StringView Pending() const;

    // True when carried text must be written out before line i instead of
    // being joined to it: a word line that the previous line had room for,
    // a numbered item ("1.", "12."), or a bullet ("-", "*") next to another.
    bool IsParagraphStart(std::int32_t i) const;
    // Removes the spaces and tabs at the start of the line's text and returns
    // them (a view of the line's own characters).
    static StringView TakeLeadingWhitespace(QuoteLine& line);

    // Position of the first LF in `text` at or after `from`; npos when none.
    static std::size_t FindLineFeed(StringView text, std::size_t from);
    static std::size_t CountLineFeeds(StringView text);
    // Asks for the start of the text of lines[i + kPrefetchDistance], if
    // there is one, to be brought into the cache. The passes over all lines
    // call it: on a long text the line starts are no longer cached from the
    // split, and waiting for each of them in turn is most of such a pass.
    void PrefetchAhead(std::size_t i) const {
        constexpr std::size_t kPrefetchDistance = 16;
#if defined(__GNUC__)
        if (i + kPrefetchDistance < lines.size())
            __builtin_prefetch(lines[i + kPrefetchDistance].text.data());
#endif
    }
    // True when `text` is empty or only spaces, '>', ':' and '|'.
    static bool IsBlankQuoteLine(StringView text);
    // The part of `text` before its first space (all of it when it has none).
    static StringView FirstWord(StringView text);
    // The character classes, here so that the per-unit loops inline them.
    static bool IsQuoteChar(char16_t c) { return c == u'>' || c == u'|' || c == u':'; }
    static bool IsDigitChar(char16_t c) { return c >= u'0' && c <= u'9'; }
    static bool IsWordChar(char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || IsDigitChar(c) || c >= 0x80;
    }
    static bool IsInitialChar(char16_t c);
    static bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

    std::uint8_t addLevel = 0;
    std::uint8_t longUnquotedLines = 0;
    std::int32_t wrapColumn;
    LineList lines;
    char16_t quoteChar;
    std::int32_t compressed;
    std::int32_t longestQuotedLine = -1;
    std::vector<std::int32_t> levelWidths;
    std::int32_t standardized;

  protected:
    // Adds the quote characters of the prefix at `start` to `level` and sets
    // `end` to where the prefix stops.
    void ScanQuotePrefix(StringView text, std::int32_t start, std::int32_t& level,
                         std::int32_t& end) const;
    // The first position at or after `from` that holds no quote character.
    static std::int32_t QuoteRunEnd(StringView text, std::int32_t from);

  private:
    // The split text and the lines built since, each kept whole. A deque
    // never moves its elements, so views of short (inline) strings stay valid.
    std::deque<String> texts;

    // SplitLines, and with `analyze` AnalyzeLine for each line as it is split.
    void Split(String text, bool analyze);
    // Render, piece by piece as the lines are made.
    void RenderLines(TextSink& out);
    std::size_t BreakPosition(StringView text, StringView prefix, bool hasLineBreak) const;
    bool ExtendsPrefix(StringView text, std::size_t next, char16_t prefixLast) const;
    void WrapInto(TextSink& out, StringView text, StringView prefix);
    void WrapPendingInto(TextSink& out, StringView prefix);
    void JoinPending(StringView leading, StringView text);
    StringView Joined(StringView first, StringView second, StringView third);
    void DropPendingLeadingWhiteSpace();
    void ClearPending();
    std::size_t StandardPrefixLength(std::int32_t level) const;

    // The carried text is pendingBuffer[pendingStart..]: breaking it again
    // only moves pendingStart, so a long paragraph is never copied per line.
    String pendingBuffer;
    std::size_t pendingStart = 0;
    bool pendingHasLineBreak = false;

    // Not standardized: one entry per quoted line.
    std::vector<String> prefixes;
    // Standardized: the prefix of the deepest level asked for; the prefix of
    // every lower level is a suffix of it, so the table costs one string.
    String standardPrefix;
    std::int32_t standardLevels = 0;
};

}  // namespace nimbrel
