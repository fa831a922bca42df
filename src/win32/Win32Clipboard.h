// The system clipboard on Windows (user32). The blocks it hands out and takes
// are HGLOBALs of Win32GlobalMemory.
#pragma once

#include "platform/Clipboard.h"

namespace nimbrel {

class Win32Clipboard : public Clipboard {
  public:
    bool OpenClipboard(WindowHandle newOwner) override;
    bool CloseClipboard() override;
    bool EmptyClipboard() override;
    MemoryHandle GetClipboardData(std::uint32_t format) override;
    MemoryHandle SetClipboardData(std::uint32_t format, MemoryHandle data) override;
    bool IsClipboardFormatAvailable(std::uint32_t format) override;
    std::uint32_t EnumClipboardFormats(std::uint32_t format) override;
    std::uint32_t RegisterClipboardFormatW(const char16_t* name) override;
    int GetClipboardFormatNameW(std::uint32_t format, char16_t* buffer, int maxCount) override;
};

}  // namespace nimbrel
