#include "coloring/HtmlEscape.h"

#include <array>
#include <cstring>

#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

// The entities, each padded to eight units so that one is copied in one go.
constexpr char16_t kEntities[4][8] = {u"&amp;", u"&lt;", u"&gt;", u"&quot;"};
constexpr std::size_t kEntityLengths[4] = {5, 4, 4, 6};

// The index in kEntities of `c`'s entity, or -1 when `c` is written as it is.
int EntityIndex(char16_t c, bool attribute) {
    switch (c) {
        case u'&':
            return 0;
        case u'<':
            return 1;
        case u'>':
            return 2;
        case u'"':
            return attribute ? 3 : -1;
        default:
            return -1;
    }
}

void AppendEscaped(String& out, StringView text, bool attribute) {
    std::size_t copied = 0;
    for (std::size_t i = 0;;) {
        i = attribute ? FindAnyUnit(text, i, std::array<char16_t, 4>{u'&', u'<', u'>', u'"'})
                      : FindAnyUnit(text, i, std::array<char16_t, 3>{u'&', u'<', u'>'});
        if (i == StringView::npos) break;
        out.append(text.substr(copied, i - copied));
        // A run of characters to escape (a line of quote markers) is written
        // through a small buffer, not searched for and appended one by one.
        std::array<char16_t, 256> buffer;
        std::size_t n = 0;
        for (int e; i < text.size() && (e = EntityIndex(text[i], attribute)) >= 0; ++i) {
            if (n > buffer.size() - 8) {
                out.append(buffer.data(), n);
                n = 0;
            }
            std::memcpy(buffer.data() + n, kEntities[e], sizeof kEntities[e]);
            n += kEntityLengths[e];
        }
        out.append(buffer.data(), n);
        copied = i;
    }
    out.append(text.substr(copied));
}

}  // namespace

void AppendEscapedText(String& out, StringView text) {
    AppendEscaped(out, text, false);
}

void AppendEscapedAttribute(String& out, StringView text) {
    AppendEscaped(out, text, true);
}

String EscapeText(StringView text) {
    String out;
    out.reserve(text.size());
    AppendEscapedText(out, text);
    return out;
}

String EscapeAttribute(StringView text) {
    String out;
    out.reserve(text.size());
    AppendEscapedAttribute(out, text);
    return out;
}

}  // namespace nimbrel
