// Windows of the simulated desktop: top-level windows in Z order (a new or
// activated window goes to the top), children in creation order, classes and
// titles, visibility, the foreground window and the keyboard focus, and the
// window procedures that answer sent messages. Closed windows' handles can be
// handed out again (see SetHandleReuse).
//
// Focus rules as in Windows: SetFocus and SetActiveWindow fail for another
// process's window unless the program's input is attached to that process's
// thread (AttachThreadInput; each process has one thread). The foreground
// lock: SetForegroundWindow brings a window to the front only when it is in
// front already, when no window or one of the program's is in front, when
// the program's input is attached to the front window's thread, or when the
// user's last input went to the program (it starts so; the scenario gives
// it with GiveInput, a click on the program's windows or its tray icon
// gives it too); a window the user or another program activates (Activate)
// takes the input to its process. Keyboard input goes to the foreground
// window.
//
// Geometry: a window's rectangle is kept in its parent's client coordinates
// (screen coordinates for a top-level window); a window has no border, so
// its client area is its whole rectangle. The mouse moves only when the
// scenario moves it (MoveMouse); it then gets wm::kSetCursor and
// wm::kMouseMove as in Windows, and the cursor is the arrow unless the window
// under it set another.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/WindowSystem.h"
#include "sim/SimAtoms.h"
#include "sim/SimClock.h"
#include "sim/SimFaults.h"
#include "sim/SimProcess.h"

namespace nimbrel {

struct SimWindow {
    WindowHandle handle = kNoWindow;
    String className;
    String title;
    WindowHandle parent = kNoWindow;
    SimProcess process = kProgramProcess;
    bool visible = true;
    bool enabled = true;
    // A hung window answers no sent message; a slow one answers after
    // `responseDelay` ms.
    bool hung = false;
    std::uint32_t responseDelay = 0;
    std::vector<WindowHandle> children;
    std::uint32_t style = 0;  // GWL_STYLE bits the program looks at (ss::...)
    Rect rect;                // in the parent's client coordinates
    IconHandle bigIcon = kNoIcon;
    IconHandle smallIcon = kNoIcon;
    // The window procedure for sent messages: an answer, or nullopt for the
    // default handling (DefWindowProcW).
    std::function<std::optional<LResult>(std::uint32_t, WParam, LParam)> procedure;
    // A subclass procedure installed by the program (SetWindowSubclass).
    WindowProcedure* subclass = nullptr;
    // Told when the window is shown (true) or hidden (false).
    std::function<void(bool)> visibilityChanged;
    // Key presses that reach this (top-level) window: virtual key, Ctrl down.
    std::function<void(std::uint8_t, bool)> keyPressed;
    // Told when this (top-level) window stops being the foreground window
    // for another one.
    std::function<void()> deactivated;
    // Run when the window is destroyed.
    std::vector<std::function<void()>> destroyed;
};

// A focus call of the program: which, on which window, and whether it worked.
struct SimFocusCall {
    enum class Kind { kSetFocus, kSetActiveWindow, kSetForegroundWindow };
    Kind kind;
    WindowHandle window;
    bool succeeded;
};

class SimWindowSystem : public WindowSystem {
  public:
    SimWindowSystem(SimClock& clock, SimAtoms& atoms, SimFaults& faults);

    // Scenario operations.
    WindowHandle Create(StringView className, StringView title, WindowHandle parent,
                        SimProcess process);
    // Destroys the window and its children (children first).
    void Destroy(WindowHandle window);
    void SetTitle(WindowHandle window, StringView title);
    // Makes a top-level window (or the top-level ancestor of a child) the
    // active foreground window, as a user's click or a program opening it.
    void Activate(WindowHandle window);
    SimWindow* Get(WindowHandle window);
    bool IsWindow(WindowHandle window) const { return windows.count(window) != 0; }
    WindowHandle Foreground() const { return foreground; }
    WindowHandle Focus() const { return focus; }
    WindowHandle TopLevelOf(WindowHandle window) const;
    // SetForegroundWindow fails while locked, whatever the rules say.
    void SetForegroundLocked(bool locked) { foregroundLocked = locked; }
    // The user's last input went to `process`, which may then bring windows
    // to the front.
    void GiveInput(SimProcess process) { inputProcess = process; }
    // The processes whose thread the program's input is attached to.
    const std::set<SimProcess>& AttachedInput() const { return attached; }
    // With reuse on, a new window takes the most recently freed handle.
    void SetHandleReuse(bool reuse) { reuseHandles = reuse; }
    const std::vector<SimFocusCall>& FocusCalls() const { return focusCalls; }
    // The window's rectangle in screen coordinates.
    Rect ScreenRect(WindowHandle window);
    // The deepest visible window under a screen point, kNoWindow for none.
    WindowHandle WindowFromPoint(Point point);
    // SendMessageW to every top-level window of the program (as a
    // broadcast, which reaches top-level windows only).
    void SendToTopLevelWindows(std::uint32_t message, WParam wParam, LParam lParam);
    // The user moves the mouse to a screen point.
    void MoveMouse(Point point);
    // Places the mouse without telling any window (as before a click on the
    // notification area).
    void SetCursorPosition(Point point) { mouse = point; }
    CursorHandle CurrentCursor() const { return cursor; }
    // The window that asked for wm::kMouseLeave (TrackMouseEvent), if any.
    WindowHandle LeaveTracked() const { return leaveTracked; }
    // The screen's DPI, which the icon sizes follow (96 by default).
    void SetDpi(int dotsPerInch) { dpi = dotsPerInch; }
    // Messages let through the message filter (ChangeWindowMessageFilter).
    bool FilterAllows(std::uint32_t message) const { return filterAllowed.count(message) != 0; }
    // The system's pointing-hand cursor can be missing.
    void SetHandCursorAvailable(bool available) { handCursorAvailable = available; }
    // The icon resource behind an icon handle (0 for none or a freed one).
    int IconResource(IconHandle icon) const;
    // The width (and height) an icon was loaded at, 0 for none.
    int IconSize(IconHandle icon) const;
    // MessageBeep calls, in order.
    const std::vector<std::uint32_t>& Beeps() const { return beeps; }

    // The seam.
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
    LResult SendMessageTimeoutW(WindowHandle window, std::uint32_t message, WParam wParam,
                                LParam lParam, std::uint32_t flags, std::uint32_t timeout,
                                std::uintptr_t* result) override;
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
    WindowHandle GetForegroundWindow() override { return foreground; }
    std::uint32_t GetWindowThreadProcessId(WindowHandle window, std::uint32_t* processId) override;
    bool AttachThreadInput(std::uint32_t attachThread, std::uint32_t toThread,
                           bool attach) override;

  private:
    // Whether the program's input is attached to the thread of the process
    // of `window`.
    bool InputAttachedTo(const SimWindow* window) const;
    // The window's own procedure, then the default handling.
    LResult CallProcedure(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
    std::vector<WindowHandle>* SiblingsOf(WindowHandle parent);
    void BringToTop(WindowHandle topLevel);

    SimClock& clock;
    SimAtoms& atoms;
    SimFaults& faults;
    std::map<WindowHandle, std::unique_ptr<SimWindow>> windows;
    std::vector<WindowHandle> topLevel;  // Z order, top first
    std::vector<WindowHandle> freedHandles;
    std::uintptr_t nextHandle = 0x10010;
    bool reuseHandles = false;
    bool foregroundLocked = false;
    SimProcess inputProcess = kProgramProcess;
    std::set<SimProcess> attached;
    WindowHandle foreground = kNoWindow;
    WindowHandle focus = kNoWindow;
    WindowHandle active = kNoWindow;
    std::vector<SimFocusCall> focusCalls;
    Point mouse{-1, -1};
    WindowHandle leaveTracked = kNoWindow;
    int dpi = 96;
    std::set<std::uint32_t> filterAllowed;
    CursorHandle cursor = kNoCursor;
    bool handCursorAvailable = true;
    struct Icon {
        int resourceId;
        bool alive;
        int size;
    };
    std::vector<Icon> icons;  // IconHandle n is icons[n - 1]
    std::vector<std::uint32_t> beeps;
};

}  // namespace nimbrel
