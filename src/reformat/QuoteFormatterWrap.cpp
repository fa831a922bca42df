// The back half of QuoteFormatter: rendering with re-wrapping, paragraph
// starts, and the repair of quotes that a mail client wrapped badly.
#include "reformat/QuoteFormatter.h"

#include <algorithm>

#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNoBreak = StringView::npos;
constexpr std::size_t kMaxTailLength = 30;  // longest tail RepairOEWrapping rejoins
constexpr std::int64_t kMinFullLine = 50;   // a line this long may have been wrapped

StringView TrimLeft(StringView text) {
    std::size_t i = 0;
    while (i < text.size() && QuoteFormatter::IsWhiteSpace(text[i]))
        ++i;
    return text.substr(i);
}

bool HasLineBreak(StringView text) {
    return QuoteFormatter::FindLineFeed(text, 0) != StringView::npos;
}

}  // namespace

// ---- Rendering ----

void QuoteFormatter::Render(String& out) {
    out.clear();
    // Room for the lines, their prefixes and breaks, and some re-wrapping,
    // made once.
    std::size_t size = 0;
    for (const QuoteLine& line : lines)
        size += line.text.size() + PrefixText(line.prefixIndex).size() * (line.level != 0) + 1;
    out.reserve(size + size / 8);
    StringSink sink(out);
    RenderLines(sink);
}

namespace {

// Gathers the small pieces of the rendered text (a prefix, a line, a line
// break) into larger ones, so that a sink that does some work for each piece
// (encoding, looking for line feeds) gets few of them; a large piece goes
// through as it is.
class GatheringSink final : public TextSink {
  public:
    explicit GatheringSink(TextSink& out) : out_(out) { gathered_.reserve(kGather); }
    void Append(StringView text) override {
        if (gathered_.size() + text.size() > kGather) {
            Flush();
            if (text.size() >= kGather) {
                out_.Append(text);
                return;
            }
        }
        gathered_.append(text);
    }
    void Flush() {
        if (gathered_.empty()) return;
        out_.Append(gathered_);
        gathered_.clear();
    }

  private:
    static constexpr std::size_t kGather = std::size_t{1} << 13;

    TextSink& out_;
    String gathered_;
};

}  // namespace

void QuoteFormatter::Render(TextSink& out) {
    GatheringSink gathered(out);
    RenderLines(gathered);
    gathered.Flush();
}

void QuoteFormatter::RenderLines(TextSink& out) {
    ClearPending();
    StringView prefix;
    std::int32_t previousLevel = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        PrefetchAhead(i);
        QuoteLine& line = lines[i];
        if (i != 0) out.Append(u"\n");
        // Carried words go out with the prefix of the paragraph they came
        // from when this line does not continue it, or when they would cut
        // its prefix short: behind a ':' (an own prefix's) anything but a word
        // character makes that ':' read as an emoticon's eyes.
        const StringView linePrefix = line.level != 0 ? PrefixText(line.prefixIndex) : StringView();
        const bool cutsPrefixShort = linePrefix.ends_with(u':') && !line.text.empty() &&
                                     line.text[0] != u' ' && line.text[0] != u'\t' &&
                                     !Pending().empty() && !IsWordChar(Pending().front());
        if (!Pending().empty() &&
            ((i != 0 && (line.level != previousLevel || line.text.empty())) ||
             (longUnquotedLines && line.level == 1) ||
             IsParagraphStart(static_cast<std::int32_t>(i)) || cutsPrefixShort)) {
            while (!Pending().empty()) {
                WrapPendingInto(out, prefix);
                out.Append(u"\n");
            }
        }
        prefix = linePrefix;
        previousLevel = line.level;
        if (Pending().empty()) {
            WrapInto(out, line.text, prefix);
        } else {
            // The line's indentation moves in front of the joined text, so an
            // indented paragraph stays indented.
            const StringView leading = TakeLeadingWhitespace(line);
            JoinPending(leading, line.text);
            WrapPendingInto(out, prefix);
        }
    }
    while (!Pending().empty()) {
        out.Append(u"\n");
        WrapPendingInto(out, prefix);
    }
}

String QuoteFormatter::WrapPiece(StringView text, StringView prefix) {
    String result;
    StringSink sink(result);
    WrapInto(sink, text, prefix);
    return result;
}

StringView QuoteFormatter::Pending() const {
    return StringView(pendingBuffer).substr(pendingStart);
}

// Whether text carried to a new line, starting at text[next], would be read
// as part of the quote prefix it is written behind, so that the line would
// read at another level: text that reads as quoted by itself ("> b", "JD> b",
// ":b"), or, behind a prefix that ends in ':', anything but a word character
// (the ':' then reads as an emoticon's eyes). Eight units decide it: a
// writer's initials and their '>' take four, and two quote characters always
// make a level. They are read up to white space other than a space, which
// may end the line and then goes when the text is read again (":\t" reads
// as ":").
bool QuoteFormatter::ExtendsPrefix(StringView text, std::size_t next, char16_t prefixLast) const {
    if (next >= text.size()) return false;
    if (prefixLast == u':' && !IsWordChar(text[next])) return true;
    // Only quote characters make a level (a writer's initials end in '>'):
    // most carried text starts with a word that cannot be initials and is not
    // read further, the rest only when a quote character follows.
    if (!IsQuoteChar(text[next]) && !IsInitialChar(text[next])) return false;
    StringView start = text.substr(next, 8);
    bool quoted = false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (start[i] != u' ' && IsWhiteSpace(start[i])) start = start.substr(0, i);
        quoted = quoted || (i < start.size() && IsQuoteChar(start[i]));
    }
    if (!quoted) return false;
    std::int32_t level = 0;
    std::int32_t end = 0;
    GetQuoteLevel(start, level, end);
    return level != addLevel;
}

// Where a line of `text` behind `prefix` is broken: the last space within
// the room, else the first space behind it, passing over the spaces among the
// text's leading white space and quote characters (the line would read as an
// empty quoted line) and those whose carried text would extend the prefix.
// kNoBreak when the text is written whole: it fits, there is no room to speak
// of, it holds line breaks of its own, or it is one long word.
std::size_t QuoteFormatter::BreakPosition(StringView text, StringView prefix,
                                          bool hasLineBreak) const {
    const std::int64_t room =
        static_cast<std::int64_t>(wrapColumn) - static_cast<std::int64_t>(prefix.size());
    if (room <= 1 || static_cast<std::int64_t>(text.size()) <= room || hasLineBreak) {
        return kNoBreak;
    }
    const char16_t prefixLast = prefix.empty() ? u'\0' : prefix.back();
    const auto limit = static_cast<std::size_t>(room);
    std::size_t indent = 0;
    while (indent < text.size() && (IsWhiteSpace(text[indent]) || IsQuoteChar(text[indent])))
        ++indent;
    // The carried text starts at the first unit after the break that is not
    // white space; found once for the whole search, which goes from right to
    // left.
    std::size_t next = limit;
    while (next < text.size() && IsWhiteSpace(text[next]))
        ++next;
    for (std::size_t s = limit - 1; s > indent; --s) {
        if (text[s] == u' ' && !ExtendsPrefix(text, next, prefixLast)) return s;
        if (!IsWhiteSpace(text[s])) next = s;
    }
    for (std::size_t s = text.find(u' ', std::max(limit, indent)); s != StringView::npos;
         s = text.find(u' ', next)) {
        next = s + 1;
        while (next < text.size() && IsWhiteSpace(text[next]))
            ++next;
        if (!ExtendsPrefix(text, next, prefixLast)) return s;
    }
    return kNoBreak;
}

// Writes prefix + the first output line of `text` into `out`; the rest, a
// space appended and leading white space removed, becomes the carried text.
void QuoteFormatter::WrapInto(TextSink& out, StringView text, StringView prefix) {
    // Only a text that would be broken is searched for line breaks.
    std::size_t s = BreakPosition(text, prefix, false);
    if (s != kNoBreak && HasLineBreak(text)) s = kNoBreak;
    out.Append(prefix);
    if (s == kNoBreak) {
        out.Append(text);
        ClearPending();
        return;
    }
    out.Append(text.substr(0, s));
    String rest(text.substr(s));  // a copy first: `text` may be the carried text itself
    rest.push_back(u' ');
    pendingBuffer = std::move(rest);
    pendingStart = 0;
    pendingHasLineBreak = false;  // a text with line breaks is never broken
    DropPendingLeadingWhiteSpace();
}

// WrapInto for the carried text itself, without copying it.
void QuoteFormatter::WrapPendingInto(TextSink& out, StringView prefix) {
    const StringView text = Pending();
    const std::size_t s = BreakPosition(text, prefix, pendingHasLineBreak);
    out.Append(prefix);
    if (s == kNoBreak) {
        out.Append(text);
        ClearPending();
        return;
    }
    out.Append(text.substr(0, s));
    pendingStart += s;
    pendingBuffer.push_back(u' ');
    DropPendingLeadingWhiteSpace();
}

// Makes the carried text `leading` + carried text + `text`.
void QuoteFormatter::JoinPending(StringView leading, StringView text) {
    if (leading.size() > pendingStart) {
        // Leave as much room in front as the carried text is long: the start
        // never moves back once text has been written, so this copy is paid
        // for by the indentation of the lines that make it necessary.
        const StringView carried = Pending();
        String rebuilt(leading.size() + carried.size(), u' ');
        rebuilt.append(carried);
        pendingStart = rebuilt.size() - carried.size();
        pendingBuffer = std::move(rebuilt);
    }
    pendingStart -= leading.size();
    std::copy(leading.begin(), leading.end(), pendingBuffer.begin() + pendingStart);
    pendingBuffer.append(text);
    if (HasLineBreak(text)) pendingHasLineBreak = true;
}

void QuoteFormatter::DropPendingLeadingWhiteSpace() {
    while (pendingStart < pendingBuffer.size() && IsWhiteSpace(pendingBuffer[pendingStart])) {
        ++pendingStart;
    }
    if (pendingStart == pendingBuffer.size()) ClearPending();
}

void QuoteFormatter::ClearPending() {
    pendingBuffer.clear();
    pendingStart = 0;
    pendingHasLineBreak = false;
}

bool QuoteFormatter::IsParagraphStart(std::int32_t i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= lines.size()) return false;
    const auto index = static_cast<std::size_t>(i);
    const QuoteLine& line = lines[index];
    const StringView text = line.text;

    if (!text.empty() && IsWordChar(text[0]) && !IsDigitChar(text[0])) {
        if (index == 0) return false;
        const QuoteLine& previous = lines[index - 1];
        if (line.level != previous.level) return true;
        // Had the previous line room for this line's first word at the width
        // the text was wrapped at, its break ended a paragraph.
        const std::int64_t fit = static_cast<std::int64_t>(previous.text.size()) +
                                 previous.prefixLength +
                                 static_cast<std::int64_t>(FirstWord(text).size()) + 1;
        const auto slot = static_cast<std::size_t>(line.level);
        const std::int64_t width = slot < levelWidths.size() ? levelWidths[slot] : 0;
        return fit < width;
    }

    const StringView trimmed = TrimLeft(text);
    if (trimmed.size() < 3) return false;
    if (IsDigitChar(trimmed[0]) &&
        (trimmed[1] == u'.' || (IsDigitChar(trimmed[1]) && trimmed[2] == u'.'))) {
        return true;  // "1. item", "12. item"
    }
    const char16_t bullet = trimmed[0];
    if (bullet != u'-' && bullet != u'*') return false;
    const auto startsWithBullet = [&](const QuoteLine& other) {
        const StringView t = TrimLeft(other.text);
        return !t.empty() && t[0] == bullet;
    };
    return (index > 0 && startsWithBullet(lines[index - 1])) ||
           (index + 1 < lines.size() && startsWithBullet(lines[index + 1]));
}

StringView QuoteFormatter::TakeLeadingWhitespace(QuoteLine& line) {
    std::size_t n = 0;
    while (n < line.text.size() && (line.text[n] == u' ' || line.text[n] == u'\t'))
        ++n;
    const StringView leading = line.text.substr(0, n);
    line.text.remove_prefix(n);
    return leading;
}

// ---- Repair of broken quotes ----

// `first` + " " + `second` (+ " " + `third` when there is a third), kept.
StringView QuoteFormatter::Joined(StringView first, StringView second, StringView third) {
    String joined;
    joined.reserve(first.size() + second.size() + third.size() + 2);
    joined.append(first);
    joined.push_back(u' ');
    joined.append(second);
    if (!third.empty()) {
        joined.push_back(u' ');
        joined.append(third);
    }
    return StoreText(std::move(joined));
}

void QuoteFormatter::RepairOEWrapping() {
    // lines[0, kept) are final, lines[kept - 1] is the line being joined to,
    // lines[next..] are still to come. Removed lines are skipped, not erased,
    // so the walk stays linear.
    const std::size_t count = lines.size();
    if (count < 2) return;
    std::size_t kept = 1;
    std::size_t next = 1;
    while (next < count) {
        QuoteLine& previous = lines[kept - 1];

        // Rule 1: a short tail that fell back one or more levels behind a
        // line that was full, so the break was made by wrapping.
        const QuoteLine& tail = lines[next];
        const bool tailEndsRun = next + 1 == count || lines[next + 1].level == previous.level ||
                                 lines[next + 1].text.empty();
        if (!tail.text.empty() && !previous.text.empty() && previous.level > tail.level &&
            tailEndsRun && tail.text.size() <= kMaxTailLength && tail.text[0] != u' ') {
            const StringView word = FirstWord(tail.text);
            const std::int64_t fit = static_cast<std::int64_t>(previous.text.size()) +
                                     previous.prefixLength +
                                     static_cast<std::int64_t>(word.size()) + 1;
            if (fit >= longestQuotedLine && fit >= kMinFullLine && word.size() <= kMaxTailLength) {
                previous.text = Joined(previous.text, tail.text, {});
                ++next;
            }
        }

        // Rule 2: a line broken twice, its two tails on two lower levels.
        // The tails must hold text: an empty line is a writer's blank line,
        // never the remains of a wrap.
        if (next + 2 < count) {
            const QuoteLine& first = lines[next];
            const QuoteLine& second = lines[next + 1];
            const QuoteLine& after = lines[next + 2];
            if (previous.level > first.level && second.level > first.level &&
                after.level > second.level && after.level == previous.level &&
                !previous.text.empty() && !first.text.empty() && !second.text.empty()) {
                previous.text = Joined(previous.text, first.text, second.text);
                next += 2;
            }
        }

        if (next < count) {
            if (kept != next) lines[kept] = std::move(lines[next]);
            ++kept;
            ++next;
        }
    }
    lines.resize(kept);
}

}  // namespace nimbrel
