// The thread's message queue and window timers (user32).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

// A timer callback (TIMERPROC): the window, wm::kTimer, the timer id and the
// time of the tick (timeGetTime).
using TimerProc = void (*)(WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                           std::uint32_t time);

// A queued message (MSG without the cursor position).
struct Message {
    WindowHandle window = kNoWindow;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::uint32_t time = 0;
};

class MessageLoop {
  public:
    virtual ~MessageLoop() = default;

    // SetTimer: (re)starts timer `timerId` of `window` with the period
    // `elapse` ms; its ticks arrive as wm::kTimer messages that
    // DispatchMessageW hands to `proc`. Returns the id, 0 on failure.
    virtual std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t timerId,
                                    std::uint32_t elapse, TimerProc proc) = 0;
    virtual bool KillTimer(WindowHandle window, std::uintptr_t timerId) = 0;

    // GetMessageW without filters: waits for the next message; 0 for
    // wm::kQuit, -1 on error, otherwise positive.
    virtual int GetMessageW(Message& message) = 0;
    virtual bool TranslateMessage(const Message& message) = 0;
    virtual LResult DispatchMessageW(const Message& message) = 0;
    // IsDialogMessageW: true when the dialog `dialog` took the message.
    virtual bool IsDialogMessageW(WindowHandle dialog, const Message& message) = 0;
    virtual bool PostMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                              LParam lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // MsgWaitForMultipleObjects with no handles: waits at most
    // `milliseconds` for input of the kinds of `wakeMask` (qs::...) to
    // arrive; wait::kObject0 when it did, wait::kTimeout otherwise.
    virtual std::uint32_t MsgWaitForMultipleObjects(std::uint32_t milliseconds,
                                                    std::uint32_t wakeMask) = 0;
    // PeekMessageW: messages sent to the thread's windows by other threads
    // are answered; then the first queued message for `window` (kNoWindow:
    // any) in the range, of the kinds that pm::kQs... flags name, is copied
    // to `message` (and removed with pm::kRemove). False when there is none.
    virtual bool PeekMessageW(Message& message, WindowHandle window, std::uint32_t filterMin,
                              std::uint32_t filterMax, std::uint32_t removeFlags) = 0;
};

}  // namespace nimbrel
