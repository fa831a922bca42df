#include "reformat/QuoteHeader.h"

namespace nimbrel {

bool ParseSender(StringView text, HeaderFields& fields) {
    fields.nameMissing = 0;
    const std::size_t open = text.find(u'<');
    const std::size_t close = text.find(u'>');
    if (open == StringView::npos || close == StringView::npos || close < open) return true;
    fields.mail = String(text.substr(open + 1, close - open - 1));

    const std::size_t firstQuote = text.find(u'"');
    const std::size_t lastQuote = text.rfind(u'"');
    if (firstQuote != StringView::npos && lastQuote > firstQuote) {
        fields.name = String(text.substr(firstQuote + 1, lastQuote - firstQuote - 1));
        return false;
    }
    StringView before = text.substr(0, open);
    const auto isTrimmed = [](char16_t c) { return c == u'"' || c == u' '; };
    while (!before.empty() && isTrimmed(before.front()))
        before.remove_prefix(1);
    while (!before.empty() && isTrimmed(before.back()))
        before.remove_suffix(1);
    if (before.empty()) {
        fields.nameMissing = 1;
        fields.name = fields.mail;
    } else {
        fields.name = String(before);
    }
    return false;
}

String BuildQuoteHeader(const HeaderFields& fields, std::uint32_t style,
                        StringView headerTemplate) {
    switch (style) {
        case kHeaderNameWrote:
            return fields.name + u" wrote:";
        case kHeaderNameMailWrote:
            if (fields.nameMissing) return fields.name + u" wrote:";
            return fields.name + u" <" + fields.mail + u"> wrote:";
        case kHeaderTemplate:
            break;
        default:
            return String();
    }
    String out;
    out.reserve(headerTemplate.size());
    for (std::size_t i = 0; i < headerTemplate.size(); ++i) {
        const char16_t c = headerTemplate[i];
        const char16_t next = i + 1 < headerTemplate.size() ? headerTemplate[i + 1] : u'\0';
        const String* value = nullptr;
        if (c == u'%') {
            if (next == u'n') value = &fields.name;
            if (next == u'm') value = &fields.mail;
            if (next == u't') value = &fields.time;
            if (next == u'l') value = &fields.link;
        }
        if (value != nullptr) {
            out += *value;
            ++i;
        } else if (c == u'\\' && next == u'n') {
            out += u'\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

StringView TemplateText(const QuoteHeaderSetting& setting) {
    std::size_t length = 0;
    while (length < kTemplateUnits && setting.text[length] != u'\0')
        ++length;
    return StringView(setting.text, length);
}

}  // namespace nimbrel
