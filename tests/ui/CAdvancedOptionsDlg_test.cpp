// The advanced options dialog, opened from the options dialog's button.
#include "ui/CAdvancedOptionsDlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "shell/Settings.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"
#include "support/UiScenario.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

class AdvancedOptionsTest : public UiScenario {
  protected:
    // The user opens the dialog and does `session` in it.
    void Run(std::function<void(SimDialog&)> session) {
        desktop.dialogs.WhenModal(IDD_ADVANCED_OPTIONS, std::move(session));
        Options().Click(IDC_OPT_ADVANCED_OPTIONS);
    }
};

TEST_F(AdvancedOptionsTest, ShowsTheSettingsAndStoresEveryFieldOnOK) {
    settings.altFunction = 2;
    StartOptionsDialog();
    ShowOptions();
    Run([&](SimDialog& dialog) {
        EXPECT_EQ(dialog.Title(), u"Advanced Options");
        EXPECT_EQ(dialog.Text(IDC_ADV_CHECK_INTERVAL), u"300");
        EXPECT_EQ(dialog.Text(IDC_ADV_OE_REACTION_DELAY), u"200");
        EXPECT_EQ(dialog.Text(IDC_ADV_CLIPBOARD_TIMEOUT), u"500");
        EXPECT_EQ(dialog.Text(IDC_ADV_INIT_DELAY), u"0");
        EXPECT_TRUE(dialog.Checked(IDC_ADV_DISPLAY_WARNINGS));
        EXPECT_TRUE(dialog.Checked(IDC_ADV_DEPEND_ON_OE));
        EXPECT_FALSE(dialog.Checked(IDC_ADV_USE_CLIPBOARD));
        EXPECT_EQ(dialog.Items(IDC_ADV_ALT_FUNCTION),
                  (std::vector<String>{u"does nothing", u"deactivates", u"activates"}));
        EXPECT_EQ(dialog.Selection(IDC_ADV_ALT_FUNCTION), 2);
        EXPECT_FALSE(Options().Enabled());  // modal

        dialog.Type(IDC_ADV_OE_REACTION_DELAY, u"-40");
        dialog.Type(IDC_ADV_CLIPBOARD_TIMEOUT, u"0");
        dialog.Type(IDC_ADV_INIT_DELAY, u"750");
        dialog.Click(IDC_ADV_DISPLAY_WARNINGS);
        dialog.Click(IDC_ADV_DEPEND_ON_OE);
        dialog.Click(IDC_ADV_USE_CLIPBOARD);
        dialog.Click(IDC_ADV_REFORMAT_ARBITRARY);
        dialog.Click(IDC_ADV_ISO8859_FIX);
        dialog.Select(IDC_ADV_ALT_FUNCTION, 1);
        // Nothing is stored before OK.
        EXPECT_EQ(settings.oeReactionDelay, 200);
        dialog.Click(IDOK);
        EXPECT_FALSE(dialog.Exists() && dialog.Visible());
    });
    EXPECT_TRUE(Options().Enabled());
    EXPECT_EQ(settings.oeReactionDelay, -40);  // no range limit
    EXPECT_EQ(settings.clipboardOpenTimeout, 0);
    EXPECT_EQ(settings.compositionInitDelay, 750);
    EXPECT_EQ(settings.checkInterval, 300);
    EXPECT_EQ(settings.displayWarnings, 0);
    EXPECT_EQ(settings.dependOnOE, 0);
    EXPECT_EQ(settings.useClipboard, 1);
    EXPECT_EQ(settings.reformatArbitraryLength, 0);
    EXPECT_EQ(settings.iso8859SignatureFix, 1);
    EXPECT_EQ(settings.altFunction, 1);
    EXPECT_EQ(settings.hideTrayIcon, 0);
    EXPECT_FALSE(std::filesystem::exists("Nimbrel.cfg"));  // stored in the record only
}

TEST_F(AdvancedOptionsTest, CancelChangesNothing) {
    StartOptionsDialog();
    ShowOptions();
    const Settings before = settings;
    const int timerCalls = desktop.loop.SetTimerCalls();
    for (const bool escape : {false, true}) {
        Run([&](SimDialog& dialog) {
            dialog.Type(IDC_ADV_CHECK_INTERVAL, u"1000");
            dialog.Click(IDC_ADV_HIDE_TRAY_ICON);
            dialog.Select(IDC_ADV_ALT_FUNCTION, 2);
            if (escape) {
                dialog.PressEscape();
            } else {
                dialog.Click(IDCANCEL);
            }
        });
    }
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0);
    EXPECT_EQ(desktop.loop.SetTimerCalls(), timerCalls);
    EXPECT_NE(desktop.shell.TrayIcon(), nullptr);
}

TEST_F(AdvancedOptionsTest, ANumberFieldWithoutAWholeNumberKeepsTheDialogOpen) {
    StartOptionsDialog();
    ShowOptions();
    Run([&](SimDialog& dialog) {
        dialog.Type(IDC_ADV_OE_REACTION_DELAY, u"350");
        dialog.Type(IDC_ADV_CHECK_INTERVAL, u"12a");
        dialog.Type(IDC_ADV_INIT_DELAY, u"x");
        dialog.Click(IDOK);
        // One prompt, for the first bad field; nothing stored.
        ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
        EXPECT_EQ(desktop.messageBoxes.Shown()[0].text, u"Please enter an integer.");
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(settings.oeReactionDelay, 200);
        EXPECT_EQ(settings.checkInterval, 300);

        dialog.Type(IDC_ADV_CHECK_INTERVAL, u"120");
        dialog.Type(IDC_ADV_INIT_DELAY, u"5");
        dialog.Click(IDOK);
        EXPECT_FALSE(dialog.Visible());
    });
    EXPECT_EQ(settings.oeReactionDelay, 350);
    EXPECT_EQ(settings.checkInterval, 120);
}

TEST_F(AdvancedOptionsTest, AChangedCheckIntervalRestartsTheWatcherTimer) {
    StartOptionsDialog();
    ShowOptions();
    const WindowHandle window = options->Window();
    int timerCalls = desktop.loop.SetTimerCalls();

    // OK without a change leaves the timer alone.
    Run([](SimDialog& dialog) { dialog.Click(IDOK); });
    EXPECT_EQ(desktop.loop.SetTimerCalls(), timerCalls);

    Run([](SimDialog& dialog) {
        dialog.Type(IDC_ADV_CHECK_INTERVAL, u"1000");
        dialog.Click(IDOK);
    });
    EXPECT_EQ(desktop.loop.SetTimerCalls(), timerCalls + 1);
    EXPECT_EQ(desktop.loop.TimerPeriod(window, kWatchTimerId), 1000u);
    ticks = 0;
    desktop.loop.RunFor(3500);
    EXPECT_EQ(ticks, 3);
}

TEST_F(AdvancedOptionsTest, HideTrayIconTakesEffectOnOK) {
    StartOptionsDialog();
    ShowOptions();
    Run([](SimDialog& dialog) {
        dialog.Click(IDC_ADV_HIDE_TRAY_ICON);
        dialog.Click(IDOK);
    });
    EXPECT_EQ(settings.hideTrayIcon, 1);
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);

    Run([](SimDialog& dialog) {
        EXPECT_TRUE(dialog.Checked(IDC_ADV_HIDE_TRAY_ICON));
        dialog.Click(IDC_ADV_HIDE_TRAY_ICON);
        dialog.Click(IDOK);
    });
    EXPECT_EQ(settings.hideTrayIcon, 0);
    ASSERT_NE(desktop.shell.TrayIcon(), nullptr);
    EXPECT_EQ(desktop.shell.TrayIcon()->tip, u"Nimbrel");
}

TEST_F(AdvancedOptionsTest, TranslatesItsTitleControlsAndAltList) {
    UseLanguageFile(ReadFileBytes(std::filesystem::path(NIMBREL_DATA_DIR) / "lang-de.ini"));
    settings.altFunction = 1;
    StartOptionsDialog();
    ShowOptions();
    Run([&](SimDialog& dialog) {
        EXPECT_EQ(dialog.Title(), u"Erweiterte Optionen");
        for (const std::vector<String>& row : LoadTable("lang_keys")) {
            if (row.at(2).starts_with(u"146:")) {
                EXPECT_EQ(dialog.Text(ToInt(row[2].substr(4))), row.at(4)) << Utf8(row[0]);
            }
        }
        EXPECT_EQ(dialog.Text(IDCANCEL), u"Abbrechen");
        EXPECT_EQ(dialog.Items(IDC_ADV_ALT_FUNCTION),
                  (std::vector<String>{u"bewirkt nichts", u"deaktiviert", u"aktiviert"}));
        EXPECT_EQ(dialog.Selection(IDC_ADV_ALT_FUNCTION), 1);
    });
}

TEST_F(AdvancedOptionsTest, AnAltListOfTheWrongLengthKeepsTheBuiltInItems) {
    UseLanguageFile("#Alt Functions\r\nnothing\r\noff\r\n#Advanced Options\r\n\r\n#End\r\n");
    StartOptionsDialog();
    ShowOptions();
    Run([&](SimDialog& dialog) {
        EXPECT_EQ(dialog.Items(IDC_ADV_ALT_FUNCTION),
                  (std::vector<String>{u"does nothing", u"deactivates", u"activates"}));
        EXPECT_EQ(dialog.Title(), u"");  // an empty title is still a title
    });
}

}  // namespace
}  // namespace nimbrel
