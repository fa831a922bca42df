#include "coloring/HtmlEscape.h"

#include <array>

#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

void AppendEscaped(String& out, StringView text, bool attribute) {
    std::size_t copied = 0;
    for (std::size_t i = 0;; ++i) {
        i = attribute ? FindAnyUnit(text, i, std::array<char16_t, 4>{u'&', u'<', u'>', u'"'})
                      : FindAnyUnit(text, i, std::array<char16_t, 3>{u'&', u'<', u'>'});
        if (i == StringView::npos) break;
        const char16_t c = text[i];
        const StringView entity = c == u'&'   ? StringView(u"&amp;")
                                  : c == u'<' ? StringView(u"&lt;")
                                  : c == u'>' ? StringView(u"&gt;")
                                              : StringView(u"&quot;");
        out.append(text.substr(copied, i - copied));
        out.append(entity);
        copied = i + 1;
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
