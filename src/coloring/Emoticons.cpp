#include "coloring/Emoticons.h"

#include "coloring/HtmlEscape.h"
#include "reformat/QuoteFormatter.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;

// A code touching one of these is part of a word, a path or an address.
bool Blocks(char16_t c) {
    return QuoteFormatter::IsWordChar(c) || c == u'/' || c == u'.';
}

}  // namespace

String EmoticonImagePrefix(StringView installDirectory, char16_t separator) {
    String path(installDirectory);
    path += separator;
    path += u"emoticons";
    path += separator;
    String prefix = u"<IMG src=\"";
    AppendEscapedAttribute(prefix, path);
    return prefix;
}

void ReplaceEmoticons(String& html, std::span<const EmoticonEntry> table, StringView imagePrefix) {
    String out;
    String image;
    for (const EmoticonEntry& entry : table) {
        const StringView code = entry.code;
        // Message text holds '<' and '>' only as "&lt;" and "&gt;"; a code
        // with a raw one could only match a tag.
        if (code.empty() || code.find_first_of(u"<>") != kNone || html.find(code) == kNone)
            continue;
        image.assign(imagePrefix);
        AppendEscapedAttribute(image, entry.image);
        image += u"\">";

        // `out` and `html` change places after each entry; both get room to
        // spare once, so that neither is moved again as the text grows.
        out.clear();
        if (out.capacity() < html.size() + html.size() / 4)
            out.reserve(html.size() + html.size() / 2);
        // A '<' after the last '>' starts no tag.
        const std::size_t lastGt = html.rfind(u'>');
        bool inTag = false;
        std::size_t i = 0;  // html[..i) is in `out`
        // The next '<' (outside a tag) or '>' (inside one) at or after `i`,
        // kept between calls so that a long stretch without tags is searched
        // once, not once per occurrence of the code.
        std::size_t mark = 0;
        bool markKnown = false;
        const auto copyUpTo = [&](std::size_t to) {
            while (i < to) {
                if (!markKnown || mark < i) {
                    mark = html.find(inTag ? u'>' : u'<', i);
                    markKnown = true;
                }
                if (mark == kNone || mark >= to) {
                    out.append(html, i, to - i);
                    i = to;
                    return;
                }
                out.append(html, i, mark + 1 - i);
                inTag = !inTag && lastGt != kNone && mark < lastGt;
                i = mark + 1;
                markKnown = false;
            }
        };
        for (std::size_t found; (found = html.find(code, i)) != kNone;) {
            copyUpTo(found);
            const std::size_t after = found + code.size();
            if (!inTag && (out.empty() || !Blocks(out.back())) &&
                (after == html.size() || !Blocks(html[after]))) {
                out += image;
                i = after;
            } else {
                copyUpTo(found + 1);
            }
        }
        copyUpTo(html.size());
        html.swap(out);
    }
}

}  // namespace nimbrel
