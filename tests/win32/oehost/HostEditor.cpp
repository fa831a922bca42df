#include "HostEditor.h"

#include <algorithm>
#include <string>

#include "sim/SimHtmlText.h"

namespace nimbrel {

namespace {

constexpr DWORD kClipboardWait = 1000;

std::string ToCodePage(UINT codePage, StringView text) {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(codePage, 0, wide, length, out.data(), size, nullptr, nullptr);
    return out;
}

// Hands a block holding `bytes` and a NUL (of `nulSize` bytes) to the open
// clipboard.
bool Put(UINT format, std::string bytes, std::size_t nulSize = 1) {
    bytes.append(nulSize, '\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return false;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return false;
    }
    CopyMemory(memory, bytes.data(), bytes.size());
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

// The units of `text` as bytes.
std::string UnitBytes(StringView text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

std::optional<String> ReadClipboardText(HWND owner) {
    if (!OpenClipboardWithin(owner, kClipboardWait)) return std::nullopt;
    std::optional<String> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(block))) {
            const std::size_t size = GlobalSize(block) / sizeof(char16_t);
            std::size_t length = 0;
            while (length < size && units[length] != u'\0')
                ++length;
            text = String(units, length);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

bool WriteClipboardText(HWND owner, StringView text) {
    if (!OpenClipboardWithin(owner, kClipboardWait)) return false;
    EmptyClipboard();
    const bool written = Put(CF_UNICODETEXT, UnitBytes(text), sizeof(char16_t));
    CloseClipboard();
    return written;
}

void HostEditor::KeyPressed(HWND owner, SimDocument& document, UINT virtualKey, bool ctrl) {
    document.ClampSelection();
    if (ctrl) {
        switch (virtualKey) {
            case VK_END:
                document.CaretToEnd();
                break;
            case VK_HOME:
                document.CaretToStart();
                break;
            case 'A':
                document.SelectAll();
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
        document.ReplaceSelection(u" ");
    } else if (virtualKey == VK_UP) {
        document.CaretUp();
    }
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
    Put(CF_UNICODETEXT, UnitBytes(selected), sizeof(char16_t));
    Put(CF_TEXT, ToCodePage(CP_THREAD_ACP, selected));
    CloseClipboard();
}

void HostEditor::Paste(HWND owner, SimDocument& document) {
    if (const std::optional<String> pasted = ReadClipboardText(owner))
        document.ReplaceSelection(sim::NormalizeLineBreaks(*pasted));
}

}  // namespace nimbrel
