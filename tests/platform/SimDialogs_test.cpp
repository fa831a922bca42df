// The simulated dialogs, menus and notification area behave as Windows does
// where the program's dialogs depend on it.
#include "platform/sim/SimDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "ui/DialogTemplates.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

// A dialog procedure that notes every command and optionally ends the
// dialog on IDOK / IDCANCEL.
class Recorder : public DialogProcedure {
  public:
    std::intptr_t DialogProc(WindowHandle dialog, std::uint32_t message, WParam wParam,
                             LParam) override {
        if (message == wm::kInitDialog) window = dialog;
        if (message != wm::kCommand) return 0;
        const int id = LowWord(wParam);
        const int code = HighWord(wParam);
        events.push_back(std::to_string(id) + ":" + std::to_string(code));
        if (code == bn::kClicked && (id == IDOK || id == IDCANCEL) && endOnButtons)
            desktop->dialogs.EndDialog(dialog, id);
        return 1;
    }
    SimDesktop* desktop = nullptr;
    WindowHandle window = kNoWindow;
    bool endOnButtons = true;
    std::vector<std::string> events;
};

class SimDialogsTest : public ::testing::Test {
  protected:
    SimDialogsTest() { recorder.desktop = &desktop; }
    ~SimDialogsTest() override {
        EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
    }
    SimDesktop desktop;
    Recorder recorder;
};

TEST_F(SimDialogsTest, DialogsAreBuiltFromTheTemplateTable) {
    for (const DialogTemplate& dialogTemplate : AllDialogTemplates()) {
        Recorder procedure;
        const WindowHandle window =
            desktop.dialogs.CreateDialogParamW(dialogTemplate.id, kNoWindow, procedure);
        ASSERT_NE(window, kNoWindow);
        EXPECT_EQ(procedure.window, window);  // initialised before the call returns
        SimDialog dialog(desktop.dialogs, window);
        EXPECT_EQ(dialog.Title(), dialogTemplate.title);
        EXPECT_FALSE(dialog.Visible());
        for (const ControlTemplate& control : dialogTemplate.controls) {
            if (control.id == IDC_STATIC) continue;
            EXPECT_NE(dialog.Control(control.id), kNoWindow) << control.id;
            EXPECT_EQ(dialog.Text(control.id), control.text) << control.id;
        }
        desktop.windows.DestroyWindow(window);
        EXPECT_FALSE(dialog.Exists());
    }
    EXPECT_EQ(desktop.dialogs.CreateDialogParamW(999, kNoWindow, recorder), kNoWindow);
}

TEST_F(SimDialogsTest, AClickMovesTheFocusFirstAndTheLeftEditReportsIt) {
    const WindowHandle window =
        desktop.dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, recorder);
    desktop.windows.EnableWindow(window, true);
    desktop.windows.ShowWindow(window, sw::kShowNormal);
    SimDialog dialog(desktop.dialogs, window);

    dialog.Type(IDC_OPT_WRAP_COLUMN, u"80");
    dialog.Click(IDC_OPT_EMOTICONS);
    dialog.Click(IDC_OPT_DONATIONS_LINK);  // a static takes no focus
    dialog.Select(IDC_OPT_QUOTE_CHAR, 0);  // no items: refused
    desktop.faults.Clear();
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"1006:768", "1006:512", "1033:0", "1023:0"}));
    EXPECT_TRUE(dialog.Checked(IDC_OPT_EMOTICONS));

    // Setting an edit's text reports a change as typing does.
    recorder.events.clear();
    desktop.dialogs.SetDlgItemTextW(window, IDC_OPT_WRAP_COLUMN, u"72");
    EXPECT_EQ(recorder.events, std::vector<std::string>{"1006:768"});

    // Hiding the dialog takes the focus out of the edit.
    recorder.events.clear();
    dialog.Focus(IDC_OPT_WRAP_COLUMN);
    desktop.windows.ShowWindow(window, sw::kHide);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"1006:512"});

    // A hidden dialog is out of the user's reach.
    EXPECT_FALSE(dialog.Click(IDC_OPT_HIDE));
    EXPECT_EQ(desktop.faults.List().size(), 1u);
    desktop.faults.Clear();
}

TEST_F(SimDialogsTest, AModalDialogRunsItsSessionAndElseGetsEscape) {
    Recorder owner;
    const WindowHandle main = desktop.dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, owner);
    desktop.windows.EnableWindow(main, true);

    desktop.dialogs.WhenModal(IDD_ADVANCED_OPTIONS, [&](SimDialog& dialog) {
        EXPECT_TRUE(dialog.Visible());
        EXPECT_FALSE(SimDialog(desktop.dialogs, main).Enabled());
        dialog.Click(IDOK);
    });
    EXPECT_EQ(desktop.dialogs.DialogBoxParamW(IDD_ADVANCED_OPTIONS, main, recorder), IDOK);
    EXPECT_TRUE(SimDialog(desktop.dialogs, main).Enabled());

    recorder.events.clear();
    EXPECT_EQ(desktop.dialogs.DialogBoxParamW(IDD_QUOTE_HEADER_STYLES, main, recorder), IDCANCEL);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"2:0"});
    EXPECT_EQ(desktop.dialogs.ModalRuns(),
              (std::vector<int>{IDD_ADVANCED_OPTIONS, IDD_QUOTE_HEADER_STYLES}));
}

TEST_F(SimDialogsTest, ReplacingAMenuItemClearsItsDefaultMark) {
    const MenuHandle menu = desktop.menus.LoadMenuW(IDR_TRAYMENU);
    const MenuHandle popup = desktop.menus.GetSubMenu(menu, 0);
    ASSERT_TRUE(desktop.menus.SetMenuDefaultItem(popup, 0, true));
    EXPECT_EQ(desktop.menus.GetMenuDefaultItem(popup, false),
              static_cast<std::uint32_t>(ID_TRAY_SHOW_DIALOG));
    ASSERT_TRUE(desktop.menus.ModifyMenuW(popup, 0, mf::kByPosition, ID_TRAY_SHOW_DIALOG, u"Open"));
    EXPECT_EQ(desktop.menus.GetMenuDefaultItem(popup, false), kNoDefaultItem);
    // By command, a command of a pop-up is found from the menu bar too.
    ASSERT_TRUE(desktop.menus.ModifyMenuW(menu, ID_TRAY_HELP, mf::kByCommand, ID_TRAY_HELP, u"?"));
    EXPECT_EQ(desktop.menus.Items(popup)[4].text, u"?");
    EXPECT_TRUE(desktop.menus.DestroyMenu(menu));
    EXPECT_EQ(desktop.menus.LiveMenuCount(), 0);
}

TEST_F(SimDialogsTest, TheNotificationAreaKeepsOneIconPerWindowAndId) {
    NotifyIconData data;
    data.hWnd = desktop.windows.Create(u"x", u"", kNoWindow, kProgramProcess);
    data.uID = 7;
    data.uFlags = nif::kTip | nif::kMessage;
    data.uCallbackMessage = wm::kUser;
    std::copy_n(u"tip", 3, data.szTip);
    EXPECT_TRUE(desktop.shell.Shell_NotifyIconW(nim::kAdd, data));
    EXPECT_FALSE(desktop.shell.Shell_NotifyIconW(nim::kAdd, data));
    data.uFlags = nif::kIcon;  // the tip is not taken
    std::copy_n(u"new", 3, data.szTip);
    EXPECT_TRUE(desktop.shell.Shell_NotifyIconW(nim::kModify, data));
    EXPECT_EQ(desktop.shell.TrayIcon()->tip, u"tip");
    EXPECT_TRUE(desktop.shell.Shell_NotifyIconW(nim::kDelete, data));
    EXPECT_FALSE(desktop.shell.Shell_NotifyIconW(nim::kModify, data));
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
}

}  // namespace
}  // namespace nimbrel
