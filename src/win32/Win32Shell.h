// The shell on Windows (shell32). The seam's NotifyIconData becomes a
// NOTIFYICONDATAW whose cbSize is the size of the same record version for
// this build: the version-2 record (936 bytes on 32-bit Windows, where the
// program's record size comes from, larger on 64-bit Windows) unless the
// program asks for the version-1 record.
#pragma once

#include "platform/Shell.h"

namespace nimbrel {

class Win32Shell : public Shell {
  public:
    std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* verb, const char16_t* file,
                                const char16_t* parameters, const char16_t* directory,
                                int showCommand) override;
    bool Shell_NotifyIconW(std::uint32_t message, const NotifyIconData& data) override;
    HResult SHGetFolderPathW(WindowHandle owner, int folder, AccessToken token, std::uint32_t flags,
                             char16_t* path) override;

    // The cbSize passed to the shell for a record of `programSize` bytes
    // (the record sizes of 32-bit Windows).
    static std::uint32_t NativeRecordSize(std::uint32_t programSize);
};

}  // namespace nimbrel
