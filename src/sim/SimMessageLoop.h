// The program's message queue and timers in the simulated desktop. Timers
// tick only while the program waits for messages (GetMessageW, RunFor, a
// message box's own loop), never during Sleep, as in Windows; a timer that
// fell due during a long wait ticks once, and its next tick is one period
// after that. A period below 10 ms counts as 10 ms.
//
// Messages other processes send to the program's windows are answered only
// while it waits for messages; the sender waits meanwhile.
//
// GetMessageW waits by moving the clock to the next timer tick or desktop
// event. With nothing left that could ever produce a message it answers -1
// rather than wait forever; past the time set with StopAt it answers 0 as
// for WM_QUIT.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
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
    // Another process sends a message to one of the program's windows and
    // waits for the answer, which the program gives while it waits for
    // messages (GetMessageW, RunFor), not while it sleeps or works:
    // `answered` runs then, at once when the program waits now.
    void SendFromOtherProcess(std::function<void()> answered);

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
    // With qs::kSendMessage: waits the whole time, answering sent messages
    // on the way (as a wait followed at once by PeekMessageW would);
    // kObject0 when one came. Other kinds of input are not waited for.
    std::uint32_t MsgWaitForMultipleObjects(std::uint32_t milliseconds,
                                            std::uint32_t wakeMask) override;
    // Answers sent messages; posted ones are taken only with the range and
    // window of the call, timer messages never.
    bool PeekMessageW(Message& message, WindowHandle window, std::uint32_t filterMin,
                      std::uint32_t filterMax, std::uint32_t removeFlags) override;

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
    // Answers the messages sent meanwhile.
    void AnswerSentMessages();
    // Moves the clock as the program waits for messages.
    void WaitUntil(std::uint64_t time);

    SimClock& clock;
    SimWindowSystem& windows;
    std::vector<Timer> timers;
    std::deque<Message> posted;
    std::optional<int> quitCode;
    std::optional<std::uint64_t> stopAt;
    int setTimerCalls = 0;
    bool waiting = false;
    std::vector<std::function<void()>> unanswered;
    int answeredCount = 0;
};

}  // namespace nimbrel
