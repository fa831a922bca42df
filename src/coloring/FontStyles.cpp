#include "coloring/FontStyles.h"

#include <array>

#include "reformat/QuoteFormatter.h"
#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;
constexpr std::array<char16_t, 3> kMarkers = {u'*', u'/', u'_'};
constexpr std::array<StringView, 3> kOpenTags = {u"<B>", u"<I>", u"<U>"};
constexpr std::array<StringView, 3> kCloseTags = {u"</B>", u"</I>", u"</U>"};
constexpr std::size_t kBold = 0;
// What ends a stretch of plain text: a tag or a marker.
constexpr std::array<char16_t, 4> kStops = {u'<', u'*', u'/', u'_'};

bool IsWordChar(char16_t c) {
    return QuoteFormatter::IsWordChar(c);
}

int MarkerIndex(char16_t c) {
    for (std::size_t m = 0; m < kMarkers.size(); ++m) {
        if (kMarkers[m] == c) return static_cast<int>(m);
    }
    return -1;
}

}  // namespace

void AppendFontStyles(String& out, StringView line, bool keepStyleMarkers,
                      const EmoticonCodeSet* boldExceptions) {
    const std::size_t lineStart = out.size();
    // Open positions are indexes into `out`: the tags written for one pair
    // move the open positions of the others that lie inside it.
    std::array<std::size_t, 3> open = {kNone, kNone, kNone};
    // A '<' after the last '>' of the line starts no tag; the last '>' is
    // looked for at the first '<'.
    std::size_t lastGt = kNone;
    bool lastGtKnown = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        const char16_t next = i + 1 < line.size() ? line[i + 1] : u'\0';
        if (c == u'<') {
            if (next == u'A' || next == u'a') open = {kNone, kNone, kNone};
            if (!lastGtKnown) {
                lastGt = line.rfind(u'>');
                lastGtKnown = true;
            }
            if (lastGt != kNone && i < lastGt) {
                const std::size_t gt = FindUnit(line, i, u'>');
                out.append(line.substr(i, gt - i + 1));
                i = gt;
                continue;
            }
            out += c;
            continue;
        }
        const int marker = MarkerIndex(c);
        if (marker < 0) {
            // Plain text up to the next tag or marker goes over as it is.
            std::size_t stop = FindAnyUnit(line, i + 1, kStops);
            if (stop == kNone) stop = line.size();
            out.append(line, i, stop - i);
            i = stop - 1;
            continue;
        }
        const std::size_t m = static_cast<std::size_t>(marker);
        // What the line reads just before `i` now, tags written so far included.
        const bool hasPrevious = out.size() > lineStart;
        const char16_t previous = hasPrevious ? out.back() : u'\0';
        if (c == u'/' && previous == u'<') {
            out += c;
            continue;
        }
        if (open[m] == kNone) {
            if (IsWordChar(next) && (!hasPrevious || !IsWordChar(previous)) &&
                !(c == u'/' && previous == u'/')) {
                open[m] = out.size();
            }
            out += c;
            continue;
        }
        if ((i + 1 != line.size() && IsWordChar(next)) || !IsWordChar(previous)) {
            open[m] = kNone;
            out += c;
            continue;
        }
        const std::size_t o = open[m];
        open[m] = kNone;
        if (m == kBold && boldExceptions != nullptr && !boldExceptions->empty()) {
            String candidate(out, o);
            candidate += c;
            if (boldExceptions->count(candidate) != 0) {
                out += c;
                continue;
            }
        }
        std::size_t shift = 0;
        if (keepStyleMarkers) {
            out.insert(o, kOpenTags[m]);
            out += c;
            shift = kOpenTags[m].size();
        } else {
            out.replace(o, 1, kOpenTags[m]);
            shift = kOpenTags[m].size() - 1;
        }
        out += kCloseTags[m];
        for (std::size_t& other : open) {
            if (other != kNone && other > o) other += shift;
        }
    }
}

}  // namespace nimbrel
