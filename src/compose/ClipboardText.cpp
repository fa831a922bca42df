#include "compose/ClipboardText.h"

#include "compose/AnsweringWait.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace nimbrel {

namespace {

constexpr int kFormatNameUnits = 256;

}  // namespace

ClipboardText::ClipboardText(Platform& platform_, WindowHandle owner_)
    : platform(platform_), owner(owner_) {}

bool ClipboardText::OpenWithTimeout(std::int32_t timeout) {
    if (opened) return false;
    return Open(owner, timeout);
}

bool ClipboardText::Open(WindowHandle window, std::int32_t timeout) {
    const std::uint32_t limit = static_cast<std::uint32_t>(std::max(timeout, 0));
    const std::uint32_t start = platform.system.timeGetTime();
    while (!platform.clipboard.OpenClipboard(window)) {
        if (platform.system.timeGetTime() - start > limit) return true;
        // Leaves the processor to whoever holds the clipboard, and answers
        // it should it be waiting for the program.
        WaitAnsweringMessages(platform, 1);
    }
    opened = 1;
    return false;
}

bool ClipboardText::ReadFormat(std::uint32_t format) {
    if (!opened && !platform.clipboard.OpenClipboard(owner)) return true;

    bool failed = true;
    const MemoryHandle data = platform.clipboard.GetClipboardData(format);
    if (data != kNoMemory) {
        if (const void* locked = platform.memory.GlobalLock(data)) {
            const char* bytes = static_cast<const char*>(locked);
            const std::size_t size = platform.memory.GlobalSize(data);
            if (format == cf::kUnicodeText) {
                String units(size / sizeof(char16_t), u'\0');
                std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
                heldText = units.substr(0, units.find(u'\0'));
            } else {
                const std::size_t length = std::find(bytes, bytes + size, '\0') - bytes;
                heldText = platform.system.MultiByteToWideChar(std::string_view(bytes, length));
            }
            platform.memory.GlobalUnlock(data);
            failed = false;
        }
    }
    platform.clipboard.CloseClipboard();
    opened = 0;
    return failed;
}

int ClipboardText::ReadHtmlFormat() {
    for (std::uint32_t format = platform.clipboard.EnumClipboardFormats(0); format != 0;
         format = platform.clipboard.EnumClipboardFormats(format)) {
        char16_t name[kFormatNameUnits] = {};
        const int length =
            platform.clipboard.GetClipboardFormatNameW(format, name, kFormatNameUnits);
        if (length > 0 &&
            StringView(name, static_cast<std::size_t>(length)) == kHtmlClipboardFormat) {
            return ReadFormat(format) ? 1 : 0;
        }
    }
    return -1;
}

bool ClipboardText::ReadText(String& text) {
    const std::uint32_t format = platform.clipboard.IsClipboardFormatAvailable(cf::kUnicodeText)
                                     ? cf::kUnicodeText
                                     : cf::kText;
    if (ReadFormat(format)) return true;
    text = heldText;
    return false;
}

bool ClipboardText::Empty(std::int32_t timeout) {
    if (opened) {
        platform.clipboard.CloseClipboard();
        opened = 0;
    }
    if (Open(kNoWindow, timeout)) return true;
    const bool emptied = platform.clipboard.EmptyClipboard();
    platform.clipboard.CloseClipboard();
    opened = 0;
    return !emptied;
}

int ClipboardText::WriteText(StringView text) {
    const String units = String(text) + u'\0';
    const std::size_t size = units.size() * sizeof(char16_t);

    // The clipboard takes only moveable memory.
    const MemoryHandle block = platform.memory.GlobalAlloc(gmem::kMoveable, size);
    if (block == kNoMemory) return 1;
    void* locked = platform.memory.GlobalLock(block);
    if (locked == nullptr) {
        platform.memory.GlobalFree(block);
        return 2;
    }
    std::memcpy(locked, units.data(), size);
    platform.memory.GlobalUnlock(block);

    if (!opened && !platform.clipboard.OpenClipboard(owner)) {
        platform.memory.GlobalFree(block);
        return 3;
    }
    platform.clipboard.EmptyClipboard();
    const bool refused = platform.clipboard.SetClipboardData(cf::kUnicodeText, block) == kNoMemory;
    // A refused block is still ours.
    if (refused) platform.memory.GlobalFree(block);
    platform.clipboard.CloseClipboard();
    opened = 0;
    return refused ? 4 : 0;
}

int ClipboardText::WriteHeldText() {
    return WriteText(heldText);
}

}  // namespace nimbrel
