#include "sim/SimDocument.h"

#include <algorithm>

#include "sim/SimHtmlText.h"

namespace nimbrel {

namespace {

// The start of the line that holds `position`.
std::size_t LineStart(const String& text, std::size_t position) {
    const std::size_t lf = position == 0 ? String::npos : text.rfind(u'\n', position - 1);
    return lf == String::npos ? 0 : lf + 1;
}

}  // namespace

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

void SimDocument::ClampSelection() {
    const std::size_t length = InnerText().size();
    caret = std::min(caret, length);
    anchor = std::min(anchor, length);
}

void SimDocument::CaretToEnd() {
    caret = anchor = InnerText().size();
}

void SimDocument::CaretToStart() {
    caret = anchor = 0;
}

void SimDocument::SelectAll() {
    anchor = 0;
    caret = InnerText().size();
}

void SimDocument::CaretUp() {
    const String text = InnerText();
    const std::size_t lineStart = LineStart(text, caret);
    if (lineStart == 0) {
        anchor = caret;
        return;
    }
    const std::size_t column = caret - lineStart;
    const std::size_t previousStart = LineStart(text, lineStart - 1);
    // The previous line ends before its CR LF.
    std::size_t previousEnd = lineStart - 1;
    if (previousEnd > previousStart && text[previousEnd - 1] == u'\r') --previousEnd;
    caret = anchor = previousStart + std::min(column, previousEnd - previousStart);
}

void SimDocument::ReplaceSelection(StringView inserted) {
    const String text = InnerText();
    const std::size_t from = std::min(caret, anchor);
    const std::size_t to = std::max(caret, anchor);
    if (htmlMessage && from == to && to == text.size()) {
        SetInnerHtml(html + sim::EscapeText(inserted));
        return;
    }
    String edited = text.substr(0, from);
    edited += inserted;
    edited += StringView(text).substr(to);
    SetInnerText(edited);
    caret = anchor = from + inserted.size();
}

}  // namespace nimbrel
