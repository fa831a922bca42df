// Clock, sleeping, the current directory, the calendar time and the 8-bit
// code page of the thread (kernel32, winmm, the C runtime).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel {

class SystemServices {
  public:
    virtual ~SystemServices() = default;

    // Sleep: blocks the calling thread for `milliseconds`; window messages
    // (timers among them) are not dispatched meanwhile.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // timeGetTime: milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t timeGetTime() = 0;

    // GetCurrentDirectoryA: with a buffer large enough, copies the path and a
    // NUL and returns the path's length; otherwise returns the size needed,
    // NUL included. 0 on failure.
    virtual std::uint32_t GetCurrentDirectoryA(std::uint32_t bufferSize, char* buffer) = 0;
    // SetCurrentDirectoryW: true on success.
    virtual bool SetCurrentDirectoryW(const char16_t* path) = 0;

    // GetCurrentThreadId: the calling thread's id.
    virtual std::uint32_t GetCurrentThreadId() = 0;

    // The C runtime's time(nullptr): seconds since 1970 (used for seeding).
    virtual std::int64_t time() = 0;

    // MultiByteToWideChar / WideCharToMultiByte with the thread's ANSI code
    // page (CP_THREAD_ACP) and no flags. Bytes the code page lacks become its
    // replacement characters, and so do characters it cannot represent.
    virtual String MultiByteToWideChar(std::string_view bytes) = 0;
    virtual std::string WideCharToMultiByte(StringView text) = 0;
};

}  // namespace nimbrel
