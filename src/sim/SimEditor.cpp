#include "sim/SimEditor.h"

#include <algorithm>
#include <string>

#include "sim/SimHtmlText.h"

namespace nimbrel {

namespace {

std::string ToUtf8(StringView text) {
    SimCodePage utf8;
    utf8.Set(SimCodePage::Kind::kUtf8);
    return utf8.ToBytes(text);
}

}  // namespace

String KeyTrace(std::uint8_t virtualKey, bool ctrl) {
    constexpr const char16_t* kDigits = u"0123456789ABCDEF";
    String trace = ctrl ? u"[Ctrl+" : u"[";
    trace += kDigits[virtualKey >> 4];
    trace += kDigits[virtualKey & 0xF];
    return trace + u"]";
}

SimEditor::SimEditor(SimClipboard& clipboard_, SimCodePage& codePage_)
    : clipboard(clipboard_), codePage(codePage_) {}

void SimEditor::KeyPressed(SimDocument& document, std::uint8_t virtualKey, bool ctrl) {
    document.ClampSelection();
    if (ctrl) {
        switch (virtualKey) {
            case vk::kEnd:
                document.CaretToEnd();
                break;
            case vk::kHome:
                document.CaretToStart();
                break;
            case vk::kA:
                document.SelectAll();
                break;
            case vk::kC:
                Copy(document);
                break;
            case vk::kV:
                if (std::optional<String> pasted = clipboard.ReadTextAs(kOeProcess)) {
                    document.ReplaceSelection(sim::NormalizeLineBreaks(*pasted));
                }
                break;
            default:
                break;
        }
        return;
    }
    switch (virtualKey) {
        case vk::kSpace:
            document.ReplaceSelection(u" ");
            break;
        case vk::kUp:
            document.CaretUp();
            break;
        default:
            break;
    }
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
    formats.emplace_back(cf::kUnicodeText, SimClipboard::UnicodeTextBytes(selected));
    formats.emplace_back(cf::kText, codePage.ToBytes(selected) + '\0');
    clipboard.Put(kOeProcess, formats);
}

}  // namespace nimbrel
