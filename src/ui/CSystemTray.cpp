#include "ui/CSystemTray.h"

#include <algorithm>
#include <vector>

#include "shell/App.h"

namespace nimbrel {

namespace {

// The live tray objects, for the retry timer's callback, which gets only
// the window.
std::vector<CSystemTray*>& LiveTrays() {
    static std::vector<CSystemTray*> trays;
    return trays;
}

}  // namespace

CSystemTray::CSystemTray(Platform& platform_) : platform(platform_) {
    LiveTrays().push_back(this);
}

CSystemTray::~CSystemTray() {
    Destroy();
    std::vector<CSystemTray*>& trays = LiveTrays();
    trays.erase(std::remove(trays.begin(), trays.end(), this), trays.end());
}

void CSystemTray::SetTip(StringView tip) {
    const std::size_t length = std::min(tip.size(), std::size(record.szTip) - 1);
    std::fill(std::begin(record.szTip), std::end(record.szTip), u'\0');
    std::copy_n(tip.begin(), length, record.szTip);
}

bool CSystemTray::Create(WindowHandle parent, std::uint32_t callbackMessage, StringView tip,
                         IconHandle icon, std::uint32_t id) {
    window = platform.windows.CreateWindowExW(u"", ws::kPopup, 0, 0, 10, 10, kNoWindow, *this);
    if (window == kNoWindow) return enabled = false;
    enabled = true;
    hidden = false;

    taskbarCreated = platform.windows.RegisterWindowMessageW(kTaskbarCreatedMessage);
    if (taskbarCreated != 0)
        platform.windows.ChangeWindowMessageFilter(taskbarCreated, msgflt::kAdd);

    record = NotifyIconData{};
    record.cbSize = kNotifyIconDataSize;
    record.hWnd = parent != kNoWindow ? parent : window;
    record.uID = id;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = icon;
    SetTip(tip);
    Add();

    menu = platform.menus.LoadMenuW(static_cast<int>(id));
    popup = menu == kNoMenu ? kNoMenu : platform.menus.GetSubMenu(menu, 0);
    return added;
}

void CSystemTray::StopRetrying() {
    if (retrying) platform.loop.KillTimer(window, kTrayRetryTimerId);
    retrying = false;
}

bool CSystemTray::Add() {
    record.uFlags = nif::kMessage | nif::kIcon | nif::kTip;
    added = platform.shell.Shell_NotifyIconW(nim::kAdd, record);
    if (added) {
        StopRetrying();
    } else if (!retrying) {
        retrying = platform.loop.SetTimer(window, kTrayRetryTimerId, kTrayRetryPeriod,
                                          &RetryTimerProc) != 0;
    }
    return added;
}

void CSystemTray::RetryTimerProc(WindowHandle timerWindow, std::uint32_t, std::uintptr_t,
                                 std::uint32_t) {
    for (CSystemTray* tray : LiveTrays()) {
        if (tray->window == timerWindow) {
            tray->Restore();
            return;
        }
    }
}

void CSystemTray::Destroy() {
    StopRetrying();
    if (enabled && added) {
        record.uFlags = 0;
        platform.shell.Shell_NotifyIconW(nim::kDelete, record);
    }
    enabled = added = false;
    if (window != kNoWindow) platform.windows.DestroyWindow(window);
    window = kNoWindow;
    if (menu != kNoMenu) platform.menus.DestroyMenu(menu);
    menu = popup = kNoMenu;
}

void CSystemTray::Hide() {
    if (!enabled || hidden) return;
    StopRetrying();
    if (added) {
        record.uFlags = nif::kIcon;
        platform.shell.Shell_NotifyIconW(nim::kDelete, record);
    }
    added = false;
    hidden = true;
}

void CSystemTray::Show() {
    if (!enabled || !hidden) return;
    hidden = false;
    Add();
}

bool CSystemTray::Restore() {
    if (!enabled || hidden) return false;
    return Add();
}

bool CSystemTray::SetIcon(IconHandle icon) {
    if (!enabled) return false;
    record.hIcon = icon;
    if (!added) return false;
    record.uFlags = nif::kIcon;
    return platform.shell.Shell_NotifyIconW(nim::kModify, record);
}

bool CSystemTray::SetTooltipText(StringView tip) {
    if (!enabled) return false;
    SetTip(tip);
    if (!added) return false;
    record.uFlags = nif::kTip;
    return platform.shell.Shell_NotifyIconW(nim::kModify, record);
}

bool CSystemTray::SetMenuDefaultItem(std::uint32_t position) {
    return platform.menus.SetMenuDefaultItem(popup, position, true);
}

bool CSystemTray::SetMenuText(std::uint32_t item, bool byPosition, std::uint32_t command,
                              StringView text) {
    return platform.menus.ModifyMenuW(popup, item,
                                      (byPosition ? mf::kByPosition : mf::kByCommand) | mf::kString,
                                      command, String(text).c_str());
}

LResult CSystemTray::OnTrayNotification(WParam id, LParam mouseMessage) {
    if (id != record.uID) return 0;
    const WindowHandle mainWindow = app.mainWindow;
    if (mouseMessage == static_cast<LParam>(wm::kRButtonUp)) {
        Point cursor;
        platform.windows.GetCursorPos(cursor);
        // The owner must be in the foreground, or the menu does not close
        // when the user clicks elsewhere; the empty message afterwards lets
        // it close properly.
        platform.windows.SetForegroundWindow(mainWindow);
        platform.menus.TrackPopupMenu(popup, tpm::kLeftAlign, cursor.x, cursor.y, mainWindow);
        platform.loop.PostMessageW(mainWindow, wm::kNull, 0, 0);
        return 1;
    }
    if (mouseMessage == static_cast<LParam>(wm::kLButtonDblClk)) {
        platform.windows.SetForegroundWindow(mainWindow);
        const std::uint32_t command = platform.menus.GetMenuDefaultItem(popup, false);
        if (command != kNoDefaultItem)
            platform.windows.SendMessageW(mainWindow, wm::kCommand, command, 0);
        return 1;
    }
    return 1;
}

LResult CSystemTray::WindowProc(WindowHandle hwnd, std::uint32_t message, WParam wParam,
                                LParam lParam) {
    if (message == record.uCallbackMessage && record.uCallbackMessage != 0)
        return OnTrayNotification(wParam, lParam);
    if (message == taskbarCreated && taskbarCreated != 0) {
        // Explorer started again: the icons it had are gone.
        added = false;
        if (!Restore() && enabled && !hidden) {
            // Refused because the shell still holds it (the taskbar was
            // not made anew after all): then it is there.
            record.uFlags = 0;
            if (platform.shell.Shell_NotifyIconW(nim::kModify, record)) {
                added = true;
                StopRetrying();
            }
        }
        return 0;
    }
    return platform.windows.DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace nimbrel
