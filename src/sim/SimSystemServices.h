// Clock, sleeping, current directory, calendar time and code page of the
// simulated desktop. Sleep moves the virtual clock (running the desktop's
// scheduled actions, not the program's timers). The current directory is the
// process's real one, since the program opens its files with the standard
// library; SimDesktop puts the original back when it is destroyed.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/SystemServices.h"
#include "sim/SimClock.h"
#include "sim/SimCodePage.h"
#include "sim/SimProcess.h"

namespace nimbrel {

class SimSystemServices : public SystemServices {
  public:
    SimSystemServices(SimClock& clock, SimCodePage& codePage);

    // The sleeps of the program, in milliseconds, in order.
    const std::vector<std::uint32_t>& Sleeps() const { return sleeps; }
    // What time() reads at the start of the simulation (seconds since 1970).
    void SetCalendarStart(std::int64_t seconds) { calendarStart = seconds; }
    // Makes SetCurrentDirectoryW fail.
    void FailSetCurrentDirectory(bool fail) { failSetCurrentDirectory = fail; }

    // The seam.
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t timeGetTime() override { return clock.TimeGetTime(); }
    std::uint32_t GetCurrentDirectoryA(std::uint32_t bufferSize, char* buffer) override;
    bool SetCurrentDirectoryW(const char16_t* path) override;
    std::int64_t time() override;
    std::uint32_t GetCurrentThreadId() override { return SimThreadId(kProgramProcess); }
    String MultiByteToWideChar(std::string_view bytes) override { return codePage.ToWide(bytes); }
    std::string WideCharToMultiByte(StringView text) override { return codePage.ToBytes(text); }

  private:
    SimClock& clock;
    SimCodePage& codePage;
    std::vector<std::uint32_t> sleeps;
    std::int64_t calendarStart = 1041379200;  // 2003-01-01 00:00 UTC
    bool failSetCurrentDirectory = false;
};

}  // namespace nimbrel
