#include "platform/sim/SimEditor.h"

#include <algorithm>
#include <string>

#include "platform/sim/SimHtmlText.h"

namespace nimbrel {

namespace {

std::string ToUtf8(StringView text) {
    SimCodePage utf8;
    utf8.Set(SimCodePage::Kind::kUtf8);
    return utf8.ToBytes(text);
}

std::size_t LineStart(const String& text, std::size_t position) {
    const std::size_t lf = position == 0 ? String::npos : text.rfind(u'\n', position - 1);
    return lf == String::npos ? 0 : lf + 1;
}

}  // namespace

SimEditor::SimEditor(SimClipboard& clipboard_, SimCodePage& codePage_)
    : clipboard(clipboard_), codePage(codePage_) {}

void SimEditor::KeyPressed(SimDocument& document, std::uint8_t virtualKey, bool ctrl) {
    const std::size_t length = document.InnerText().size();
    document.caret = std::min(document.caret, length);
    document.anchor = std::min(document.anchor, length);

    if (ctrl) {
        switch (virtualKey) {
            case vk::kEnd:
                document.caret = document.anchor = length;
                break;
            case vk::kHome:
                document.caret = document.anchor = 0;
                break;
            case vk::kA:
                document.anchor = 0;
                document.caret = length;
                break;
            case vk::kC:
                Copy(document);
                break;
            case vk::kV:
                if (std::optional<String> pasted = clipboard.ReadTextAs(kOeProcess)) {
                    Replace(document, sim::NormalizeLineBreaks(*pasted));
                }
                break;
            default:
                break;
        }
        return;
    }
    switch (virtualKey) {
        case vk::kSpace:
            Replace(document, u" ");
            break;
        case vk::kUp: {
            const String text = document.InnerText();
            const std::size_t lineStart = LineStart(text, document.caret);
            if (lineStart == 0) {
                document.anchor = document.caret;
                break;
            }
            const std::size_t column = document.caret - lineStart;
            const std::size_t previousStart = LineStart(text, lineStart - 1);
            // The previous line ends before its CR LF.
            std::size_t previousEnd = lineStart - 1;
            if (previousEnd > previousStart && text[previousEnd - 1] == u'\r') --previousEnd;
            document.caret = document.anchor =
                previousStart + std::min(column, previousEnd - previousStart);
            break;
        }
        default:
            break;
    }
}

void SimEditor::Replace(SimDocument& document, StringView inserted) {
    const String text = document.InnerText();
    const std::size_t from = std::min(document.caret, document.anchor);
    const std::size_t to = std::max(document.caret, document.anchor);
    if (document.htmlMessage && from == to && to == text.size()) {
        // Typed at the very end: the message keeps its formatting.
        document.SetInnerHtml(document.InnerHtml() + sim::EscapeText(inserted));
        return;
    }
    String edited = text.substr(0, from);
    edited += inserted;
    edited += StringView(text).substr(to);
    document.SetInnerText(edited);
    document.caret = document.anchor = from + inserted.size();
}

void SimEditor::Copy(const SimDocument& document) {
    const String text = document.InnerText();
    const std::size_t from = std::min(document.caret, document.anchor);
    const std::size_t to = std::max(document.caret, document.anchor);
    if (from == to) return;
    const StringView selected = StringView(text).substr(from, to - from);

    std::vector<std::pair<std::uint32_t, std::string>> formats;
    if (document.htmlMessage) {
        const String fragment =
            from == 0 && to == text.size() ? document.InnerHtml() : sim::EscapeText(selected);
        const std::uint32_t htmlFormat = clipboard.RegisterClipboardFormatW(u"HTML Format");
        formats.emplace_back(htmlFormat, sim::MakeHtmlFormat(ToUtf8(fragment)) + '\0');
    }
    formats.emplace_back(cf::kText, codePage.ToBytes(selected) + '\0');
    clipboard.Put(kOeProcess, formats);
}

}  // namespace nimbrel
