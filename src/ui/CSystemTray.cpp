#include "ui/CSystemTray.h"

#include <algorithm>

#include "shell/App.h"

namespace nimbrel {

CSystemTray::CSystemTray(Platform& platform_) : platform(platform_) {}

CSystemTray::~CSystemTray() {
    Destroy();
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

    record = NotifyIconData{};
    record.cbSize = kNotifyIconDataSize;
    record.hWnd = parent != kNoWindow ? parent : window;
    record.uID = id;
    record.uFlags = nif::kMessage | nif::kIcon | nif::kTip;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = icon;
    SetTip(tip);
    enabled = platform.shell.Shell_NotifyIconW(nim::kAdd, record);

    menu = platform.menus.LoadMenuW(static_cast<int>(id));
    popup = menu == kNoMenu ? kNoMenu : platform.menus.GetSubMenu(menu, 0);
    return enabled;
}

void CSystemTray::Destroy() {
    if (enabled) {
        record.uFlags = 0;
        platform.shell.Shell_NotifyIconW(nim::kDelete, record);
        enabled = false;
    }
    if (window != kNoWindow) platform.windows.DestroyWindow(window);
    window = kNoWindow;
    if (menu != kNoMenu) platform.menus.DestroyMenu(menu);
    menu = popup = kNoMenu;
}

void CSystemTray::Hide() {
    if (!enabled || hidden) return;
    record.uFlags = nif::kIcon;
    platform.shell.Shell_NotifyIconW(nim::kDelete, record);
    hidden = true;
}

void CSystemTray::Show() {
    if (!enabled || !hidden) return;
    record.uFlags = nif::kMessage | nif::kIcon | nif::kTip;
    platform.shell.Shell_NotifyIconW(nim::kAdd, record);
    hidden = false;
}

bool CSystemTray::SetIcon(IconHandle icon) {
    if (!enabled) return false;
    record.hIcon = icon;
    record.uFlags = nif::kIcon;
    return platform.shell.Shell_NotifyIconW(nim::kModify, record);
}

bool CSystemTray::SetTooltipText(StringView tip) {
    if (!enabled) return false;
    SetTip(tip);
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
    return platform.windows.DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace nimbrel
