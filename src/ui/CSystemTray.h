// The program's icon in the notification area ("tray") and its menu. A right
// click opens the menu at the cursor; a double click sends the menu's
// default command; the commands go to the application's main window
// (`App::mainWindow`). The callbacks arrive at a hidden window of the tray
// object's own.
//
// While the tray object has no window (`Enabled()` false) every operation
// does nothing. The icon comes back by itself when the shell loses it: at
// the "TaskbarCreated" message that Explorer broadcasts when it starts again,
// and, when the shell refused an icon (as at logon before the taskbar is
// ready), by another try every kTrayRetryPeriod ms until it is accepted.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "shell/Text.h"

namespace nimbrel {

// The size of the notification record the program fills (version 5).
constexpr std::uint32_t kNotifyIconDataSize = 936;
// The message Explorer broadcasts to the top-level windows when it has made
// the taskbar anew, and the period of the tries to add a refused icon.
constexpr const char16_t* kTaskbarCreatedMessage = u"TaskbarCreated";
constexpr std::uint32_t kTrayRetryPeriod = 2000;
constexpr std::uintptr_t kTrayRetryTimerId = 1;

class CSystemTray : public WindowProcedure {
  public:
    explicit CSystemTray(Platform& platform);
    // Destroy().
    ~CSystemTray() override;
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Creates the hidden callback window (a 10 x 10 pop-up at 0,0), adds the
    // icon with `tip` (cut to 127 units) and `callbackMessage` for the
    // window `parent` (its own window when kNoWindow) under `id`, and loads
    // menu resource `id`, whose first pop-up is the tray menu. Returns
    // whether the shell accepted the icon; a refused one is tried again
    // later. "TaskbarCreated" is let through the message filter, so that it
    // reaches a program run elevated.
    bool Create(WindowHandle parent, std::uint32_t callbackMessage, StringView tip, IconHandle icon,
                std::uint32_t id);
    // Removes the icon (when the shell had it), then destroys the window and
    // the menu. Safe to call twice.
    void Destroy();

    // Removes the icon from the tray / adds it again with the current icon
    // and tip.
    void Hide();
    void Show();
    // Adds the icon again unless it is hidden, after the shell lost it
    // (as at "TaskbarCreated"); true when the shell holds it now.
    bool Restore();
    // Store the icon or tip and show it; false when not enabled or when the
    // shell refuses (as while the icon is hidden or not yet accepted: the
    // stored values are shown once it is added).
    bool SetIcon(IconHandle icon);
    bool SetTooltipText(StringView tip);
    // Makes the menu item at `position` the default item.
    bool SetMenuDefaultItem(std::uint32_t position);
    // Replaces a menu item (by position, or by command) by a string item
    // with `command` and `text`.
    bool SetMenuText(std::uint32_t item, bool byPosition, std::uint32_t command, StringView text);

    bool Enabled() const { return enabled; }
    bool Hidden() const { return hidden; }
    // The shell holds the icon.
    bool Added() const { return added; }
    WindowHandle Window() const { return window; }
    MenuHandle Menu() const { return popup; }

    // A mouse event on the icon: the right button released shows the menu,
    // a left double click sends the default item's command. 0 when `id` is
    // not this icon's identifier, else 1.
    virtual LResult OnTrayNotification(WParam id, LParam mouseMessage);
    LResult WindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                       LParam lParam) override;

  private:
    void SetTip(StringView tip);
    // NIM_ADD with every attribute; starts the retry timer when refused and
    // stops it when accepted.
    bool Add();
    void StopRetrying();
    static void RetryTimerProc(WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                               std::uint32_t time);

    Platform& platform;
    MenuHandle menu = kNoMenu;
    MenuHandle popup = kNoMenu;
    bool enabled = false;
    bool hidden = false;
    bool added = false;
    bool retrying = false;
    std::uint32_t taskbarCreated = 0;
    NotifyIconData record;
    WindowHandle window = kNoWindow;
};

}  // namespace nimbrel
