// The options dialog (template 102): the program's main window. Created once,
// modeless and hidden; shown from the tray. It holds the everyday options,
// bound directly to the settings record (no OK or Cancel: the controls are
// read whenever current values are needed), the status list of handled
// windows, the tray icon and its commands, three links, and the buttons that
// open the advanced options and the quote header styles.
//
// It owns the watcher's state: its first member is the CMessageColorer
// whose flags and document access objects the watcher's ticks use. The
// watcher reaches the dialog through ReadControls and AddStatusLine; the
// dialog reaches the watcher through the colorer's `suspended` flag (set
// while the wrap column is being edited, toggled by the tray's
// Disable/Enable) and the timer callback that runs one tick, which it starts
// as timer 1 of its window with the period `checkInterval`.
#pragma once

#include <cstdint>

#include "coloring/CMessageColorer.h"
#include "compose/WatchHost.h"
#include "compose/Watcher.h"
#include "platform/Platform.h"
#include "shell/Text.h"
#include "ui/CDialog.h"
#include "ui/CLinkLabel.h"
#include "ui/CSystemTray.h"

namespace nimbrel {

constexpr std::uintptr_t kWatchTimerId = 1;
constexpr const char16_t* kVersionText = u"Version 1.19.2";
constexpr const char16_t* kHelpFile = u".\\docs\\index.html";
constexpr const char16_t* kDonationsFile = u"donations.html";

class COptionsDlg : public CDialog, public WatchHost {
  public:
    // Constructs the colorer first (it reads the style count from styles.css
    // in the current directory, with its warning boxes), then loads the
    // normal and the disabled tray icon. `watchTimerProc` is the callback of
    // timer 1, which runs one watcher tick.
    explicit COptionsDlg(Platform& platform, TimerProc watchTimerProc = &WatchTimerProc);
    // Destroys the window (which removes the tray icon), then frees the icons.
    ~COptionsDlg() override;

    // Creates the dialog modeless with no parent, hidden and disabled; its
    // initialisation starts the watcher timer and sets up the tray icon.
    bool Create();

    // Reads every bound control into the settings record (a wrap column that
    // is not a whole number is refused with the framework's prompt and keeps
    // its value), then clamps the wrap column to 60..132.
    void ReadControls() override;
    // Shows the settings record in the controls.
    void FillControls();
    // A new first row of the status list: window title, status text.
    void AddStatusLine(StringView windowTitle, StringView status) override;
    // Hides or shows the tray icon.
    void SetTrayIconHidden(bool hide);
    // Rebuilds the tray menu's invert item: base text + " (" + cursor word
    // + "/" + signature word + ")".
    void UpdateInvertMenuText();

    // The watcher's state, which the timer's ticks run on.
    CMessageColorer& Colorer() { return colorer; }
    const CSystemTray& Tray() const { return tray; }
    const CLinkLabel& DonationsLink() const { return donationsLink; }
    const CLinkLabel& EmailLink() const { return emailLink; }
    const CLinkLabel& WebLink() const { return webLink; }

  protected:
    bool DoDataExchange(bool saveAndValidate) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, WindowHandle control) override;
    bool OnClose() override;
    bool OnHelp() override;
    BrushHandle OnCtlColorStatic(DeviceContext dc, WindowHandle control) override;
    void OnDestroy() override;
    // The user logs off or Windows shuts down: the settings are saved as
    // Terminate saves them, as the process ends without its loop ending.
    void OnEndSession(bool ending) override;

  private:
    void SetUpTray();
    void SelectQuoteChar();
    void OnHide();
    void OnAdvancedOptions();
    void OnWrapColumnLeft();
    void OnQuoteCharChanged();
    void OnFontStyles();
    void ShowDialog();
    void ToggleProcessing();
    void Invert();
    void HideTrayIcon();
    void OpenHelp();
    CLinkLabel* LinkOf(int id);

    CMessageColorer colorer;
    TimerProc watchTimerProc;
    String invertBase = u"Invert Cursor/Sig";
    String topWord = u"top";
    String bottomWord = u"bottom";
    IconHandle disabledIcon;
    CLinkLabel donationsLink;
    CLinkLabel emailLink;
    CLinkLabel webLink;
    CSystemTray tray;
    IconHandle normalIcon;
    IconHandle bigIcon = kNoIcon;
    // Set while the program itself writes the controls, whose edit then
    // reports a change that is not the user's.
    bool fillingControls = false;
};

}  // namespace nimbrel
