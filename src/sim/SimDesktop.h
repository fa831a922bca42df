// The simulated desktop: every part of the platform seam, in memory and on a
// virtual clock, wired together. `platform()` is what the program receives;
// the members are the scenario's handles on each part. OeTestHost puts an
// Outlook Express on it.
//
// Deterministic: the same scenario gives the same handles, times and texts.
// The process's current directory, which SetCurrentDirectoryW really
// changes, is restored when the desktop is destroyed.
#pragma once

#include <filesystem>

#include "platform/Platform.h"
#include "sim/SimAtoms.h"
#include "sim/SimClipboard.h"
#include "sim/SimClock.h"
#include "sim/SimCodePage.h"
#include "sim/SimComRuntime.h"
#include "sim/SimDialogs.h"
#include "sim/SimEditor.h"
#include "sim/SimFaults.h"
#include "sim/SimGlobalMemory.h"
#include "sim/SimGraphics.h"
#include "sim/SimHtmlDocuments.h"
#include "sim/SimKeyboard.h"
#include "sim/SimMenus.h"
#include "sim/SimMessageBoxes.h"
#include "sim/SimMessageLoop.h"
#include "sim/SimModules.h"
#include "sim/SimRegistry.h"
#include "sim/SimShell.h"
#include "sim/SimSystemServices.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

class SimDesktop {
  public:
    SimDesktop();
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    Platform& platform() { return seam; }

    // The user holds Alt down, or lets it go.
    void HoldAlt(bool down) { keyboard.Hold(vk::kMenu, down); }
    // Time passes without the program doing anything (no timer ticks).
    void Wait(std::uint64_t milliseconds) { clock.AdvanceBy(milliseconds); }

    // The user right-clicks the program's icon in the notification area, or
    // double-clicks it; what the click posted (a chosen menu command) is
    // dispatched before these return. False (and a fault) when there is no
    // icon to click.
    bool RightClickTrayIcon();
    bool DoubleClickTrayIcon();
    // Right-click and choose `command` from the menu that opens.
    bool ChooseFromTrayMenu(std::uint32_t command);
    // Explorer ends and starts again: the notification area loses its
    // icons, and "TaskbarCreated" goes to every top-level window.
    void RestartExplorer();
    // The user logs off: WM_QUERYENDSESSION to the program's top-level
    // windows, then WM_ENDSESSION with `ending` (false: another program
    // called the logoff off). Windows would then end the process.
    void EndSession(bool ending);
    // The screen's DPI (96 by default), for icon sizes and GetDeviceCaps.
    void SetDpi(int dotsPerInch) {
        windows.SetDpi(dotsPerInch);
        graphics.SetDpi(dotsPerInch);
    }
    // Where the notification area's icon sits on the screen.
    static constexpr Point kTrayIconPosition{980, 750};

    SimFaults faults;
    SimClock clock;
    SimAtoms atoms;
    SimCodePage codePage;
    SimWindowSystem windows;
    SimGraphics graphics;
    SimDialogs dialogs;
    SimKeyboard keyboard;
    SimGlobalMemory memory;
    SimClipboard clipboard;
    SimEditor editor;
    SimComRuntime com;
    SimModules modules;
    SimHtmlDocuments documents;
    SimMessageLoop loop;
    SimMenus menus;
    SimMessageBoxes messageBoxes;
    SimRegistry registry;
    SimShell shell;
    SimSystemServices system;

  private:
    bool ClickTrayIcon(std::uint32_t mouseMessage);

    std::filesystem::path startDirectory;
    Platform seam;
};

}  // namespace nimbrel
