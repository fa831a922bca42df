// Shared by the reply reformat harness and the reply tests: what a reformat
// must never do to the quoted message. A reply is given in its parts (the
// user's area, the client's header, the quote) and reformatted; then
//  - the text around the quote is what it is with any other quote;
//  - the result says whether a level was added, and one was added exactly
//    when some line of the quote (empty lines at its end aside) is empty or
//    does not begin with the quote character;
//  - the words of the quote come out in their order, none lost, duplicated or
//    moved, apart from the quoted signature that stripQuotedSignature takes
//    away: words of the level-1 lines right after the last separator line;
//  - each word stands at the level it had (one more when a level was added)
//    or, with fixExistingQuotes, at the level of the word before it: the
//    repair joins a tail that fell back to the line it was wrapped off;
//  - no quoted line is longer than the wrap column unless its text is one
//    word, or its prefix leaves no room;
//  - the reply with the new quote in place of the old one is reformatted to
//    the same quote again, neither stripping a further signature nor
//    repairing (see Check), trailing white space aside: an empty quoted line
//    is written as its prefix, and a carried remainder written alone ends
//    with a space; both are trimmed when the text is read again.
// Words are runs of word characters (QuoteFormatter::IsWordChar) after each
// line's quote prefix; levels are read back from the prefixes, so only the
// quote characters the options dialog offers ('>', '|', ':') can be checked.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reformat/QuoteFormatter.h"
#include "reformat/ReplyFormatter.h"
#include "shell/CrtRandom.h"
#include "shell/Settings.h"
#include "shell/Text.h"
#include "shell/Utf.h"

namespace nimbrel::fuzz {

struct ReplyParts {
    std::vector<String> userArea;  // above the header: at least one line
    std::vector<String> header;    // the client's header block or news line
    std::vector<String> quote;     // the quoted message
};

inline StringView TrimmedRight(StringView t) {
    while (!t.empty() && QuoteFormatter::IsWhiteSpace(t.back()))
        t.remove_suffix(1);
    return t;
}

// A formatter only for reading quote levels, counting from `addLevel`.
inline const QuoteFormatter& LevelScanner(bool addLevel) {
    static const QuoteFormatter plain(72, u'>', 1, 1);
    static const QuoteFormatter added = [] {
        QuoteFormatter f(72, u'>', 1, 1);
        f.addLevel = 1;
        return f;
    }();
    return addLevel ? added : plain;
}

// `text` cut at its LFs, a CR before an LF dropped.
inline std::vector<String> SplitAtLineFeeds(StringView text) {
    std::vector<String> lines;
    for (std::size_t start = 0;;) {
        const std::size_t lf = text.find(u'\n', start);
        StringView line =
            text.substr(start, lf == StringView::npos ? StringView::npos : lf - start);
        if (lf != StringView::npos && line.ends_with(u'\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == StringView::npos) return lines;
        start = lf + 1;
    }
}

// A reply's text split at its client header: the first e-mail separator line
// ("----- Original Message -----") after the first line, through the next
// empty line, or the first unquoted news line ending in "...". nullopt when
// there is none.
inline std::optional<ReplyParts> SplitReply(StringView text) {
    const std::vector<String> lines = SplitAtLineFeeds(text);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const StringView t = TrimmedRight(lines[i]);
        std::size_t end = i + 1;
        if (t.size() > 10 && t.starts_with(u"-----") && t.ends_with(u"-----") && t[5] != u'-') {
            while (end < lines.size() && !TrimmedRight(lines[end - 1]).empty())
                ++end;
        } else if (!(t.ends_with(u"...") && t.find(u"news:") != StringView::npos &&
                     !QuoteFormatter::IsQuoteChar(t[0]))) {
            continue;
        }
        const auto at = [&](std::size_t n) {
            return lines.begin() + static_cast<std::ptrdiff_t>(n);
        };
        return ReplyParts{{lines.begin(), at(i)}, {at(i), at(end)}, {at(end), lines.end()}};
    }
    return std::nullopt;
}

struct QuoteWord {
    StringView text;
    std::int32_t level;
    std::size_t line;
};

// The words of `lines` after their quote prefixes, with the level of their line.
inline std::vector<QuoteWord> QuoteWords(const std::vector<String>& lines, bool addLevel) {
    std::vector<QuoteWord> words;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const StringView t = TrimmedRight(lines[l]);
        std::int32_t level = 0;
        std::int32_t end = 0;
        LevelScanner(addLevel).GetQuoteLevel(t, level, end);
        for (std::size_t i = static_cast<std::size_t>(end); i < t.size();) {
            std::size_t j = i;
            while (j < t.size() && QuoteFormatter::IsWordChar(t[j]))
                ++j;
            if (j > i) words.push_back({t.substr(i, j - i), level, l});
            i = std::max(j, i + 1);
        }
    }
    return words;
}

class ReplyChecker {
  public:
    explicit ReplyChecker(const Settings& options_) : options(options_) {}

    // "" when every property holds for `parts`, else what is wrong. Nothing
    // is checked for a quote that does not start with a line of text: empty
    // lines right after the header belong to it (the e-mail block is taken
    // as one line longer when one follows, and a removed header's blank lines
    // run into those at the top), which is not the quote's business.
    std::string Check(const ReplyParts& parts) {
        if (!QuoteFormatter::IsQuoteChar(options.quoteChar) || parts.quote.empty() ||
            TrimmedRight(parts.quote.front()).empty()) {
            return "";
        }
        const Run placeholder = Reformat(options, parts, {PlaceholderLine()});
        const auto mark = std::find_if(
            placeholder.lines.begin(), placeholder.lines.end(),
            [](const String& line) { return line.find(kPlaceholder) != String::npos; });
        if (mark == placeholder.lines.end()) return "no quote in " + Shown(placeholder.lines);
        before.assign(placeholder.lines.begin(), mark);
        after.assign(mark + 1, placeholder.lines.end());

        const Run first = Reformat(options, parts, parts.quote);
        bool addLevel = false;
        std::size_t quoteEnd = parts.quote.size();
        while (quoteEnd > 0 && TrimmedRight(parts.quote[quoteEnd - 1]).empty())
            --quoteEnd;
        for (std::size_t i = 0; i < quoteEnd; ++i) {
            const StringView t = TrimmedRight(parts.quote[i]);
            addLevel = addLevel || t.empty() || t[0] != options.quoteChar;
        }
        const std::int32_t expected =
            addLevel ? ReplyFormatter::kReformattedAddedLevel : ReplyFormatter::kReformatted;
        if (first.result != expected) {
            return "result " + std::to_string(first.result) + ", expected " +
                   std::to_string(expected);
        }
        std::vector<String> quote;
        if (std::string error = QuoteOf(first, quote); !error.empty()) return error;
        if (std::string error = CompareWords(parts.quote, quote, addLevel); !error.empty())
            return error;
        if (std::string error = CheckWidths(quote); !error.empty()) return error;

        // Again, with the new quote. Each run strips only the last quoted
        // signature, so an earlier one would go in the second: not stripped.
        // Nor repaired: the repair takes a short line behind a deeper one for
        // a wrapped-off tail when the deeper line was about as long as the
        // longest quoted line, and re-wrapping has just made the longest line
        // shorter, so a second run may join a line the first one kept.
        Settings again = options;
        again.stripQuotedSignature = 0;
        again.fixExistingQuotes = 0;
        const Run second = Reformat(again, parts, quote);
        std::vector<String> quoteAgain;
        if (std::string error = QuoteOf(second, quoteAgain); !error.empty())
            return "second run: " + error;
        for (std::size_t i = 0; i < std::max(quote.size(), quoteAgain.size()); ++i) {
            const StringView was = i < quote.size() ? TrimmedRight(quote[i]) : u"(none)";
            const StringView is = i < quoteAgain.size() ? TrimmedRight(quoteAgain[i]) : u"(none)";
            if (was != is) {
                return "not settled: quote line " + std::to_string(i) + " '" + Utf16ToUtf8(was) +
                       "' is '" + Utf16ToUtf8(is) + "' in a second run";
            }
        }
        return "";
    }

  private:
    static constexpr StringView kPlaceholder = u"nimbrelplaceholderline";

    struct Run {
        std::int32_t result;
        std::vector<String> lines;
    };

    String PlaceholderLine() const {
        return String(1, options.quoteChar) + u" " + String(kPlaceholder);
    }

    static std::string Shown(const std::vector<String>& lines) {
        std::string out;
        for (const String& line : lines)
            out += "\n  |" + Utf16ToUtf8(line);
        return out;
    }

    static Run Reformat(const Settings& settings, const ReplyParts& parts,
                        const std::vector<String>& quote) {
        String text;
        bool first = true;
        for (const std::vector<String>* part : {&parts.userArea, &parts.header, &quote}) {
            for (const String& line : *part) {
                if (!first) text += u"\r\n";
                first = false;
                text += line;
            }
        }
        crtRandom.Seed(1);  // the same signature for a marker in every run
        std::int32_t caretCount = 0;
        const std::int32_t result = ReplyFormatter(settings).Reformat(text, caretCount);
        return {result, SplitAtLineFeeds(text)};
    }

    // The lines of `run` between the text before and after the quote.
    std::string QuoteOf(const Run& run, std::vector<String>& quote) const {
        const std::vector<String>& lines = run.lines;
        if (lines.size() < before.size() + after.size() ||
            !std::equal(before.begin(), before.end(), lines.begin()) ||
            !std::equal(after.begin(), after.end(),
                        lines.end() - static_cast<std::ptrdiff_t>(after.size()))) {
            return "the text around the quote changed:" + Shown(lines) +
                   "\nexpected around it:" + Shown(before) + "\n  ..." + Shown(after);
        }
        quote.assign(lines.begin() + static_cast<std::ptrdiff_t>(before.size()),
                     lines.end() - static_cast<std::ptrdiff_t>(after.size()));
        return "";
    }

    std::string CompareWords(const std::vector<String>& in, const std::vector<String>& out,
                             bool addLevel) const {
        const std::vector<QuoteWord> was = QuoteWords(in, addLevel);
        const std::vector<QuoteWord> is = QuoteWords(out, false);

        // The words a stripped signature may take: those of the level-1
        // lines right after the last separator line, from the first on.
        std::size_t strippedFirst = was.size();
        std::size_t strippedLimit = was.size();
        if (options.stripQuotedSignature) {
            const String separator = addLevel ? u"--" : String(1, options.quoteChar) + u" --";
            std::size_t s = in.size();
            while (s > 0 && TrimmedRight(in[s - 1]) != separator)
                --s;
            if (s > 0) {
                const QuoteFormatter& scanner = LevelScanner(addLevel);
                std::size_t stop = s;
                for (; stop < in.size(); ++stop) {
                    std::int32_t level = 0;
                    std::int32_t end = 0;
                    scanner.GetQuoteLevel(TrimmedRight(in[stop]), level, end);
                    if (level != 1) break;
                }
                const auto firstAfter = [&](std::size_t line) {
                    return static_cast<std::size_t>(
                        std::find_if(was.begin(), was.end(),
                                     [&](const QuoteWord& w) { return w.line >= line; }) -
                        was.begin());
                };
                strippedFirst = firstAfter(s);
                strippedLimit = firstAfter(stop);
            }
        }
        const std::size_t stripped = was.size() > is.size() ? was.size() - is.size() : 0;
        const bool strippable = stripped <= strippedLimit - strippedFirst;

        const auto where = [&](const QuoteWord& w, const std::vector<String>& lines) {
            return "'" + Utf16ToUtf8(w.text) + "' (level " + std::to_string(w.level) + ", line '" +
                   Utf16ToUtf8(lines[w.line]) + "')";
        };
        std::size_t i = 0;
        for (std::size_t j = 0; j < is.size(); ++i, ++j) {
            if (i == strippedFirst && strippable) i += stripped;
            if (i >= was.size()) return "word " + where(is[j], out) + " was not in the quote";
            if (was[i].text != is[j].text) {
                return "quote word " + std::to_string(i) + " " + where(was[i], in) + " is " +
                       where(is[j], out) + " in the output";
            }
            const bool joined = options.fixExistingQuotes && is[j].level > was[i].level && j > 0 &&
                                is[j - 1].level == is[j].level;
            if (is[j].level != was[i].level && !joined) {
                return "quote word " + std::to_string(i) + " " + where(was[i], in) +
                       " stands at level " + std::to_string(is[j].level) + " in the output";
            }
        }
        if (i == strippedFirst && strippable) i += stripped;
        if (i < was.size())
            return "quote word " + std::to_string(i) + " " + where(was[i], in) + " is missing";
        return "";
    }

    std::string CheckWidths(const std::vector<String>& quote) const {
        const QuoteFormatter& scanner = LevelScanner(false);
        for (const String& line : quote) {
            if (static_cast<std::int64_t>(line.size()) <= options.wrapColumn) continue;
            std::int32_t level = 0;
            std::int32_t end = 0;
            scanner.GetQuoteLevel(line, level, end);
            StringView text = TrimmedRight(StringView(line).substr(static_cast<std::size_t>(end)));
            while (!text.empty() && QuoteFormatter::IsWhiteSpace(text.front()))
                text.remove_prefix(1);
            const bool noRoom = std::int64_t{options.wrapColumn} - end <= 1;
            if (!noRoom && text.find(u' ') != StringView::npos) {
                return "line longer than " + std::to_string(options.wrapColumn) + ": '" +
                       Utf16ToUtf8(line) + "'";
            }
        }
        return "";
    }

    Settings options;
    std::vector<String> before;  // the reformatted reply's lines before the quote
    std::vector<String> after;   // and after it
};

}  // namespace nimbrel::fuzz
