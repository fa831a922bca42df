// Shared by the coloring harnesses and the corpus tests: checks that HTML
// written by the coloring is well formed (every '<' starts a tag the coloring
// writes, tags end at the next '>' with their quotes paired, no '>' outside a
// tag, anchors closed, never nested, and only for the schemes that are linked).
#pragma once

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "shell/Text.h"
#include "shell/Utf.h"

namespace nimbrel::fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

// The target of an anchor tag starts with one of the schemes that are linked.
inline bool HasLinkedScheme(StringView tag) {
    const std::size_t href = tag.find(u"HREF=\"");
    if (href == StringView::npos) return false;
    const StringView target = tag.substr(href + 6);
    for (StringView scheme : {u"http://", u"https://", u"ftp://", u"news:", u"mailto:"}) {
        if (target.starts_with(scheme)) return true;
    }
    return false;
}

// "" for well-formed markup, else what is wrong and where.
inline std::string MarkupError(StringView html) {
    static const std::initializer_list<StringView> kTags = {
        u"<A ",     u"</A>",         u"<BR>",       u"<B>",  u"</B>",
        u"<I>",     u"</I>",         u"<U>",        u"</U>", u"<SPAN class=q0>",
        u"</span>", u"<span class=", u"<IMG src=\""};
    bool inAnchor = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == u'>') return "raw '>' at " + std::to_string(i);
        if (html[i] != u'<') continue;
        const StringView rest = html.substr(i);
        if (std::none_of(kTags.begin(), kTags.end(),
                         [&](StringView tag) { return rest.starts_with(tag); }))
            return "unknown tag: " + Utf16ToUtf8(rest.substr(0, 20));
        const std::size_t end = html.find(u'>', i);
        if (end == StringView::npos) return "unclosed tag at " + std::to_string(i);
        const StringView tag = html.substr(i, end - i + 1);
        if (tag.find(u'<', 1) != StringView::npos) return "'<' inside a tag: " + Utf16ToUtf8(tag);
        if (std::count(tag.begin(), tag.end(), u'"') % 2 != 0)
            return "unpaired quote: " + Utf16ToUtf8(tag);
        if (tag.starts_with(u"<A ")) {
            if (inAnchor) return "nested anchor: " + Utf16ToUtf8(tag);
            if (!HasLinkedScheme(tag)) return "scheme not linked: " + Utf16ToUtf8(tag);
            inAnchor = true;
        } else if (tag == u"</A>") {
            if (!inAnchor) return "stray </A>";
            inAnchor = false;
        }
        i = end;
    }
    return inAnchor ? "unclosed anchor" : "";
}

inline void CheckMarkup(StringView html) {
    Check(MarkupError(html).empty());
}

}  // namespace nimbrel::fuzz
