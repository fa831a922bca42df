// Windows of the desktop (user32): search, text, focus, visibility, and the
// messages the program sends to other processes' windows. Every operation is
// the Win32 call of the same name with the same arguments and results.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // FindWindowW: the first top-level window, in Z order, whose class and
    // title match. A null pointer matches any class or title; the comparison
    // ignores letter case. kNoWindow when there is none.
    virtual WindowHandle FindWindowW(const char16_t* className, const char16_t* windowName) = 0;

    // FindWindowExW: the next direct child of `parent` (the top-level windows
    // when `parent` is kNoWindow) after `childAfter` (from the first when it is
    // kNoWindow) whose class and title match, as FindWindowW.
    virtual WindowHandle FindWindowExW(WindowHandle parent, WindowHandle childAfter,
                                       const char16_t* className, const char16_t* windowName) = 0;

    // GetWindowTextW: copies at most maxCount - 1 units of the window's text
    // and a NUL into `buffer` and returns the number of units copied. 0 (and
    // an empty buffer when maxCount > 0) for a window that does not exist.
    virtual int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) = 0;

    // SetFocus / SetActiveWindow: the previously focused / active window, or
    // kNoWindow on failure (as for another process's window without attached
    // input).
    virtual WindowHandle SetFocus(WindowHandle window) = 0;
    virtual WindowHandle SetActiveWindow(WindowHandle window) = 0;
    // SetForegroundWindow: true when the window was brought to the foreground.
    virtual bool SetForegroundWindow(WindowHandle window) = 0;

    // ShowWindow (sw::...): true when the window was visible before.
    virtual bool ShowWindow(WindowHandle window, int showCommand) = 0;
    // EnableWindow: true when the window was disabled before.
    virtual bool EnableWindow(WindowHandle window, bool enable) = 0;

    // RegisterWindowMessageW: the message number for `name`, the same for the
    // same name (letter case ignored) in every process; 0 on failure.
    virtual std::uint32_t RegisterWindowMessageW(const char16_t* name) = 0;

    // SendMessageTimeoutW: sends the message and waits at most `timeout` ms
    // for the answer (smto::kAbortIfHung gives up at once when the receiver is
    // hung). Nonzero when the message was answered in time, with the answer in
    // `result`; 0 on failure or time-out.
    virtual LResult SendMessageTimeoutW(WindowHandle window, std::uint32_t message, WParam wParam,
                                        LParam lParam, std::uint32_t flags, std::uint32_t timeout,
                                        std::uintptr_t* result) = 0;
};

}  // namespace nimbrel
