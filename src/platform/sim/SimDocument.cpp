#include "platform/sim/SimDocument.h"

#include <algorithm>

#include "platform/sim/SimHtmlText.h"

namespace nimbrel {

String SimDocument::InnerText() const {
    return sim::RenderText(html);
}

void SimDocument::SetInnerHtml(StringView newHtml) {
    html = String(newHtml);
    caret = anchor = InnerText().size();
}

void SimDocument::SetInnerText(StringView text) {
    SetInnerHtml(sim::EscapeText(text));
}

int SimDocument::CaretLine() const {
    const String text = InnerText();
    const std::size_t end = std::min(caret, text.size());
    return static_cast<int>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), u'\n'));
}

}  // namespace nimbrel
