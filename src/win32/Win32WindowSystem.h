// Windows of the desktop on Windows (user32, comctl32's subclassing).
//
// The program's own windows (CreateWindowExW) belong to a window class of
// ours, registered at the first creation with default attributes and
// unregistered when this object goes. Its window procedure is a CALLBACK
// trampoline: the WindowProcedure object comes as the creation parameter,
// is kept in GWLP_USERDATA from WM_NCCREATE on and receives every message
// from then on; the few messages before it get DefWindowProcW.
//
// SetWindowSubclass installs a CALLBACK subclass procedure whose reference
// data (and subclass id) is the WindowProcedure object; the subclass removes
// itself when its window is destroyed (WM_NCDESTROY), so RemoveWindowSubclass
// on a window that has gone answers false.
#pragma once

#include "platform/WindowSystem.h"

namespace nimbrel {

class Win32WindowSystem : public WindowSystem {
  public:
    Win32WindowSystem() = default;
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // The name of the class of the program's own windows.
    static constexpr const char16_t* kWindowClassName = u"NimbrelWindow";

    WindowHandle FindWindowW(const char16_t* className, const char16_t* windowName) override;
    WindowHandle FindWindowExW(WindowHandle parent, WindowHandle childAfter,
                               const char16_t* className, const char16_t* windowName) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) override;
    WindowHandle SetFocus(WindowHandle window) override;
    WindowHandle SetActiveWindow(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int showCommand) override;
    bool EnableWindow(WindowHandle window, bool enable) override;
    std::uint32_t RegisterWindowMessageW(const char16_t* name) override;
    WindowHandle CreateWindowExW(const char16_t* windowName, std::uint32_t style, int x, int y,
                                 int width, int height, WindowHandle parent,
                                 WindowProcedure& procedure) override;
    bool DestroyWindow(WindowHandle window) override;
    LResult DefWindowProcW(WindowHandle window, std::uint32_t message, WParam wParam,
                           LParam lParam) override;
    LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                         LParam lParam) override;
    bool SetWindowTextW(WindowHandle window, const char16_t* text) override;
    int GetWindowTextLengthW(WindowHandle window) override;
    bool GetWindowRect(WindowHandle window, Rect& rect) override;
    bool GetClientRect(WindowHandle window, Rect& rect) override;
    bool ScreenToClient(WindowHandle window, Point& point) override;
    bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width,
                      int height, std::uint32_t flags) override;
    std::int32_t GetWindowLongW(WindowHandle window, int index) override;
    std::int32_t SetWindowLongW(WindowHandle window, int index, std::int32_t value) override;
    bool InvalidateRect(WindowHandle window, bool erase) override;
    bool UpdateWindow(WindowHandle window) override;
    bool SetWindowSubclass(WindowHandle window, WindowProcedure& procedure) override;
    bool RemoveWindowSubclass(WindowHandle window, WindowProcedure& procedure) override;
    LResult DefSubclassProc(WindowHandle window, std::uint32_t message, WParam wParam,
                            LParam lParam) override;
    bool TrackMouseEvent(std::uint32_t flags, WindowHandle window) override;
    bool GetCursorPos(Point& point) override;
    CursorHandle LoadCursorW(int cursorId) override;
    CursorHandle SetCursor(CursorHandle cursor) override;
    IconHandle LoadImageW(int resourceId, int width, int height) override;
    bool DestroyIcon(IconHandle icon) override;
    bool MessageBeep(std::uint32_t type) override;
    bool ChangeWindowMessageFilter(std::uint32_t message, std::uint32_t flag) override;
    int GetSystemMetrics(int index) override;
    LResult SendMessageTimeoutW(WindowHandle window, std::uint32_t message, WParam wParam,
                                LParam lParam, std::uint32_t flags, std::uint32_t timeout,
                                std::uintptr_t* result) override;
    WindowHandle GetForegroundWindow() override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window, std::uint32_t* processId) override;
    bool AttachThreadInput(std::uint32_t attachThread, std::uint32_t toThread,
                           bool attach) override;

  private:
    // Registers the window class unless this object did; false on failure.
    bool RegisterWindowClass();

    bool classRegistered = false;
};

}  // namespace nimbrel
