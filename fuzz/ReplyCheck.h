// Shared by the reformat harnesses and the reformat tests: what re-wrapping
// and requoting must never do to quoted text.
//
// QuoteError compares quoted lines with what the formatter made of them:
//  - the words come out in their order, none lost, duplicated or moved, apart
//    from a quoted signature that is stripped: words of the level-1 lines
//    right after the last separator line, from the first on;
//  - each word stands at the level it had (one more when a level was added)
//    or, where the repair ran, at a deeper one that a line with text before
//    it had: the repair joins a tail that fell back to the line it was
//    wrapped off;
//  - no line is longer than the wrap column unless it could not be broken:
//    its prefix leaves no room, or it has no space after which the rest
//    would read as text (not as more quote prefix, see QuoteFormatter::Render).
// Words are runs of word characters (QuoteFormatter::IsWordChar) after each
// line's quote prefix; levels are read back from the prefixes, so only the
// quote characters the options dialog offers ('>', '|', ':') can be checked.
//
// ReplyChecker reformats a reply given in its parts (the user's area, the
// client's header, the quote) and checks, besides QuoteError:
//  - the text around the quote is what it is with any other quote;
//  - the result says whether a level was added, and one was added exactly
//    when some line of the quote (empty lines at its end aside) is empty,
//    does not begin with the quote character or does not read as quoted;
//  - the reply with the new quote in place of the old one is reformatted to
//    the same quote again, neither stripping a further signature nor
//    repairing (see Check), trailing white space aside: an empty quoted line
//    is written as its prefix, and a carried remainder written alone ends
//    with a space; both are trimmed when the text is read again.
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

inline StringView TrimmedRight(StringView t) {
    while (!t.empty() && QuoteFormatter::IsWhiteSpace(t.back()))
        t.remove_suffix(1);
    return t;
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

// The quote level of `line` (trailing white space aside, as the formatter
// reads it), counting from `addLevel`, and where its text begins.
inline std::int32_t LevelOf(StringView line, bool addLevel, std::int32_t* end = nullptr) {
    static const QuoteFormatter plain(72, u'>', 1, 1);
    static const QuoteFormatter added = [] {
        QuoteFormatter f(72, u'>', 1, 1);
        f.addLevel = 1;
        return f;
    }();
    std::int32_t level = 0;
    std::int32_t textStart = 0;
    (addLevel ? added : plain).GetQuoteLevel(TrimmedRight(line), level, textStart);
    if (end != nullptr) *end = textStart;
    return level;
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
        std::int32_t end = 0;
        const std::int32_t level = LevelOf(lines[l], addLevel, &end);
        const StringView t = TrimmedRight(lines[l]);
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

struct QuoteRules {
    std::int64_t wrapColumn = 72;
    bool addLevel = false;  // every line is one level deeper
    bool repaired = false;  // RepairOEWrapping ran
    String separator;       // not empty: the quoted signature after the last such line may go
};

namespace detail {

inline std::string CompareWords(const std::vector<String>& in, const std::vector<String>& out,
                                const QuoteRules& rules) {
    const std::vector<QuoteWord> was = QuoteWords(in, rules.addLevel);
    const std::vector<QuoteWord> is = QuoteWords(out, false);

    std::size_t strippedFirst = was.size();
    std::size_t strippedLimit = was.size();
    if (!rules.separator.empty()) {
        std::size_t s = in.size();  // the line after the separator
        while (s > 0 && TrimmedRight(in[s - 1]) != rules.separator)
            --s;
        if (s > 0) {
            std::size_t stop = s;
            while (stop < in.size() && LevelOf(in[stop], rules.addLevel) == 1)
                ++stop;
            const auto firstFrom = [&](std::size_t line) {
                return static_cast<std::size_t>(
                    std::find_if(was.begin(), was.end(),
                                 [&](const QuoteWord& w) { return w.line >= line; }) -
                    was.begin());
            };
            strippedFirst = firstFrom(s);
            strippedLimit = firstFrom(stop);
        }
    }
    const std::size_t stripped = was.size() > is.size() ? was.size() - is.size() : 0;
    const bool strippable = stripped <= strippedLimit - strippedFirst;

    // The deepest level of a line with text before each line.
    std::vector<std::int32_t> deepestBefore(in.size() + 1, 0);
    for (std::size_t l = 0; l < in.size(); ++l) {
        std::int32_t end = 0;
        const std::int32_t level = LevelOf(in[l], rules.addLevel, &end);
        const bool hasText = static_cast<std::size_t>(end) < TrimmedRight(in[l]).size();
        deepestBefore[l + 1] = std::max(deepestBefore[l], hasText ? level : 0);
    }

    const auto where = [](const QuoteWord& w, const std::vector<String>& lines) {
        // Appended one by one: g++ 12's -Wrestrict misreads a chain of
        // operator+ that starts with a literal.
        std::string said = "'";
        said += Utf16ToUtf8(w.text);
        said += "' (level ";
        said += std::to_string(w.level);
        said += ", line '";
        said += Utf16ToUtf8(lines[w.line]);
        said += "')";
        return said;
    };
    std::size_t i = 0;
    for (std::size_t j = 0; j < is.size(); ++i, ++j) {
        if (i == strippedFirst && strippable) i += stripped;
        if (i >= was.size()) return "word " + where(is[j], out) + " was not in the quote";
        if (was[i].text != is[j].text) {
            return "quote word " + std::to_string(i) + " " + where(was[i], in) + " is " +
                   where(is[j], out) + " in the output";
        }
        const bool joined = rules.repaired && is[j].level > was[i].level &&
                            is[j].level <= deepestBefore[was[i].line];
        if (is[j].level != was[i].level && !joined) {
            return "quote word " + std::to_string(i) + " " + where(was[i], in) +
                   " stands at level " + std::to_string(is[j].level) + " in " + where(is[j], out);
        }
    }
    if (i == strippedFirst && strippable) i += stripped;
    if (i < was.size())
        return "quote word " + std::to_string(i) + " " + where(was[i], in) + " is missing";
    return "";
}

// Whether `line` could have been broken to fit the wrap column.
inline bool Breakable(StringView line, std::int64_t wrapColumn) {
    std::int32_t end = 0;
    LevelOf(line, false, &end);
    if (wrapColumn - end <= 1) return false;  // no room
    const char16_t prefixLast = end > 0 ? line[static_cast<std::size_t>(end) - 1] : u'\0';
    StringView text = TrimmedRight(line.substr(static_cast<std::size_t>(end)));
    // A break among leading white space and quote characters would leave an
    // empty quoted line.
    while (!text.empty() && (QuoteFormatter::IsWhiteSpace(text.front()) ||
                             QuoteFormatter::IsQuoteChar(text.front())))
        text.remove_prefix(1);
    for (std::size_t s = text.find(u' '); s != StringView::npos; s = text.find(u' ', s)) {
        while (QuoteFormatter::IsWhiteSpace(text[s]))
            ++s;  // the text ends in something else
        // Read up to white space that may end the line (and go with it).
        StringView rest = text.substr(s, 8);
        rest = rest.substr(
            0, static_cast<std::size_t>(std::find_if(rest.begin(), rest.end(),
                                                     [](char16_t c) {
                                                         return c != u' ' &&
                                                                QuoteFormatter::IsWhiteSpace(c);
                                                     }) -
                                        rest.begin()));
        if (LevelOf(rest, false) == 0 &&
            (prefixLast != u':' || QuoteFormatter::IsWordChar(text[s])))
            return true;
    }
    return false;
}

}  // namespace detail

// "" when `out` is what the rules allow the formatter to make of `in`, else
// what is wrong.
inline std::string QuoteError(const std::vector<String>& in, const std::vector<String>& out,
                              const QuoteRules& rules) {
    if (std::string error = detail::CompareWords(in, out, rules); !error.empty()) return error;
    for (const String& line : out) {
        if (static_cast<std::int64_t>(line.size()) > rules.wrapColumn &&
            detail::Breakable(line, rules.wrapColumn)) {
            std::string said = "line longer than ";
            said += std::to_string(rules.wrapColumn);
            said += ": '";
            said += Utf16ToUtf8(line);
            said += "'";
            return said;
        }
    }
    return "";
}

struct ReplyParts {
    std::vector<String> userArea;  // above the header: at least one line
    std::vector<String> header;    // the client's header block or news line
    std::vector<String> quote;     // the quoted message
};

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

class ReplyChecker {
  public:
    explicit ReplyChecker(const Settings& options_) : options(options_) {}

    // "" when every property holds for `parts`, else what is wrong. Nothing
    // is checked for a quote that does not start with a line of text: empty
    // lines right after the header belong to it (the e-mail block is taken as
    // one line longer when one follows, and a removed header's blank lines
    // run into those at the top).
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

        QuoteRules rules;
        rules.wrapColumn = options.wrapColumn;
        rules.repaired = options.fixExistingQuotes != 0;
        std::size_t quoteEnd = parts.quote.size();
        while (quoteEnd > 0 && TrimmedRight(parts.quote[quoteEnd - 1]).empty())
            --quoteEnd;
        for (std::size_t i = 0; i < quoteEnd; ++i) {
            const StringView t = TrimmedRight(parts.quote[i]);
            rules.addLevel =
                rules.addLevel || t.empty() || t[0] != options.quoteChar || LevelOf(t, false) == 0;
        }
        if (options.stripQuotedSignature) {
            rules.separator = rules.addLevel ? u"--" : String(1, options.quoteChar) + u" --";
        }

        const Run first = Reformat(options, parts, parts.quote);
        const std::int32_t expected =
            rules.addLevel ? ReplyFormatter::kReformattedAddedLevel : ReplyFormatter::kReformatted;
        if (first.result != expected) {
            return "result " + std::to_string(first.result) + ", expected " +
                   std::to_string(expected);
        }
        std::vector<String> quote;
        if (std::string error = QuoteOf(first, quote); !error.empty()) return error;
        if (std::string error = QuoteError(parts.quote, quote, rules); !error.empty()) return error;

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

    // The lines of `run` between the text before and after the quote. When
    // nothing is left of the quote, the empty lines at the end of the header
    // go with it (they are the text's last lines when the quote is dropped).
    std::string QuoteOf(const Run& run, std::vector<String>& quote) const {
        const std::vector<String>& lines = run.lines;
        const auto around = [&](std::size_t head) {
            return lines.size() >= head + after.size() &&
                   std::equal(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(head),
                              lines.begin()) &&
                   std::equal(after.rbegin(), after.rend(), lines.rbegin());
        };
        if (around(before.size())) {
            quote.assign(lines.begin() + static_cast<std::ptrdiff_t>(before.size()),
                         lines.end() - static_cast<std::ptrdiff_t>(after.size()));
            return "";
        }
        std::size_t head = before.size();
        while (head > 0 && before[head - 1].empty())
            --head;
        if (lines.size() == head + after.size() && around(head)) {
            quote.clear();
            return "";
        }
        return "the text around the quote changed:" + Shown(lines) +
               "\nexpected around it:" + Shown(before) + "\n  ..." + Shown(after);
    }

    Settings options;
    std::vector<String> before;  // the reformatted reply's lines before the quote
    std::vector<String> after;   // and after it
};

}  // namespace nimbrel::fuzz
