#include "coloring/HtmlKind.h"

#include <initializer_list>

namespace nimbrel {

namespace {

bool ContainsAny(StringView html, std::initializer_list<StringView> marks) {
    for (StringView mark : marks) {
        if (html.find(mark) != StringView::npos) return true;
    }
    return false;
}

}  // namespace

bool IsFormattedHtml(StringView html) {
    return ContainsAny(html, {u"<FONT ", u"<P>", u"<IMG", u"<I>", u"<B>", u"<FRAME", u"<SCRIPT",
                              u"<OBJECT", u"<PRE"});
}

bool IsHtmlComposition(StringView html) {
    return ContainsAny(html, {u"<DIV style=\"FONT:", u"<BLOCKQUOTE"});
}

bool IsColoredHtml(StringView html) {
    return ContainsAny(html, {u"<SPAN class=q0>"});
}

}  // namespace nimbrel
