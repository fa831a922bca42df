// Shared by the coloring harnesses: checks that HTML written by the coloring
// is well formed (every '<' starts a tag the coloring writes, tags end at the
// next '>' with their quotes paired, no '>' outside a tag, anchors closed and
// never nested). Aborts otherwise.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "shell/Text.h"

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

inline void CheckMarkup(StringView html) {
    static const std::initializer_list<StringView> kTags = {
        u"<A ",     u"</A>",         u"<BR>",       u"<B>",  u"</B>",
        u"<I>",     u"</I>",         u"<U>",        u"</U>", u"<SPAN class=q0>",
        u"</span>", u"<span class=", u"<IMG src=\""};
    bool inAnchor = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        Check(html[i] != u'>');
        if (html[i] != u'<') continue;
        const StringView rest = html.substr(i);
        Check(std::any_of(kTags.begin(), kTags.end(),
                          [&](StringView tag) { return rest.starts_with(tag); }));
        const std::size_t end = html.find(u'>', i);
        Check(end != StringView::npos);
        const StringView tag = html.substr(i, end - i + 1);
        Check(tag.find(u'<', 1) == StringView::npos);
        Check(std::count(tag.begin(), tag.end(), u'"') % 2 == 0);
        if (tag.starts_with(u"<A ")) {
            Check(!inAnchor);
            Check(HasLinkedScheme(tag));
            inAnchor = true;
        } else if (tag == u"</A>") {
            Check(inAnchor);
            inAnchor = false;
        }
        i = end;
    }
    Check(!inAnchor);
}

}  // namespace nimbrel::fuzz
