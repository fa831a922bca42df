// Windows of the simulated desktop: top-level windows in Z order (a new or
// activated window goes to the top), children in creation order, classes and
// titles, visibility, the foreground window and the keyboard focus, and the
// window procedures that answer sent messages. Closed windows' handles can be
// handed out again (see SetHandleReuse).
//
// Focus rules as in Windows: SetFocus and SetActiveWindow fail for another
// process's window (no attached input), SetForegroundWindow works unless the
// foreground is locked; keyboard input goes to the foreground window.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/sim/SimAtoms.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimProcess.h"

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
    // The window procedure for sent messages: an answer, or nullopt for the
    // default handling (which answers 0).
    std::function<std::optional<LResult>(std::uint32_t, WParam, LParam)> procedure;
    // Key presses that reach this (top-level) window: virtual key, Ctrl down.
    std::function<void(std::uint8_t, bool)> keyPressed;
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
    // SetForegroundWindow fails while locked (another program has the user's
    // attention).
    void SetForegroundLocked(bool locked) { foregroundLocked = locked; }
    // With reuse on, a new window takes the most recently freed handle.
    void SetHandleReuse(bool reuse) { reuseHandles = reuse; }
    const std::vector<SimFocusCall>& FocusCalls() const { return focusCalls; }

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

  private:
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
    WindowHandle foreground = kNoWindow;
    WindowHandle focus = kNoWindow;
    WindowHandle active = kNoWindow;
    std::vector<SimFocusCall> focusCalls;
};

}  // namespace nimbrel
