// The system clipboard (user32). One process at a time has it open; data is
// held in global memory blocks (GlobalMemory) by format.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // OpenClipboard: false while another process has the clipboard open.
    // Succeeds again when this thread has it open already.
    virtual bool OpenClipboard(WindowHandle newOwner) = 0;
    // CloseClipboard: false when this thread does not have it open.
    virtual bool CloseClipboard() = 0;
    // EmptyClipboard: frees all data; needs the clipboard open.
    virtual bool EmptyClipboard() = 0;
    // GetClipboardData: the block holding `format`, owned by the clipboard
    // (never freed by the caller); kNoMemory when absent or not open.
    virtual MemoryHandle GetClipboardData(std::uint32_t format) = 0;
    // SetClipboardData: hands `data` to the clipboard, which owns it from then
    // on; returns `data`, or kNoMemory on failure (the caller keeps the block).
    virtual MemoryHandle SetClipboardData(std::uint32_t format, MemoryHandle data) = 0;
    // IsClipboardFormatAvailable: works without opening the clipboard.
    virtual bool IsClipboardFormatAvailable(std::uint32_t format) = 0;
    // EnumClipboardFormats: the format after `format` (the first for 0); 0 at
    // the end or when the clipboard is not open.
    virtual std::uint32_t EnumClipboardFormats(std::uint32_t format) = 0;
    // RegisterClipboardFormatW: the format number for `name` (letter case
    // ignored), 0xC000 or above; 0 on failure.
    virtual std::uint32_t RegisterClipboardFormatW(const char16_t* name) = 0;
    // GetClipboardFormatNameW: copies at most maxCount - 1 units of a
    // registered format's name and a NUL; the number of units copied, 0 for a
    // predefined or unknown format.
    virtual int GetClipboardFormatNameW(std::uint32_t format, char16_t* buffer, int maxCount) = 0;
};

}  // namespace nimbrel
