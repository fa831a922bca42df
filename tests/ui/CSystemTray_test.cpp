// The tray icon and its menu as the user drives them.
#include "ui/CSystemTray.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/App.h"
#include "shell/Settings.h"
#include "support/TempDirectory.h"
#include "support/UiScenario.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

using TrayTest = UiScenario;

const std::vector<String> kBuiltInMenu = {
    u"Show Dialog",    u"Disable/Enable", u"Invert Cursor/Sig (top/bottom)",
    u"Hide Tray Icon", u"Help",           u"Terminate"};

int ShownIcon(SimDesktop& desktop) {
    const SimTrayIcon* icon = desktop.shell.TrayIcon();
    return icon == nullptr ? 0 : desktop.windows.IconResource(icon->icon);
}

TEST_F(TrayTest, TheIconAndMenuAfterStart) {
    StartOptionsDialog();
    const SimTrayIcon* icon = desktop.shell.TrayIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(desktop.windows.IconResource(icon->icon), IDI_NIMBREL);
    EXPECT_EQ(icon->tip, u"Nimbrel");
    EXPECT_EQ(icon->id, static_cast<std::uint32_t>(IDR_TRAYMENU));
    EXPECT_EQ(icon->callbackMessage, wm::kUser);
    EXPECT_NE(icon->window, options->Window());  // the tray's own hidden window
    EXPECT_EQ(TrayMenuTexts(), kBuiltInMenu);
    EXPECT_EQ(desktop.menus.GetMenuDefaultItem(options->Tray().Menu(), true), 0u);
}

TEST_F(TrayTest, RightClickShowsTheMenuAtTheCursorAndClickingElsewhereDoesNothing) {
    StartOptionsDialog();
    desktop.RightClickTrayIcon();
    ASSERT_EQ(desktop.menus.Shown().size(), 1u);
    const SimShownMenu& menu = desktop.menus.Shown()[0];
    EXPECT_EQ(menu.at, SimDesktop::kTrayIconPosition);
    EXPECT_EQ(menu.owner, options->Window());
    EXPECT_FALSE(menu.chosen.has_value());
    ASSERT_EQ(menu.items.size(), 6u);
    EXPECT_TRUE(menu.items[0].isDefault);
    EXPECT_FALSE(Options().Visible());
    EXPECT_EQ(Suspended(), 0);
}

TEST_F(TrayTest, ShowDialogAndDoubleClickShowTheDialogWithTheCurrentSettings) {
    StartOptionsDialog();
    settings.wrapColumn = 99;
    ASSERT_TRUE(desktop.ChooseFromTrayMenu(ID_TRAY_SHOW_DIALOG));
    EXPECT_TRUE(Options().Visible());
    EXPECT_TRUE(Options().Enabled());
    EXPECT_EQ(Options().Text(IDC_OPT_WRAP_COLUMN), u"99");

    Options().Click(IDC_OPT_HIDE);
    settings.wrapColumn = 88;
    desktop.DoubleClickTrayIcon();
    EXPECT_TRUE(Options().Visible());
    EXPECT_EQ(Options().Text(IDC_OPT_WRAP_COLUMN), u"88");
}

TEST_F(TrayTest, DisableEnableTwiceReturnsToTheNormalIcon) {
    StartOptionsDialog();
    desktop.ChooseFromTrayMenu(ID_TRAY_DISABLE_ENABLE);
    EXPECT_EQ(Suspended(), 1);
    EXPECT_EQ(ShownIcon(desktop), IDI_NIMBREL_DISABLED);
    EXPECT_EQ(desktop.shell.TrayIcon()->tip, u"Nimbrel (disabled)");
    EXPECT_EQ(TrayMenuTexts(), kBuiltInMenu);  // the menu does not change

    desktop.ChooseFromTrayMenu(ID_TRAY_DISABLE_ENABLE);
    EXPECT_EQ(Suspended(), 0);
    EXPECT_EQ(ShownIcon(desktop), IDI_NIMBREL);
    EXPECT_EQ(desktop.shell.TrayIcon()->tip, u"Nimbrel");
}

TEST_F(TrayTest, InvertFlipsBothSettingsAndTheItemText) {
    settings.cursorAtTop = 1;
    settings.signatureToBottom = 0;
    StartOptionsDialog();
    EXPECT_EQ(TrayMenuTexts()[2], u"Invert Cursor/Sig (top/top)");
    desktop.ChooseFromTrayMenu(ID_TRAY_INVERT);
    EXPECT_EQ(settings.cursorAtTop, 0);
    EXPECT_EQ(settings.signatureToBottom, 1);
    EXPECT_EQ(TrayMenuTexts()[2], u"Invert Cursor/Sig (bottom/bottom)");
    EXPECT_FALSE(Options().Checked(IDC_OPT_CURSOR_AT_TOP));
    EXPECT_TRUE(Options().Checked(IDC_OPT_SIGNATURE_TO_BOTTOM));
    // Still the invert command, still not the default.
    EXPECT_EQ(desktop.menus.Items(options->Tray().Menu())[2].command,
              static_cast<std::uint32_t>(ID_TRAY_INVERT));
    EXPECT_EQ(desktop.menus.GetMenuDefaultItem(options->Tray().Menu(), true), 0u);
}

TEST_F(TrayTest, HelpOpensTheUserGuideAndTerminateEndsTheProgram) {
    StartOptionsDialog();
    app.running = 1;
    desktop.ChooseFromTrayMenu(ID_TRAY_HELP);
    ASSERT_EQ(desktop.shell.Calls().size(), 1u);
    EXPECT_EQ(desktop.shell.Calls()[0].file, u".\\docs\\index.html");
    EXPECT_EQ(app.running, 1);

    settings.wrapColumn = 500;  // read back from the controls by Terminate
    desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE);
    EXPECT_EQ(app.running, 0);
    EXPECT_EQ(settings.wrapColumn, 72);
}

TEST_F(TrayTest, ATranslatedMenuKeepsShowDialogAsTheDefault) {
    UseLanguageFile(ReadFileBytes(std::filesystem::path(NIMBREL_DATA_DIR) / "lang-de.ini"));
    StartOptionsDialog();
    EXPECT_EQ(TrayMenuTexts(), (std::vector<String>{u"Dialog anzeigen", u"Aus/Ein",
                                                    u"Cursor/Signatur tauschen (oben/unten)",
                                                    u"Symbol verbergen", u"Hilfe", u"Beenden"}));
    // The commands stay.
    const std::vector<SimMenuItem> items = desktop.menus.Items(options->Tray().Menu());
    EXPECT_EQ(items[3].command, static_cast<std::uint32_t>(ID_TRAY_HIDE_ICON));
    EXPECT_EQ(items[5].command, static_cast<std::uint32_t>(ID_TRAY_TERMINATE));
    desktop.DoubleClickTrayIcon();
    EXPECT_TRUE(Options().Visible());
}

TEST_F(TrayTest, MenuTextsFromTheLanguageFile) {
    const struct {
        const char* what;
        std::string file;
        std::vector<String> expected;
    } cases[] = {
        {"a list of seven items is ignored",
         "#TrayMenu\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n#top\r\n", kBuiltInMenu},
        {"a list of five items is ignored", "#TrayMenu\r\na\r\nb\r\nc\r\nd\r\ne\r\n#End\r\n",
         kBuiltInMenu},
        {"the top and bottom words keep their spaces",
         "#top\r\n  up \r\n#bottom\r\ndown\r\n#\r\n",
         {u"Show Dialog", u"Disable/Enable", u"Invert Cursor/Sig (  up /down)", u"Hide Tray Icon",
          u"Help", u"Terminate"}},
        {"six items replace the texts",
         "#TrayMenu\r\nOpen\r\nOff/On\r\n\r\nHide\r\nGuide\r\nQuit\r\n#End\r\n",
         {u"Open", u"Off/On", u" (top/bottom)", u"Hide", u"Guide", u"Quit"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UseLanguageFile(c.file);
        StartOptionsDialog();
        EXPECT_EQ(TrayMenuTexts(), c.expected);
        options.reset();
    }
}

TEST_F(TrayTest, ChangesWhileHiddenShowWhenTheIconComesBack) {
    settings.hideTrayIcon = 1;
    StartOptionsDialog();
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
    // Disable/Enable from the options dialog's menu is out of reach; the
    // command arrives as from a second start's window.
    desktop.windows.SendMessageW(options->Window(), wm::kCommand, ID_TRAY_DISABLE_ENABLE, 0);
    EXPECT_EQ(Suspended(), 1);
    options->SetTrayIconHidden(false);
    EXPECT_EQ(ShownIcon(desktop), IDI_NIMBREL_DISABLED);
    EXPECT_EQ(desktop.shell.TrayIcon()->tip, u"Nimbrel (disabled)");
}

TEST_F(TrayTest, WithoutATaskbarTheProgramRunsWithoutAnIcon) {
    desktop.shell.SetTrayAvailable(false);
    StartOptionsDialog();
    EXPECT_FALSE(options->Tray().Enabled());
    options->SetTrayIconHidden(true);
    options->SetTrayIconHidden(false);
    EXPECT_EQ(desktop.shell.FailedTrayCalls(), 1);  // only the first NIM_ADD
    options.reset();
    EXPECT_EQ(desktop.shell.FailedTrayCalls(), 1);
}

}  // namespace
}  // namespace nimbrel
