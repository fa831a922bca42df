// TEMPORARY: stands in for the reformatting engine until it lands on main;
// removed at the merge.
#include "reformat/QuoteFormatter.h"
#include "reformat/ViewReformat.h"

namespace nimbrel {

bool QuoteFormatter::IsWordChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c >= 128;
}

void ViewReformat(const Settings&, String& text) {
    String out;
    for (char16_t c : text) {
        if (c != u'\r') out += c;
    }
    while (!out.empty() && out.back() == u'\n')
        out.pop_back();
    text.swap(out);
}

}  // namespace nimbrel
