#include "sim/SimHtmlText.h"

#include <array>

#include "sim/SimStrings.h"

namespace nimbrel::sim {

namespace {

constexpr StringView kLineBreak = u"\r\n";

bool EndsWithLineBreak(const String& s) {
    return s.size() >= 2 && s[s.size() - 2] == u'\r' && s.back() == u'\n';
}

bool IsBlockTag(StringView name) {
    static constexpr std::array<StringView, 15> kBlocks = {
        u"p",  u"div", u"blockquote", u"pre", u"li", u"tr", u"table", u"ul",
        u"ol", u"h1",  u"h2",         u"h3",  u"h4", u"h5", u"h6"};
    for (StringView block : kBlocks) {
        if (EqualsIgnoreCase(name, block)) return true;
    }
    return false;
}

bool IsAsciiAlnum(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

void AppendCodePoint(String& out, unsigned long cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Decodes the entity at `html[i]` ('&') into `out`; the number of units it
// took, 0 when it is not one the renderer knows.
std::size_t DecodeEntity(StringView html, std::size_t i, String& out) {
    // Entities are short: the search stays local, so a text full of '&'
    // remains linear.
    const std::size_t found = html.substr(i, 12).find(u';');
    if (found == StringView::npos) return 0;
    const std::size_t semicolon = i + found;
    const StringView name = html.substr(i + 1, semicolon - i - 1);
    static constexpr std::array<std::pair<StringView, char16_t>, 6> kNamed = {{{u"amp", u'&'},
                                                                               {u"lt", u'<'},
                                                                               {u"gt", u'>'},
                                                                               {u"quot", u'"'},
                                                                               {u"apos", u'\''},
                                                                               {u"nbsp", u' '}}};
    for (const auto& [entity, value] : kNamed) {
        if (EqualsIgnoreCase(name, entity)) {
            out.push_back(value);
            return semicolon - i + 1;
        }
    }
    if (name.size() < 2 || name[0] != u'#') return 0;
    const bool hex = name[1] == u'x' || name[1] == u'X';
    const StringView digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    unsigned long value = 0;
    for (const char16_t c : digits) {
        int digit;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (hex && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (hex && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        } else {
            return 0;
        }
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    AppendCodePoint(out, value);
    return semicolon - i + 1;
}

std::string TenDigits(std::size_t value) {
    std::string digits(10, '0');
    for (std::size_t i = digits.size(); i-- > 0 && value != 0; value /= 10) {
        digits[i] = static_cast<char>('0' + value % 10);
    }
    return digits;
}

}  // namespace

String EscapeText(StringView text) {
    String html;
    html.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (const char16_t c = text[i]) {
            case u'&':
                html += u"&amp;";
                break;
            case u'<':
                html += u"&lt;";
                break;
            case u'>':
                html += u"&gt;";
                break;
            case u'\r':
                if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
                html += u"<BR>";
                break;
            case u'\n':
                html += u"<BR>";
                break;
            default:
                html.push_back(c);
        }
    }
    return html;
}

String NormalizeLineBreaks(StringView text) {
    String out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += kLineBreak;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

String RenderText(StringView html) {
    String text;
    text.reserve(html.size());
    std::size_t nextClose = 0;
    // A block boundary breaks the line only when text follows it.
    bool pendingBreak = false;
    const auto append = [&](StringView piece) {
        if (pendingBreak) text += kLineBreak;
        pendingBreak = false;
        text += piece;
    };
    for (std::size_t i = 0; i < html.size();) {
        const char16_t c = html[i];
        if (c == u'<' && html.substr(i, 4) == u"<!--") {
            const std::size_t end = html.find(u"-->", i + 4);
            i = end == StringView::npos ? html.size() : end + 3;
        } else if (c == u'<') {
            // The next '>' is looked up once per tag, never again for each
            // '<' of a text that has none, so the loop stays linear.
            if (nextClose != StringView::npos && nextClose <= i) nextClose = html.find(u'>', i + 1);
            const std::size_t end = nextClose;
            if (end == StringView::npos) {  // not a tag after all
                append(u"<");
                ++i;
                continue;
            }
            std::size_t nameStart = i + 1;
            if (nameStart < end && html[nameStart] == u'/') ++nameStart;
            std::size_t nameEnd = nameStart;
            while (nameEnd < end && IsAsciiAlnum(html[nameEnd]))
                ++nameEnd;
            const StringView name = html.substr(nameStart, nameEnd - nameStart);
            if (EqualsIgnoreCase(name, u"br")) {
                append(kLineBreak);
            } else if (IsBlockTag(name) && !text.empty() && !EndsWithLineBreak(text)) {
                pendingBreak = true;
            }
            i = end + 1;
        } else if (c == u'&') {
            String decoded;
            const std::size_t used = DecodeEntity(html, i, decoded);
            append(used == 0 ? StringView(u"&") : StringView(decoded));
            i += used == 0 ? 1 : used;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < html.size() && html[i + 1] == u'\n') ++i;
            append(u" ");
            ++i;
        } else {
            append(StringView(&html[i], 1));
            ++i;
        }
    }
    return text;
}

std::string MakeHtmlFormat(std::string_view fragmentUtf8) {
    constexpr std::string_view kPageStart = "<html><body>\r\n<!--StartFragment-->";
    constexpr std::string_view kPageEnd = "<!--EndFragment-->\r\n</body>\r\n</html>";
    // Four ten-digit offsets keep the header's length fixed.
    constexpr std::size_t kHeaderLength =
        std::string_view(
            "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\n"
            "StartFragment:0000000000\r\nEndFragment:0000000000\r\n")
            .size();
    const std::size_t startFragment = kHeaderLength + kPageStart.size();
    const std::size_t endFragment = startFragment + fragmentUtf8.size();
    const std::size_t endHtml = endFragment + kPageEnd.size();
    std::string out = "Version:0.9\r\nStartHTML:" + TenDigits(kHeaderLength) +
                      "\r\nEndHTML:" + TenDigits(endHtml) +
                      "\r\nStartFragment:" + TenDigits(startFragment) +
                      "\r\nEndFragment:" + TenDigits(endFragment) + "\r\n";
    out += kPageStart;
    out += fragmentUtf8;
    out += kPageEnd;
    return out;
}

}  // namespace nimbrel::sim
