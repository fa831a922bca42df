#include "compose/ClipboardText.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace nimbrel {

namespace {

constexpr int kFormatNameUnits = 256;

}  // namespace

ClipboardText::ClipboardText(Platform& platform_) : platform(platform_) {}

bool ClipboardText::OpenWithTimeout(std::int32_t timeout) {
    if (opened) return false;
    const std::uint32_t limit = static_cast<std::uint32_t>(std::max(timeout, 0));
    const std::uint32_t start = platform.system.timeGetTime();
    while (!platform.clipboard.OpenClipboard(kNoWindow)) {
        if (platform.system.timeGetTime() - start > limit) return true;
        // Leaves the processor to whoever holds the clipboard.
        platform.system.Sleep(1);
    }
    opened = 1;
    return false;
}

bool ClipboardText::ReadFormat(std::uint32_t format) {
    if (!opened && !platform.clipboard.OpenClipboard(kNoWindow)) return true;

    bool failed = true;
    const MemoryHandle data = platform.clipboard.GetClipboardData(format);
    if (data != kNoMemory) {
        if (const void* locked = platform.memory.GlobalLock(data)) {
            const char* bytes = static_cast<const char*>(locked);
            const std::size_t size = platform.memory.GlobalSize(data);
            const std::size_t length = std::find(bytes, bytes + size, '\0') - bytes;
            heldText = platform.system.MultiByteToWideChar(std::string_view(bytes, length));
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
    if (ReadFormat(cf::kText)) return true;
    text = heldText;
    return false;
}

bool ClipboardText::Empty() {
    if (!opened && !platform.clipboard.OpenClipboard(kNoWindow)) return true;
    platform.clipboard.EmptyClipboard();
    platform.clipboard.CloseClipboard();
    opened = 0;
    return false;
}

int ClipboardText::WriteText(StringView text) {
    const std::string bytes = platform.system.WideCharToMultiByte(text);
    const std::size_t size = bytes.size() + 1;  // with the NUL

    const MemoryHandle block = platform.memory.GlobalAlloc(gmem::kDdeShare, size);
    if (block == kNoMemory) return 1;
    void* locked = platform.memory.GlobalLock(block);
    if (locked == nullptr) {
        platform.memory.GlobalFree(block);
        return 2;
    }
    std::memcpy(locked, bytes.c_str(), size);
    platform.memory.GlobalUnlock(block);

    if (!opened && !platform.clipboard.OpenClipboard(kNoWindow)) {
        platform.memory.GlobalFree(block);
        return 3;
    }
    platform.clipboard.EmptyClipboard();
    const bool refused = platform.clipboard.SetClipboardData(cf::kText, block) == kNoMemory;
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
