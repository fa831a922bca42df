#include "coloring/LineMarkup.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "reformat/QuoteFormatter.h"
#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;
constexpr StringView kLineBreak = u"<BR>";
constexpr StringView kSignatureEnd = u"</span><span class=q0>";
constexpr std::int64_t kSignatureKey = -2;
constexpr std::array<char16_t, 3> kMarkerUnits = {u'*', u'/', u'_'};

// One line of the HTML as the level scan sees it: the line followed by the
// "<BR>" that ends it. The last line of the HTML is read the same way, so a
// line holding only ':' has level 1 wherever it stands.
class LineReader {
  public:
    explicit LineReader(StringView line) : line_(line) {}
    char16_t At(std::size_t k) const {
        if (k < line_.size()) return line_[k];
        k -= line_.size();
        return k < kLineBreak.size() ? kLineBreak[k] : u'\0';
    }
    bool Matches(std::size_t k, StringView what) const {
        for (std::size_t j = 0; j < what.size(); ++j) {
            if (At(k + j) != what[j]) return false;
        }
        return true;
    }

  private:
    StringView line_;
};

// Four units read as one word, to compare with "&gt;" at once.
std::uint64_t Units4(const char16_t* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

std::int64_t QuoteLevel(StringView line) {
    const LineReader reader(line);
    const std::uint64_t gt = Units4(u"&gt;");
    std::int64_t level = 0;
    bool markerJustCounted = false;
    std::size_t p = 0;
    while (p <= line.size()) {
        // A run of "&gt;" inside the line (most of a deep quote's prefix)
        // is counted without the reader, four at a time while it lasts.
        while (p + 16 <= line.size() &&
               ((Units4(line.data() + p) ^ gt) | (Units4(line.data() + p + 4) ^ gt) |
                (Units4(line.data() + p + 8) ^ gt) | (Units4(line.data() + p + 12) ^ gt)) == 0) {
            level += 4;
            p += 16;
            markerJustCounted = true;
        }
        if (p + 4 <= line.size() && Units4(line.data() + p) == gt) {
            ++level;
            p += 4;
            markerJustCounted = true;
            continue;
        }
        const char16_t c = reader.At(p);
        if (reader.Matches(p, u"&gt;")) {
            ++level;
            p += 4;
            markerJustCounted = true;
        } else if (c == u'|' || c == u':') {
            ++level;
            ++p;
            markerJustCounted = true;
        } else if (c == u' ') {
            if (!markerJustCounted) break;
            markerJustCounted = false;
            ++p;
        } else {
            // ":-)" at the start of a line is a smiley, not a quote marker.
            if (level > 0 && reader.At(p - 1) == u':' && !QuoteFormatter::IsWordChar(c) &&
                !reader.Matches(p, kLineBreak) && !reader.Matches(p, u"&nbs")) {
                --level;
            }
            break;
        }
    }
    return level;
}

String Utf16Number(std::int64_t n) {
    const std::string digits = std::to_string(n);
    return String(digits.begin(), digits.end());
}

// Appends `line` with `attribute` written after every "<A ".
void AppendWithAnchorClasses(String& out, StringView line, StringView attribute) {
    std::size_t copied = 0;
    for (std::size_t a; (a = FindText(line, copied, u"<A ")) != kNone;) {
        out.append(line.substr(copied, a + 3 - copied));
        out += attribute;
        copied = a + 3;
    }
    out.append(line.substr(copied));
}

}  // namespace

LineMarkup::LineMarkup(std::int32_t styleCount, bool isCompose, const Settings& options,
                       std::span<const EmoticonEntry> emoticons)
    : fontStyles_(options.fontStyles != 0 && !isCompose),
      quoteMarkup_(options.colorMessageView != 0 || isCompose),
      keepStyleMarkers_(options.keepStyleMarkers != 0),
      classCount_(styleCount < 0 ? -static_cast<std::int64_t>(styleCount)
                                 : std::int64_t{styleCount}),
      signatureBreak_(kNone) {
    if (fontStyles_ && options.emoticons != 0) {
        for (const EmoticonEntry& entry : emoticons)
            boldExceptions_.insert(entry.code);
    }
}

void LineMarkup::AppendLine(String& out, StringView source) {
    StringView line = source;
    // A line without a marker character comes out of the font styles as it
    // went in.
    if (fontStyles_ && FindAnyUnit(source, 0, kMarkerUnits) != kNone) {
        line_.clear();
        // Room for the line and some tags, so that a long line is not moved
        // as it grows.
        line_.reserve(source.size() + source.size() / 4);
        AppendFontStyles(line_, source, keepStyleMarkers_, &boldExceptions_);
        line = line_;
    }
    if (!quoteMarkup_) {
        out += line;
        return;
    }
    const std::int64_t level = QuoteLevel(line);
    const std::int64_t levelClass = level % classCount_;
    if (level != previousLevel_) {
        if (inSignature_) {
            inSignature_ = false;
            if (signatureBreak_ != kNone) {
                // The signature ended at its last empty line: what follows it
                // goes back to level 0, its anchors too.
                out.insert(signatureBreak_, kSignatureEnd);
                for (std::size_t a = signatureBreak_ + kSignatureEnd.size();
                     (a = out.find(u"<A class=asig", a)) != kNone; a += 13) {
                    out.replace(a + 9, 4, u"0   ");
                }
            }
        }
        out += u"</span><span class=q";
        out += Utf16Number(levelClass);
        out += u'>';
        previousLevel_ = level;
    }
    if (inSignature_ && line.empty()) signatureBreak_ = out.size();
    if (line.size() <= 3 && (line == u"--" || line.starts_with(u"-- "))) {
        out += u"</span><span class=sig>";
        inSignature_ = true;
        signatureBreak_ = kNone;
    }
    const std::int64_t key = inSignature_ ? kSignatureKey : levelClass;
    if (key != attributeKey_) {
        attribute_ =
            inSignature_ ? String(u"class=asig ") : u"class=" + Utf16Number(levelClass) + u" ";
        attributeKey_ = key;
    }
    AppendWithAnchorClasses(out, line, attribute_);
}

std::size_t LineMarkup::FinalLength(const String& out) const {
    return inSignature_ && signatureBreak_ != kNone ? signatureBreak_ : out.size();
}

void LineMarkup::Discard(std::size_t count) {
    if (inSignature_ && signatureBreak_ != kNone) signatureBreak_ -= count;
}

void LineMarkup::AppendLines(String& out, StringView html) {
    if (html.starts_with(u"<DIV>")) {
        html.remove_prefix(5);
        if (html.ends_with(u"</DIV>")) html.remove_suffix(6);
    }
    for (std::size_t ls = 0; ls < html.size();) {
        const std::size_t br = FindText(html, ls, kLineBreak);
        const std::size_t le = br == kNone ? html.size() : br;
        AppendLine(out, html.substr(ls, le - ls));
        if (br == kNone) break;
        out += kLineBreak;
        ls = le + kLineBreak.size();
    }
}

}  // namespace nimbrel
