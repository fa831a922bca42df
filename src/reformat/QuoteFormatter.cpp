// Line splitting, quote levels, the prefix table and the character classes.
// Rendering and the repair of broken quotes are in QuoteFormatterWrap.cpp.
#include "reformat/QuoteFormatter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

// Room before the first line for the blank lines that the reply reformat
// may put at the top (three at most).
constexpr std::size_t kFrontRoom = 4;

}  // namespace

QuoteFormatter::QuoteFormatter(std::int32_t wrapColumn_, char16_t quoteChar_,
                               std::int32_t compressed_, std::int32_t standardized_)
    : wrapColumn(wrapColumn_),
      quoteChar(quoteChar_),
      compressed(compressed_),
      standardized(standardized_) {}

QuoteFormatter::~QuoteFormatter() = default;

void QuoteFormatter::SplitLines(String text) {
    Split(std::move(text), false);
}

void QuoteFormatter::SplitAndAnalyzeLines(String text) {
    Split(std::move(text), true);
}

void QuoteFormatter::Split(String text, bool analyze) {
    lines.Reset(kFrontRoom);
    texts.clear();
    const StringView all = StoreText(std::move(text));
    // Room for a line per 32 units, and for the few lines the reply reformat
    // adds near the top: room that is never written costs no memory, and
    // usual text is split in one pass. Text of shorter lines has the rest of
    // its lines counted when the room is full, so the array moves once.
    lines.reserve(all.size() / 32 + 8);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t lf = FindLineFeed(all, pos);
        StringView line = all.substr(pos, lf == StringView::npos ? StringView::npos : lf - pos);
        while (!line.empty() && IsWhiteSpace(line.back()))
            line.remove_suffix(1);
        if (lines.size() == lines.capacity())
            lines.reserve(lines.size() + CountLineFeeds(all.substr(pos)) + 1 + 4);
        lines.push_back(QuoteLine{line});
        if (analyze) AnalyzeLine(lines.size() - 1, true);
        if (lf == StringView::npos) break;
        pos = lf + 1;
    }
}

String QuoteFormatter::TakeBackText() {
    lines.clear();
    String text = texts.empty() ? String() : std::move(texts.front());
    texts.clear();
    return text;
}

StringView QuoteFormatter::StoreText(String text) {
    return texts.emplace_back(std::move(text));
}

void QuoteFormatter::ScanQuotePrefix(StringView text, std::int32_t start, std::int32_t& level,
                                     std::int32_t& end) const {
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t i = start;
    if (i >= size) {
        end = i;
        return;
    }
    bool afterQuote = false;
    char16_t c;
    for (;;) {
        // A run of quote characters (a deep quote's prefix may be most of
        // its line) is measured a block at a time.
        const std::int32_t run = QuoteRunEnd(text, i);
        if (run != i) {
            level += run - i;
            i = run;
            afterQuote = true;
            if (i == size) {
                end = i;
                return;
            }
        }
        c = text[i];
        if (c != u' ') break;
        // One space after a quote character belongs to the prefix; any other
        // space ends it.
        if (!afterQuote) {
            end = i;
            return;
        }
        afterQuote = false;
        if (++i == size) {
            end = i;
            return;
        }
    }
    // A ':' directly before a non-word character is an emoticon's eyes
    // (":-)", ":)"), not quoting.
    if (level != 0 && i != start && text[i - 1] == u':' && !IsWordChar(c)) {
        --level;
        end = i - 1;
    } else {
        end = i;
    }
}

std::int32_t QuoteFormatter::QuoteRunEnd(StringView text, std::int32_t from) {
    const auto size = static_cast<std::int32_t>(text.size());
    // Most runs are a unit or two: those are read directly.
    std::int32_t i = from;
    for (const std::int32_t near = std::min(size, from + 8); i < near; ++i) {
        if (!IsQuoteChar(text[i])) return i;
    }
    const std::size_t other = FindBlockwise<0>(
        text, static_cast<std::size_t>(i), [](const char16_t* at, SearchMasks& masks) {
            std::array<char16_t, kSearchBlock> block;
            std::memcpy(block.data(), at, sizeof block);
            for (std::size_t k = 0; k < kSearchBlock; ++k) {
                masks[k] = static_cast<std::uint16_t>(~(UnitMask(block[k], u'>') |
                                                        UnitMask(block[k], u'|') |
                                                        UnitMask(block[k], u':')));
            }
        });
    return other == StringView::npos ? size : static_cast<std::int32_t>(other);
}

void QuoteFormatter::GetQuoteLevel(StringView text, std::int32_t& level, std::int32_t& end) const {
    level = addLevel;
    ScanQuotePrefix(text, 0, level, end);
    // Initials of quoted writers ("JD>", nested "JD> AB>") after the prefix
    // count as part of it.
    for (;;) {
        std::size_t p = static_cast<std::size_t>(end);
        while (p < text.size() && text[p] == u' ')
            ++p;
        std::size_t initials = 0;
        while (p + initials < text.size() && initials < 4 && IsInitialChar(text[p + initials])) {
            ++initials;
        }
        if (initials == 0 || initials > 3 || p + initials >= text.size() ||
            text[p + initials] != u'>') {
            return;
        }
        ScanQuotePrefix(text, static_cast<std::int32_t>(p + initials), level, end);
    }
}

void QuoteFormatter::AnalyzeLines(std::int32_t first, std::int32_t excludedFirst,
                                  std::int32_t excludedLast) {
    for (std::size_t i = static_cast<std::size_t>(std::max(first, 0)); i < lines.size(); ++i) {
        PrefetchAhead(i);
        const auto index = static_cast<std::int64_t>(i);
        AnalyzeLine(i, index < excludedFirst || index > excludedLast);
    }
}

void QuoteFormatter::AnalyzeLine(std::size_t i, bool counted) {
    QuoteLine& line = lines[i];
    std::int32_t level = 0;
    std::int32_t end = 0;
    GetQuoteLevel(line.text, level, end);
    const auto prefixLength = static_cast<std::size_t>(end);
    if (level != 0) {
        const StringView ownPrefix =
            standardized ? StringView() : line.text.substr(0, prefixLength);
        line.prefixIndex = GetPrefixIndex(level, ownPrefix);
    }
    const auto total = static_cast<std::int32_t>(line.text.size());
    line.text.remove_prefix(prefixLength);
    line.level = level;
    line.prefixLength = end;

    // Only a line with a space could have been wrapped, so only such lines
    // tell the width the text was wrapped at.
    const bool eligible = counted && line.text.find(u' ') != StringView::npos;
    if (level != 0 && eligible && total > longestQuotedLine) longestQuotedLine = total;
    const auto slot = static_cast<std::size_t>(level);
    if (levelWidths.size() <= slot) levelWidths.resize(slot + 1, 0);
    if (eligible && total > levelWidths[slot]) levelWidths[slot] = total;
}

std::size_t QuoteFormatter::StandardPrefixLength(std::int32_t level) const {
    const auto n = static_cast<std::size_t>(level);
    if (!compressed) return 2 * n;  // "> " per level
    // Compressed, each level trims the previous entry and adds quoteChar and
    // a space: ">>> ". A white-space quoteChar is trimmed away every time.
    return IsWhiteSpace(quoteChar) ? 2 : n + 1;
}

std::int32_t QuoteFormatter::GetPrefixIndex(std::int32_t level, StringView linePrefix) {
    if (standardized) {
        // Building one entry per level up to the deepest level, each as long
        // as its level, needs memory quadratic in the depth (a line of 700,000
        // '>' would need terabytes). Every entry is a suffix of the deepest
        // one, so only that one is kept.
        if (level > standardLevels) {
            const auto levels = static_cast<std::size_t>(level);
            String deepest;
            if (!compressed) {
                // "> " per level.
                deepest.reserve(2 * levels);
                for (std::size_t l = 0; l < levels; ++l) {
                    deepest.push_back(quoteChar);
                    deepest.push_back(u' ');
                }
            } else if (!IsWhiteSpace(quoteChar)) {
                // Each level trims the previous entry's space and adds
                // quoteChar and a space: ">>> ".
                deepest.reserve(levels + 1);
                deepest.assign(levels, quoteChar);
                deepest.push_back(u' ');
            } else {
                // A white-space quoteChar is trimmed away with the space.
                deepest = {quoteChar, u' '};
            }
            standardPrefix = std::move(deepest);
            standardLevels = level;
        }
        return level - 1;
    }

    String entry;
    if (addLevel) {
        // The program adds the first level itself.
        entry.push_back(quoteChar);
        entry.push_back(u' ');
        if (level != 1) entry.append(linePrefix);
    } else {
        entry.assign(linePrefix);
    }
    // Compressed: no space after the first quote character (">" and the
    // line's own "> " give ">> "; "> > > " becomes ">> > "; ">" and " JD> "
    // give ">JD> "), so that the prefix stays as it is when the text is
    // reformatted again. Not where a prefix that read as its level would then
    // read otherwise: ':' before '?' reads as an emoticon's eyes.
    if (compressed && level >= 2 && entry.size() >= 2 && entry[1] == u' ') {
        const auto readsAsLevel = [&](const String& prefix) {
            std::int32_t read = 0;
            std::int32_t end = 0;
            GetQuoteLevel(prefix + u'x', read, end);
            return read - addLevel == level && static_cast<std::size_t>(end) == prefix.size();
        };
        std::size_t spaces = 1;
        while (1 + spaces < entry.size() && entry[1 + spaces] == u' ')
            ++spaces;
        String tight = entry;
        tight.erase(1, spaces);
        if (!readsAsLevel(entry) || readsAsLevel(tight)) entry = std::move(tight);
    }
    prefixes.push_back(std::move(entry));
    return static_cast<std::int32_t>(prefixes.size() - 1);
}

StringView QuoteFormatter::PrefixText(std::int32_t prefixIndex) const {
    if (prefixIndex < 0) return {};
    if (standardized) {
        if (prefixIndex >= standardLevels) return {};
        const std::size_t length = StandardPrefixLength(prefixIndex + 1);
        return StringView(standardPrefix).substr(standardPrefix.size() - length);
    }
    const auto index = static_cast<std::size_t>(prefixIndex);
    return index < prefixes.size() ? StringView(prefixes[index]) : StringView();
}

void QuoteFormatter::DropTrailingEmptyLines() {
    while (!lines.empty() && lines.back().text.empty())
        lines.pop_back();
}

// A narrow counter per run lets the compiler vectorise the count.
std::size_t QuoteFormatter::CountLineFeeds(StringView text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = std::min(text.size(), i + (std::size_t{1} << 20));
        std::uint32_t n = 0;
        for (; i < end; ++i)
            n += text[i] == u'\n';
        count += n;
    }
    return count;
}

std::size_t QuoteFormatter::FindLineFeed(StringView text, std::size_t from) {
    return FindUnit(text, from, u'\n');
}

bool QuoteFormatter::IsBlankQuoteLine(StringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](char16_t c) { return c == u' ' || c == u'>' || c == u':' || c == u'|'; });
}

StringView QuoteFormatter::FirstWord(StringView text) {
    return text.substr(0, text.find(u' '));
}

bool QuoteFormatter::IsInitialChar(char16_t c) {
    if (c == u'?' || (c >= u'A' && c <= u'Z')) return true;
    if (c >= 0x00C0 && c <= 0x00DE) return c != 0x00D7;  // U+00D7 is the multiplication sign
    // Latin Extended-A alternates capital and small letter; the phase shifts
    // at U+0138 (kra) and U+0149 (n preceded by apostrophe), both small.
    if (c >= 0x0100 && c <= 0x0137) return c % 2 == 0;
    if (c >= 0x0139 && c <= 0x0148) return c % 2 == 1;
    if (c >= 0x014A && c <= 0x0177) return c % 2 == 0;
    if (c == 0x0178) return true;
    if (c >= 0x0179 && c <= 0x017E) return c % 2 == 1;
    if (c >= 0x0391 && c <= 0x03A9) return c != 0x03A2;
    return c >= 0x0400 && c <= 0x042F;
}

}  // namespace nimbrel
