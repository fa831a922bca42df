#include "reformat/ReplyFormatter.h"

#include <algorithm>
#include <limits>

#include "reformat/QuoteHeader.h"
#include "reformat/Signatures.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

constexpr StringView kSignatureMarker = u"<nimbrel-sig>";
constexpr std::size_t kLongUnquotedLine = 80;

// Separator line of an e-mail header block: "----- Original Message -----".
bool IsEmailSeparator(StringView t) {
    return t.size() > 10 && t.starts_with(u"-----") && t.ends_with(u"-----") && t[5] != u'-';
}

bool ContainsNewsMark(StringView t) {
    return t.find(u"news:") != StringView::npos || t.find(u"viestiss\u00e4:") != StringView::npos;
}

StringView TrimWhiteSpace(StringView t) {
    while (!t.empty() && QuoteFormatter::IsWhiteSpace(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && QuoteFormatter::IsWhiteSpace(t.back()))
        t.remove_suffix(1);
    return t;
}

// An empty quoted line right below the header: nothing but quote
// characters, CR and spaces.
bool IsEmptyQuotedLine(StringView t) {
    return std::all_of(t.begin(), t.end(), [](char16_t c) {
        return c == u'>' || c == u':' || c == u'|' || c == u'\r' || c == u' ';
    });
}

// Every "..." taken out, left to right, in one pass.
String WithoutEllipses(StringView t) {
    String out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        if (t.substr(i, 3) == u"...") {
            i += 3;
        } else {
            out += t[i++];
        }
    }
    return out;
}

std::int32_t ToInt32(std::size_t value) {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

ReplyFormatter::ReplyFormatter(const Settings& record)
    : QuoteFormatter(record.wrapColumn, record.quoteChar, record.compressedIndentation,
                     record.standardizedIndentation),
      options(record) {
    LoadSignatures();
}

ReplyFormatter::~ReplyFormatter() = default;

String ReplyFormatter::RandomSignature() const {
    return nimbrel::RandomSignature();
}

bool ReplyFormatter::RewriteQuoteHeader() {
    userAreaEnd = 0;
    headerEnd = 0;
    std::size_t h = 0;
    bool isEmail = false;
    for (std::size_t i = 1; i < lines.size() && h == 0; ++i) {
        const StringView t = lines[i].text;
        if (i + 5 < lines.size() && IsEmailSeparator(t)) {
            h = i;
            isEmail = true;
        } else if (t.size() > 5 && t.ends_with(u"...") && ContainsNewsMark(t)) {
            std::int32_t level = 0;
            std::int32_t end = 0;
            GetQuoteLevel(t, level, end);
            if (level == 0) h = i;
        }
    }
    if (h == 0) return true;

    // Room above the header. Line 0 is dropped only when it is empty: a
    // one-line user's area above the header is the user's text.
    if (h == 1 && lines[0].text.empty()) {
        lines.erase(lines.begin());
        h = 0;
    } else if (!options.signatureToBottom) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(h), QuoteLine{});
        ++h;
    }
    userAreaEnd = ToInt32(h) - 1;

    if (isEmail) {
        RewriteEmailHeader(h);
    } else {
        RewriteNewsHeader(h);
    }
    return false;
}

// The e-mail block at h: the separator, then the field lines (sender first,
// then the date), then an empty line. At least five lines follow h.
void ReplyFormatter::RewriteEmailHeader(std::size_t h) {
    const std::uint32_t style = options.emailHeader.style;
    if (style == kHeaderLeftAlone) {
        MarkEmailHeader(h);
        return;
    }
    const std::size_t firstRemoved = style == kHeaderRemoved ? h : h + 1;
    HeaderFields fields;
    if (style != kHeaderRemoved) {
        const StringView sender = lines[h + 1].text;
        const std::size_t colon = sender.find(u':');
        if (colon != StringView::npos) {
            if (ParseSender(sender.substr(colon + 1), fields)) {
                MarkEmailHeader(h);
                return;
            }
            // The date line: the first whose last colon is a time's ("14:05").
            for (std::size_t j = h + 2; j < lines.size(); ++j) {
                const StringView t = lines[j].text;
                const std::size_t last = t.rfind(u':');
                if (last == StringView::npos) break;
                if (last > 0 && last + 1 < t.size() && IsDigitChar(t[last - 1]) &&
                    IsDigitChar(t[last + 1])) {
                    fields.time = String(TrimWhiteSpace(t.substr(t.find(u':') + 1)));
                    break;
                }
            }
        }
    }
    if (style != kHeaderRemoved) {
        lines[h].text =
            StoreText(BuildQuoteHeader(fields, style, TemplateText(options.emailHeader)));
        headerEnd = ToInt32(h);
    } else {
        headerEnd = ToInt32(h) - 1;
    }
    // The field lines and the empty line after them; a block with one more
    // field line (Cc) is one line longer. An empty line that would then
    // follow the header goes too (in the same erase: each one moves the
    // whole quote).
    std::size_t removedEnd = h + 6 < lines.size() && lines[h + 6].text.empty() ? h + 7 : h + 6;
    if (removedEnd < lines.size() && lines[removedEnd].text.empty()) ++removedEnd;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(firstRemoved),
                lines.begin() + static_cast<std::ptrdiff_t>(removedEnd));
}

// Leaves the block in place, but one dash shorter at each end of the
// separator so that it is not taken for a header again.
void ReplyFormatter::MarkEmailHeader(std::size_t h) {
    StringView& separator = lines[h].text;
    separator = separator.substr(1, separator.size() - 2);
    std::size_t end = h + 4;
    while (!lines[end].text.empty() && end + 1 < lines.size())
        ++end;
    if (lines[end].text.empty() && end + 1 < lines.size() && lines[end + 1].text.empty())
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(end));
    headerEnd = ToInt32(end);
}

void ReplyFormatter::RewriteNewsHeader(std::size_t h) {
    const std::uint32_t style = options.newsHeader.style;
    StringView& line = lines[h].text;
    if (style == kHeaderLeftAlone) {
        line = StoreText(WithoutEllipses(line));
        headerEnd = ToInt32(h);
        return;
    }
    HeaderFields fields;
    if (ParseSender(line, fields) || style == kHeaderRemoved) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(h));
        headerEnd = ToInt32(h) - 1;
        return;
    }
    const std::size_t news = line.find(u"news:");
    if (news != StringView::npos) {
        StringView link = line.substr(news + 5);
        while (!link.empty() && (link.back() == u'.' || link.back() == u' '))
            link.remove_suffix(1);
        while (!link.empty() && IsWhiteSpace(link.front()))
            link.remove_prefix(1);
        fields.link = String(link);
    }
    line = StoreText(BuildQuoteHeader(fields, style, TemplateText(options.newsHeader)));
    headerEnd = ToInt32(h);
}

std::int32_t ReplyFormatter::Reformat(String& text, std::int32_t& caretCount) {
    const std::int32_t result = PrepareLines(text, caretCount);
    if (result != kNothingDone) Render(text);
    return result;
}

std::int32_t ReplyFormatter::Reformat(String& text, std::int32_t& caretCount, TextSink& out) {
    const std::int32_t result = PrepareLines(text, caretCount);
    if (result != kNothingDone) Render(out);
    return result;
}

std::int32_t ReplyFormatter::PrepareLines(String& text, std::int32_t& caretCount) {
    caretCount = 0;
    if (text.empty() || text.find(u'\n') == String::npos) return kNothingDone;
    SplitLines(std::move(text));
    if (RewriteQuoteHeader()) {
        // Not a reply: the text goes back as it came.
        text = TakeBackText();
        return kNothingDone;
    }

    // Blank lines at the top.
    const bool toBottom = options.signatureToBottom != 0;
    const bool atTop = options.cursorAtTop != 0;
    std::size_t wanted = 2;
    if (toBottom && userAreaEnd > 0) wanted = atTop ? 1 : 3;
    if (toBottom && userAreaEnd <= 0) wanted = atTop ? 0 : 2;
    std::size_t blank = 0;
    while (blank < lines.size() && lines[blank].text.empty())
        ++blank;
    if (wanted > blank) {
        lines.insert(lines.begin(), wanted - blank, QuoteLine{});
        userAreaEnd += ToInt32(wanted - blank);
        headerEnd += ToInt32(wanted - blank);
    } else if (wanted < blank) {
        // With the header removed (or empty) the blank run can reach past the
        // header into the quote. The blank lines kept at the top are room for
        // the caret, never part of the quote, so the indexes stay at or
        // above the last of them.
        const std::int32_t removed = ToInt32(blank - wanted);
        const std::int32_t lastKept = ToInt32(wanted) - 1;
        lines.erase(lines.begin(), lines.begin() + removed);
        userAreaEnd = std::max(lastKept, userAreaEnd - removed);
        headerEnd = std::max(lastKept, headerEnd - removed);
    }

    // The user's area: the signature separator gets its trailing space back
    // (or the ISO 8859 fix's 0x81), the marker becomes a random signature.
    StringView dashes;
    std::int64_t extraSignatureLines = 0;
    for (std::int32_t j = 0; j <= headerEnd; ++j) {
        StringView& t = lines[static_cast<std::size_t>(j)].text;
        if (t == u"--") {
            if (dashes.empty()) {
                dashes = StoreText(
                    u"--" + (options.iso8859SignatureFix ? AnsiToUtf16("\x81") : String(u" ")));
            }
            t = dashes;
        } else if (t == kSignatureMarker) {
            t = StoreText(RandomSignature());
            extraSignatureLines += std::count(t.begin(), t.end(), u'\n');
        }
    }

    // Was the quote quoted by the client? Not if any line is empty or lacks
    // the quote character. Empty lines at the very end carry no text and are
    // dropped before rendering; they must not decide it (a text ending in a
    // line break would otherwise have every quoted line quoted twice).
    const auto quoteStart = static_cast<std::size_t>(headerEnd + 1);
    addLevel = 0;
    longUnquotedLines = 0;
    std::size_t quoteEnd = lines.size();
    while (quoteEnd > quoteStart && lines[quoteEnd - 1].text.empty())
        --quoteEnd;
    for (std::size_t j = quoteStart; j < quoteEnd; ++j) {
        PrefetchAhead(j);
        const StringView t = lines[j].text;
        if (t.empty() || t.front() != quoteChar) addLevel = 1;
        // Nor is a line whose ':' reads as an emoticon's eyes (":-)").
        if (!addLevel && quoteChar == u':') {
            std::int32_t level = 0;
            std::int32_t end = 0;
            GetQuoteLevel(t, level, end);
            if (level == 0) addLevel = 1;
        }
    }
    if (addLevel) {
        for (std::size_t j = quoteStart; j < lines.size(); ++j)
            if (lines[j].text.size() > kLongUnquotedLine) longUnquotedLines = 1;
    }

    // No empty quoted lines directly below the header: nothing but quote
    // characters and spaces, or nothing but a prefix with a writer's
    // initials ("JD>").
    const auto isEmptyQuotedLine = [&](StringView t) {
        std::int32_t level = 0;
        std::int32_t end = 0;
        GetQuoteLevel(t, level, end);
        return IsEmptyQuotedLine(t) || static_cast<std::size_t>(end) == t.size();
    };
    const auto dropEmptyQuotedLines = [&] {
        std::size_t firstText = quoteStart;
        while (firstText < lines.size() && isEmptyQuotedLine(lines[firstText].text))
            ++firstText;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(quoteStart),
                    lines.begin() + static_cast<std::ptrdiff_t>(firstText));
    };
    dropEmptyQuotedLines();

    // The quoted signature: from the last separator line on, through the
    // level-1 lines after it.
    String separator = u"--";
    if (!addLevel) separator = String(1, quoteChar) + u" --";
    std::int32_t sigStart = -1;
    std::int32_t sigEnd = -1;
    for (std::size_t j = lines.size(); j > quoteStart; --j) {
        if (lines[j - 1].text == separator) {
            sigStart = ToInt32(j - 1);
            break;
        }
    }
    if (sigStart >= 0) {
        std::size_t j = static_cast<std::size_t>(sigStart) + 1;
        std::int32_t lastBlank = -1;
        for (; j < lines.size(); ++j) {
            std::int32_t level = 0;
            std::int32_t end = 0;
            GetQuoteLevel(lines[j].text, level, end);
            if (level != 1) break;
            if (IsBlankQuoteLine(lines[j].text)) lastBlank = ToInt32(j);
        }
        if (j == lines.size()) {
            sigEnd = ToInt32(j);
        } else {
            sigEnd = lastBlank >= 0 ? lastBlank : ToInt32(j);
        }
        if (options.stripQuotedSignature) {
            lines.erase(lines.begin() + sigStart, lines.begin() + sigEnd);
            sigStart = -1;
            sigEnd = -1;
            // A signature at the top of the quote may leave the blank line
            // that stood before the deeper text right below the header.
            dropEmptyQuotedLines();
        }
    }

    AnalyzeLines(headerEnd + 1, sigStart, sigEnd);
    DropTrailingEmptyLines();

    // The user's area goes below the quote, in its own order. If the whole
    // text after it was empty and dropped, only what is left moves.
    if (toBottom && userAreaEnd > 0) {
        const std::size_t moved = std::min(static_cast<std::size_t>(userAreaEnd) + 1, lines.size());
        // The few lines of the user's area are set aside, so the quote is
        // moved once (a rotation in place would go over it twice or more).
        std::vector<QuoteLine> userArea(lines.begin(),
                                        lines.begin() + static_cast<std::ptrdiff_t>(moved));
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(moved));
        lines.insert(lines.end(), userArea.begin(), userArea.end());
        if (!atTop && moved > 0) {
            const std::int64_t count = static_cast<std::int64_t>(moved) - 2 + extraSignatureLines;
            caretCount = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(count, 0, std::numeric_limits<std::int32_t>::max()));
        }
    }

    if (options.fixExistingQuotes) RepairOEWrapping();
    return addLevel ? kReformattedAddedLevel : kReformatted;
}

}  // namespace nimbrel
