// Windows of the desktop (user32): search, text, focus, visibility, and the
// messages the program sends to other processes' windows. Every operation is
// the Win32 call of the same name with the same arguments and results.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

// The window procedure of a window the program creates or subclasses
// (WNDPROC): every message for the window. What it does not handle it passes
// to DefWindowProcW (a window of its own) or DefSubclassProc (a subclassed
// control).
class WindowProcedure {
  public:
    virtual ~WindowProcedure() = default;
    virtual LResult WindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                               LParam lParam) = 0;
};

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

    // CreateWindowExW of a window of the program's own whose messages go to
    // `procedure` (a window class registered with default attributes and a
    // procedure that forwards to the object); position and size in pixels.
    // kNoWindow on failure. The procedure must outlive the window.
    virtual WindowHandle CreateWindowExW(const char16_t* windowName, std::uint32_t style, int x,
                                         int y, int width, int height, WindowHandle parent,
                                         WindowProcedure& procedure) = 0;
    // DestroyWindow: the window and its children get wm::kDestroy; true on
    // success.
    virtual bool DestroyWindow(WindowHandle window) = 0;
    // DefWindowProcW: the default handling of a message.
    virtual LResult DefWindowProcW(WindowHandle window, std::uint32_t message, WParam wParam,
                                   LParam lParam) = 0;
    // SendMessageW: delivers the message to the window's procedure and
    // returns its answer; 0 for a window that does not exist.
    virtual LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                 LParam lParam) = 0;

    // SetWindowTextW; GetWindowTextLengthW (0 for a window that does not
    // exist).
    virtual bool SetWindowTextW(WindowHandle window, const char16_t* text) = 0;
    virtual int GetWindowTextLengthW(WindowHandle window) = 0;

    // GetWindowRect (screen coordinates), GetClientRect (left and top 0),
    // ScreenToClient (a screen point into the window's client coordinates).
    virtual bool GetWindowRect(WindowHandle window, Rect& rect) = 0;
    virtual bool GetClientRect(WindowHandle window, Rect& rect) = 0;
    virtual bool ScreenToClient(WindowHandle window, Point& point) = 0;
    // SetWindowPos: moves and sizes the window (x, y in the parent's client
    // coordinates); with swp::kNoZOrder `insertAfter` is ignored.
    virtual bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y,
                              int width, int height, std::uint32_t flags) = 0;
    // GetWindowLongW / SetWindowLongW of kGwlStyle: the window style
    // (ss::..., ws::...). SetWindowLongW returns the previous value.
    virtual std::int32_t GetWindowLongW(WindowHandle window, int index) = 0;
    virtual std::int32_t SetWindowLongW(WindowHandle window, int index, std::int32_t value) = 0;
    // InvalidateRect of the whole client area (erasing the background when
    // `erase`), and UpdateWindow, which paints what is invalid at once.
    virtual bool InvalidateRect(WindowHandle window, bool erase) = 0;
    virtual bool UpdateWindow(WindowHandle window) = 0;

    // SetWindowSubclass: the control's messages go to `procedure` first,
    // which hands the rest to DefSubclassProc (comctl32). RemoveWindowSubclass
    // undoes it; both true on success. The procedure must stay alive while
    // it is installed.
    virtual bool SetWindowSubclass(WindowHandle window, WindowProcedure& procedure) = 0;
    virtual bool RemoveWindowSubclass(WindowHandle window, WindowProcedure& procedure) = 0;
    virtual LResult DefSubclassProc(WindowHandle window, std::uint32_t message, WParam wParam,
                                    LParam lParam) = 0;

    // TrackMouseEvent with tme::kLeave: the window gets one wm::kMouseLeave
    // when the mouse leaves it, wherever it goes (another program's window
    // included); tme::kCancel | tme::kLeave withdraws the request.
    virtual bool TrackMouseEvent(std::uint32_t flags, WindowHandle window) = 0;
    // GetCursorPos: the mouse position in screen coordinates.
    virtual bool GetCursorPos(Point& point) = 0;
    // LoadCursorW of a system cursor (idc::..., no module): kNoCursor when
    // the system lacks it. SetCursor returns the previous cursor.
    virtual CursorHandle LoadCursorW(int cursorId) = 0;
    virtual CursorHandle SetCursor(CursorHandle cursor) = 0;

    // LoadImageW of one of the program's icon resources at the given size
    // (IMAGE_ICON); kNoIcon when there is no such icon. DestroyIcon frees it.
    virtual IconHandle LoadImageW(int resourceId, int width, int height) = 0;
    virtual bool DestroyIcon(IconHandle icon) = 0;

    // MessageBeep with a sound type (mb::kIconExclamation ...).
    virtual bool MessageBeep(std::uint32_t type) = 0;

    // ChangeWindowMessageFilter (msgflt::kAdd): `message` reaches the
    // program's windows from processes of a lower integrity level too, as it
    // must for a program run elevated. False where the system lacks the call
    // (before Windows Vista), which lets every message through anyway.
    virtual bool ChangeWindowMessageFilter(std::uint32_t message, std::uint32_t flag) = 0;
    // GetSystemMetrics (sm::...): the sizes of icons at the screen's DPI.
    virtual int GetSystemMetrics(int index) = 0;
    // GetForegroundWindow: the window the user works in, whose thread gets
    // the keyboard input (simulated keys included); kNoWindow for none.
    virtual WindowHandle GetForegroundWindow() = 0;
    // GetWindowThreadProcessId: the id of the thread that created the window
    // (0 for a window that does not exist); its process id in `processId`
    // unless that is null.
    virtual std::uint32_t GetWindowThreadProcessId(WindowHandle window,
                                                   std::uint32_t* processId) = 0;
    // AttachThreadInput: shares (`attach` true) or separates the input state
    // (focus, active window) of two threads; true on success. SetFocus and
    // SetActiveWindow act on another thread's windows only while attached.
    virtual bool AttachThreadInput(std::uint32_t attachThread, std::uint32_t toThread,
                                   bool attach) = 0;

    // SendMessageTimeoutW: sends the message and waits at most `timeout` ms
    // for the answer (smto::kAbortIfHung gives up at once when the receiver is
    // hung). Nonzero when the message was answered in time, with the answer in
    // `result`; 0 on failure or time-out.
    virtual LResult SendMessageTimeoutW(WindowHandle window, std::uint32_t message, WParam wParam,
                                        LParam lParam, std::uint32_t flags, std::uint32_t timeout,
                                        std::uintptr_t* result) = 0;
};

}  // namespace nimbrel
