// Clock, sleeping, the current directory, the calendar time and the thread's
// ANSI code page on Windows (kernel32, winmm, the C runtime).
#pragma once

#include "platform/SystemServices.h"

namespace nimbrel {

class Win32SystemServices : public SystemServices {
  public:
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t timeGetTime() override;
    std::uint32_t GetCurrentDirectoryA(std::uint32_t bufferSize, char* buffer) override;
    bool SetCurrentDirectoryW(const char16_t* path) override;
    std::int64_t time() override;
    std::uint32_t GetCurrentThreadId() override;
    // A text of more than 2^31 - 1 units or bytes, which the Win32 calls
    // cannot take, converts to an empty result.
    String MultiByteToWideChar(std::string_view bytes) override;
    std::string WideCharToMultiByte(StringView text) override;
};

}  // namespace nimbrel
