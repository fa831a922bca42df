#include "coloring/HtmlEscape.h"

namespace nimbrel {

namespace {

void AppendEscaped(String& out, StringView text, bool attribute) {
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        StringView entity;
        switch (text[i]) {
            case u'&':
                entity = u"&amp;";
                break;
            case u'<':
                entity = u"&lt;";
                break;
            case u'>':
                entity = u"&gt;";
                break;
            case u'"':
                if (attribute) entity = u"&quot;";
                break;
            default:
                break;
        }
        if (entity.empty()) continue;
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
