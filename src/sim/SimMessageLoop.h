// The program's message queue and timers in the simulated desktop. Timers
// tick only while the program waits for messages (GetMessageW, RunFor, a
// message box's own loop), never during Sleep, as in Windows; a timer that
// fell due during a long wait ticks once, and its next tick is one period
// after that. A period below 10 ms counts as 10 ms.
//
// GetMessageW waits by moving the clock to the next timer tick or desktop
// event. With nothing left that could ever produce a message it answers -1
// rather than wait forever; past the time set with StopAt it answers 0 as
// for WM_QUIT.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/MessageLoop.h"
#include "sim/SimClock.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

class SimMessageLoop : public MessageLoop {
  public:
    SimMessageLoop(SimClock& clock, SimWindowSystem& windows);

    // Scenario operations.
    void StopAt(std::uint64_t time) { stopAt = time; }
    // Waits `milliseconds` as a message loop does, dispatching every message
    // and timer tick on the way (a nested loop, as a message box runs).
    void RunFor(std::uint64_t milliseconds);
    std::size_t TimerCount() const { return timers.size(); }
    // The period of a running timer (as SetTimer got it, before the 10 ms
    // minimum), nullopt when it does not run.
    std::optional<std::uint32_t> TimerPeriod(WindowHandle window, std::uintptr_t timerId) const;
    // SetTimer calls so far.
    int SetTimerCalls() const { return setTimerCalls; }

    // The seam.
    std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId, std::uint32_t elapse,
                            TimerProc proc) override;
    bool KillTimer(WindowHandle window, std::uintptr_t timerId) override;
    int GetMessageW(Message& message) override;
    bool TranslateMessage(const Message& message) override;
    LResult DispatchMessageW(const Message& message) override;
    bool IsDialogMessageW(WindowHandle dialog, const Message& message) override;
    bool PostMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                      LParam lParam) override;
    void PostQuitMessage(int exitCode) override;

  private:
    struct Timer {
        WindowHandle window;
        std::uintptr_t id;
        std::uint32_t elapse;
        TimerProc proc;
        std::uint64_t due;
        std::uint32_t requested;
    };
    Timer* NextTimer();
    Message TimerMessage(Timer& timer);

    SimClock& clock;
    SimWindowSystem& windows;
    std::vector<Timer> timers;
    std::deque<Message> posted;
    std::optional<int> quitCode;
    std::optional<std::uint64_t> stopAt;
    int setTimerCalls = 0;
};

}  // namespace nimbrel
