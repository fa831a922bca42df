#include "HostEditor.h"

#include <algorithm>
#include <string>

#include "platform/sim/SimHtmlText.h"

namespace nimbrel {

namespace {

constexpr DWORD kClipboardWait = 1000;

std::size_t LineStart(const String& text, std::size_t position) {
    const std::size_t lf = position == 0 ? String::npos : text.rfind(u'\n', position - 1);
    return lf == String::npos ? 0 : lf + 1;
}

std::string ToCodePage(UINT codePage, StringView text) {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(codePage, 0, wide, length, out.data(), size, nullptr, nullptr);
    return out;
}

String FromCodePage(UINT codePage, const char* bytes, std::size_t length) {
    if (length == 0) return String();
    const int size = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), nullptr, 0);
    String out(static_cast<std::size_t>(std::max(size, 0)), u'\0');
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length),
                        reinterpret_cast<wchar_t*>(out.data()), size);
    return out;
}

// Hands a block holding `bytes` and a NUL to the open clipboard.
bool Put(UINT format, const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (block == nullptr) return false;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return false;
    }
    CopyMemory(memory, bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(block);
    if (SetClipboardData(format, block) == nullptr) {
        GlobalFree(block);
        return false;
    }
    return true;
}

}  // namespace

bool OpenClipboardWithin(HWND owner, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!OpenClipboard(owner)) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(10);
    }
    return true;
}

std::optional<String> ReadClipboardText(HWND owner) {
    if (!OpenClipboardWithin(owner, kClipboardWait)) return std::nullopt;
    std::optional<String> text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
            const std::size_t size = GlobalSize(block);
            std::size_t length = 0;
            while (length < size && bytes[length] != '\0')
                ++length;
            text = FromCodePage(CP_THREAD_ACP, bytes, length);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

bool WriteClipboardText(HWND owner, StringView text) {
    if (!OpenClipboardWithin(owner, kClipboardWait)) return false;
    EmptyClipboard();
    const bool written = Put(CF_TEXT, ToCodePage(CP_THREAD_ACP, text));
    CloseClipboard();
    return written;
}

void HostEditor::KeyPressed(HWND owner, SimDocument& document, UINT virtualKey, bool ctrl) {
    const std::size_t length = document.InnerText().size();
    document.caret = std::min(document.caret, length);
    document.anchor = std::min(document.anchor, length);
    if (ctrl) {
        switch (virtualKey) {
            case VK_END:
                document.caret = document.anchor = length;
                break;
            case VK_HOME:
                document.caret = document.anchor = 0;
                break;
            case 'A':
                document.anchor = 0;
                document.caret = length;
                break;
            case 'C':
                Copy(owner, document);
                break;
            case 'V':
                Paste(owner, document);
                break;
            default:
                break;
        }
        return;
    }
    if (virtualKey == VK_SPACE) {
        Replace(document, u" ");
    } else if (virtualKey == VK_UP) {
        const String text = document.InnerText();
        const std::size_t lineStart = LineStart(text, document.caret);
        if (lineStart == 0) {
            document.anchor = document.caret;
            return;
        }
        const std::size_t column = document.caret - lineStart;
        const std::size_t previousStart = LineStart(text, lineStart - 1);
        std::size_t previousEnd = lineStart - 1;
        if (previousEnd > previousStart && text[previousEnd - 1] == u'\r') --previousEnd;
        document.caret = document.anchor =
            previousStart + std::min(column, previousEnd - previousStart);
    }
}

void HostEditor::Replace(SimDocument& document, StringView inserted) {
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

void HostEditor::Copy(HWND owner, const SimDocument& document) {
    const String text = document.InnerText();
    const std::size_t from = std::min(document.caret, document.anchor);
    const std::size_t to = std::max(document.caret, document.anchor);
    if (from == to) return;
    const StringView selected = StringView(text).substr(from, to - from);
    if (!OpenClipboardWithin(owner, kClipboardWait)) return;
    EmptyClipboard();
    if (document.htmlMessage) {
        const String fragment =
            from == 0 && to == text.size() ? document.InnerHtml() : sim::EscapeText(selected);
        Put(RegisterClipboardFormatW(L"HTML Format"),
            sim::MakeHtmlFormat(ToCodePage(CP_UTF8, fragment)));
    }
    Put(CF_TEXT, ToCodePage(CP_THREAD_ACP, selected));
    CloseClipboard();
}

void HostEditor::Paste(HWND owner, SimDocument& document) {
    if (const std::optional<String> pasted = ReadClipboardText(owner))
        Replace(document, sim::NormalizeLineBreaks(*pasted));
}

}  // namespace nimbrel
