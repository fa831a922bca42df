#include "coloring/CStyleSheetInfo.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

#include "coloring/FontStyles.h"
#include "reformat/QuoteFormatter.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;
constexpr std::size_t kFirstLineLimit = 19;
constexpr std::uint32_t kErrorBoxFlags = mb::kSystemModal | mb::kIconExclamation;
constexpr StringView kLineBreak = u"<BR>";
constexpr StringView kSignatureEnd = u"</span><span class=q0>";

bool IsCWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

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

std::int64_t QuoteLevel(StringView line) {
    const LineReader reader(line);
    std::int64_t level = 0;
    bool markerJustCounted = false;
    std::size_t p = 0;
    while (p <= line.size()) {
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
    for (std::size_t a; (a = line.find(u"<A ", copied)) != kNone;) {
        out.append(line.substr(copied, a + 3 - copied));
        out += attribute;
        copied = a + 3;
    }
    out.append(line.substr(copied));
}

}  // namespace

CStyleSheetInfo::CStyleSheetInfo(std::int32_t count) : styleCount(count == 0 ? 1 : count) {}

CStyleSheetInfo::CStyleSheetInfo(const std::filesystem::path& directory, bool displayWarnings,
                                 MessageBoxes& boxes) {
    std::ifstream file(directory / "styles.css", std::ios::binary);
    if (!file) {
        if (displayWarnings) {
            boxes.MessageBoxW(
                u"The style sheet (styles.css) could not be opened!\nColoring will not work.\n\n"
                u"Wrong working directory or file not found?",
                u"Nimbrel Error", kErrorBoxFlags);
        }
        return;
    }
    char start[kFirstLineLimit] = {};
    file.read(start, kFirstLineLimit);
    const std::int32_t count =
        ParseStyleCount(std::string_view(start, static_cast<std::size_t>(file.gcount())));
    if (count == 0) {
        boxes.MessageBoxW(u"Number of style sheets in styles.css set to 0!\nMust be at least 1!\n",
                          u"Nimbrel Error", kErrorBoxFlags);
        return;
    }
    styleCount = count;
}

CStyleSheetInfo::~CStyleSheetInfo() = default;

std::int32_t CStyleSheetInfo::ParseStyleCount(std::string_view fileStart) {
    std::string_view line = fileStart.substr(0, kFirstLineLimit);
    const std::size_t lf = line.find('\n');
    if (lf != std::string_view::npos) line = line.substr(0, lf + 1);
    if (line.size() < 4) return 0;
    std::size_t i = 3;
    while (i < line.size() && IsCWhiteSpace(line[i]))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    std::int64_t value = 0;  // at most 16 digits fit in the line
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = value * 10 + (line[i] - '0');
    if (negative) value = -value;
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

void CStyleSheetInfo::MarkupLines(String& html, bool isCompose, const Settings& options,
                                  std::span<const EmoticonEntry> emoticons) const {
    StringView in = html;
    if (in.starts_with(u"<DIV>")) {
        in.remove_prefix(5);
        if (in.ends_with(u"</DIV>")) in.remove_suffix(6);
    }
    const bool fontStyles = options.fontStyles != 0 && !isCompose;
    const bool quoteMarkup = options.colorMessageView != 0 || isCompose;
    EmoticonCodeSet boldExceptions;
    if (fontStyles && options.emoticons != 0) {
        for (const EmoticonEntry& entry : emoticons)
            boldExceptions.insert(entry.code);
    }
    const std::int64_t classCount =
        styleCount < 0 ? -static_cast<std::int64_t>(styleCount) : std::int64_t{styleCount};

    String out;
    // Generous room, so that the text is not moved as it grows: room that is
    // never written costs no memory. The caller's "<SPAN class=q0>" fits too.
    out.reserve(in.size() + in.size() / 2 + 32);
    String line;
    String attribute;
    std::int64_t previousLevel = 0;
    bool inSignature = false;
    std::size_t signatureBreak = kNone;  // index into `out`
    for (std::size_t ls = 0; ls < in.size();) {
        const std::size_t br = in.find(kLineBreak, ls);
        const std::size_t le = br == kNone ? in.size() : br;
        const StringView source = in.substr(ls, le - ls);
        line.clear();
        if (fontStyles && !source.empty()) {
            AppendFontStyles(line, source, options.keepStyleMarkers != 0, &boldExceptions);
        } else {
            line.assign(source);
        }

        if (!quoteMarkup) {
            out += line;
        } else {
            const std::int64_t level = QuoteLevel(line);
            const std::int64_t levelClass = level % classCount;
            if (level != previousLevel) {
                if (inSignature) {
                    inSignature = false;
                    if (signatureBreak != kNone) {
                        // The signature ended at its last empty line: what
                        // follows it goes back to level 0, its anchors too.
                        out.insert(signatureBreak, kSignatureEnd);
                        for (std::size_t a = signatureBreak + kSignatureEnd.size();
                             (a = out.find(u"<A class=asig", a)) != kNone; a += 13) {
                            out.replace(a + 9, 4, u"0   ");
                        }
                    }
                }
                out += u"</span><span class=q";
                out += Utf16Number(levelClass);
                out += u'>';
                previousLevel = level;
            }
            if (inSignature && line.empty()) signatureBreak = out.size();
            if (line.size() <= 3 && (line == u"--" || line.starts_with(u"-- "))) {
                out += u"</span><span class=sig>";
                inSignature = true;
                signatureBreak = kNone;
            }
            attribute =
                inSignature ? String(u"class=asig ") : u"class=" + Utf16Number(levelClass) + u" ";
            AppendWithAnchorClasses(out, line, attribute);
        }
        if (br == kNone) break;
        out += kLineBreak;
        ls = le + kLineBreak.size();
    }
    html.swap(out);
}

}  // namespace nimbrel
