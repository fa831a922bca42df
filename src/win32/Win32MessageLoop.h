// The thread's message queue and window timers on Windows (user32).
//
// A Message is a MSG without the cursor position: the loop keeps the last MSG
// it received and gives its position back to the calls that take a Message
// again (TranslateMessage, DispatchMessageW, IsDialogMessageW).
//
// Timers: ::SetTimer gets one CALLBACK trampoline as its TIMERPROC, and a
// table (window, timer id) -> the program's TimerProc tells the trampoline
// whom to call; a WM_TIMER message carries the trampoline's address as its
// lParam, so DispatchMessageW reaches it. The table is the process's (the
// program has one GUI thread); KillTimer takes an entry out.
#pragma once

#include <windows.h>

#include "platform/MessageLoop.h"

namespace nimbrel {

class Win32MessageLoop : public MessageLoop {
  public:
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
    std::uint32_t MsgWaitForMultipleObjects(std::uint32_t milliseconds,
                                            std::uint32_t wakeMask) override;
    bool PeekMessageW(Message& message, WindowHandle window, std::uint32_t filterMin,
                      std::uint32_t filterMax, std::uint32_t removeFlags) override;

  private:
    // The MSG for `message`, with the position of the last message received.
    MSG ToMsg(const Message& message) const;

    MSG last{};
};

}  // namespace nimbrel
