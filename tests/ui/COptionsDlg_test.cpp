// The options dialog as a user drives it in the simulated desktop.
#include "ui/COptionsDlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/App.h"
#include "shell/Settings.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"
#include "support/UiScenario.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

using OptionsDialogTest = UiScenario;

TEST_F(OptionsDialogTest, StartsHiddenWithItsTextsIconsTimerAndList) {
    StartOptionsDialog();
    SimDialog dialog = Options();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Enabled());
    EXPECT_EQ(dialog.Title(), u"Nimbrel   ");
    EXPECT_EQ(desktop.windows.FindWindowW(nullptr, u"Nimbrel   "), dialog.Window());
    EXPECT_EQ(dialog.Text(IDC_OPT_VERSION), u"Version 1.19.2");
    EXPECT_EQ(dialog.IconResource(true), IDI_NIMBREL_BIG);
    EXPECT_EQ(dialog.IconResource(false), IDI_NIMBREL);
    EXPECT_EQ(desktop.menus.SystemMenuText(dialog.Window(), sc::kClose), u"Hide");
    EXPECT_EQ(desktop.loop.TimerPeriod(dialog.Window(), kWatchTimerId), 300u);
    desktop.loop.RunFor(1000);
    EXPECT_EQ(ticks, 3);

    const std::vector<SimListColumn> columns = dialog.Columns(IDC_OPT_STATUS_LIST);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].heading, u"Window");
    EXPECT_EQ(columns[0].width, 175);
    EXPECT_EQ(columns[1].heading, u"Status");
    EXPECT_EQ(columns[1].width, 95);
    EXPECT_EQ(columns[1].format, lvcfmt::kLeft);
    // The controls show the settings.
    EXPECT_EQ(dialog.Text(IDC_OPT_WRAP_COLUMN), u"72");
    EXPECT_TRUE(dialog.Checked(IDC_OPT_COLOR_MESSAGE_VIEW));
    EXPECT_FALSE(dialog.Checked(IDC_OPT_CONTINUOUS_COLORING));
    EXPECT_TRUE(dialog.Checked(IDC_OPT_CURSOR_AT_TOP));
    EXPECT_EQ(dialog.Items(IDC_OPT_QUOTE_CHAR), (std::vector<String>{u">", u"|", u":"}));
}

TEST_F(OptionsDialogTest, ConstructingItReadsTheStyleSheetForTheWatcher) {
    // The colorer is built before the window exists, from the current
    // directory's styles.css.
    WriteFileBytes(directory / "styles.css", "/* 3 quote-level styles */\n");
    options = std::make_unique<COptionsDlg>(desktop.platform());
    EXPECT_EQ(options->Colorer().styleSheetInfo.styleCount, 3);
    EXPECT_FALSE(desktop.dialogs.Find(IDD_OPTIONS).Exists());

    std::filesystem::remove(directory / "styles.css");
    options = std::make_unique<COptionsDlg>(desktop.platform());
    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
    EXPECT_EQ(desktop.messageBoxes.Shown()[0].text.substr(0, 45),
              u"The style sheet (styles.css) could not be ope");
    EXPECT_EQ(options->Colorer().styleSheetInfo.styleCount, 1);
}

TEST_F(OptionsDialogTest, LeavingTheWrapFieldShowsWhatWasStored) {
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    for (const std::vector<String>& c : LoadTable("wrap_field")) {
        SCOPED_TRACE(Utf8(c.at(0)));
        const bool refused = c.at(3) == u"1";
        settings.wrapColumn = 72;
        options->FillControls();
        desktop.messageBoxes.Clear();
        dialog.Type(IDC_OPT_WRAP_COLUMN, c[0]);
        dialog.Focus(IDC_OPT_STANDARDIZED_INDENTATION);
        EXPECT_EQ(dialog.Text(IDC_OPT_WRAP_COLUMN), c.at(1));
        EXPECT_EQ(settings.wrapColumn, ToInt(c.at(2)));
        ASSERT_EQ(desktop.messageBoxes.Shown().size(), refused ? 1u : 0u);
        if (refused) {
            const SimMessageBox& box = desktop.messageBoxes.Shown()[0];
            EXPECT_TRUE(box.framework);
            EXPECT_EQ(box.text, u"Please enter an integer.");
            EXPECT_EQ(box.caption, u"Nimbrel");
            EXPECT_EQ(box.flags, mb::kIconExclamation);
        }
    }
}

TEST_F(OptionsDialogTest, EditingTheWrapFieldSuspendsProcessingUntilItIsLeft) {
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    EXPECT_EQ(Suspended(), 0);
    dialog.Type(IDC_OPT_WRAP_COLUMN, u"8");
    EXPECT_EQ(Suspended(), 1);
    dialog.Type(IDC_OPT_WRAP_COLUMN, u"80");
    EXPECT_EQ(Suspended(), 1);
    dialog.Deactivate();  // the user turns to another program
    EXPECT_EQ(Suspended(), 0);
    EXPECT_EQ(settings.wrapColumn, 80);

    // Leaving the field also ends a Disable from the tray: it is one flag.
    desktop.ChooseFromTrayMenu(ID_TRAY_DISABLE_ENABLE);
    EXPECT_EQ(Suspended(), 1);
    dialog.Type(IDC_OPT_WRAP_COLUMN, u"75");
    dialog.Click(IDC_OPT_EMOTICONS);
    EXPECT_EQ(Suspended(), 0);
}

TEST_F(OptionsDialogTest, ShowingOrInvertingDoesNotSuspendProcessing) {
    // The program's own writing of the wrap field is no edit.
    StartOptionsDialog();
    EXPECT_EQ(Suspended(), 0);
    ShowOptions();
    desktop.ChooseFromTrayMenu(ID_TRAY_INVERT);
    desktop.ChooseFromTrayMenu(ID_TRAY_SHOW_DIALOG);
    EXPECT_EQ(Suspended(), 0);
}

TEST_F(OptionsDialogTest, TheStoredQuoteCharacterIsSelected) {
    const struct {
        char16_t quoteChar;
        int selected;
    } cases[] = {{u'>', 0}, {u'|', 1}, {u':', 2}, {u'#', -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.quoteChar));
        settings.quoteChar = c.quoteChar;
        StartOptionsDialog();
        EXPECT_EQ(Options().Selection(IDC_OPT_QUOTE_CHAR), c.selected);
        options.reset();
    }
}

TEST_F(OptionsDialogTest, PickingAQuoteCharacterStoresIt) {
    settings.quoteChar = u'#';
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    dialog.Select(IDC_OPT_QUOTE_CHAR, 2);
    EXPECT_EQ(settings.quoteChar, u':');
    dialog.Select(IDC_OPT_QUOTE_CHAR, 1);
    EXPECT_EQ(settings.quoteChar, u'|');
}

TEST_F(OptionsDialogTest, TurningFontStylesOnAsksWhetherToKeepTheMarkers) {
    UseLanguageFile("#Font Style Question\r\nKeep the markers?\r\n#End\r\n");
    StartOptionsDialog();
    settings.fontStyles = 0;
    settings.keepStyleMarkers = 0;
    SimDialog dialog = ShowOptions();

    desktop.messageBoxes.Answer(mb::kIdYes);
    dialog.Click(IDC_OPT_FONT_STYLES);
    EXPECT_EQ(settings.fontStyles, 1);
    EXPECT_EQ(settings.keepStyleMarkers, 1);
    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
    const SimMessageBox& box = desktop.messageBoxes.Shown()[0];
    EXPECT_EQ(box.text, u"Keep the markers?");
    EXPECT_EQ(box.caption, u"Nimbrel");
    EXPECT_EQ(box.flags, mb::kYesNo | mb::kIconQuestion);

    // Turning it off asks nothing and keeps the answer.
    dialog.Click(IDC_OPT_FONT_STYLES);
    EXPECT_EQ(settings.fontStyles, 0);
    EXPECT_EQ(settings.keepStyleMarkers, 1);
    EXPECT_EQ(desktop.messageBoxes.Shown().size(), 1u);

    desktop.messageBoxes.Answer(mb::kIdNo);
    dialog.Click(IDC_OPT_FONT_STYLES);
    EXPECT_EQ(settings.keepStyleMarkers, 0);
    EXPECT_EQ(desktop.messageBoxes.Shown().size(), 2u);
}

TEST_F(OptionsDialogTest, HideAndTheCloseBoxSaveTheRecordWithoutReadingTheControls) {
    StartOptionsDialog();
    for (const bool viaCloseBox : {false, true}) {
        SCOPED_TRACE(viaCloseBox);
        std::filesystem::remove("Nimbrel.cfg");
        SimDialog dialog = ShowOptions();
        dialog.Click(IDC_OPT_CONTINUOUS_COLORING);  // not read before the save
        settings.wrapColumn = 99;                   // the record as it is
        if (viaCloseBox) {
            dialog.Close();
        } else {
            dialog.Click(IDC_OPT_HIDE);
        }
        EXPECT_FALSE(dialog.Visible());
        Settings saved = Settings::Defaults();
        ASSERT_FALSE(LoadSettings(saved, "Nimbrel.cfg"));
        EXPECT_EQ(saved.wrapColumn, 99);
        EXPECT_EQ(saved.continuousColoring, 0);
    }
}

TEST_F(OptionsDialogTest, EscapeHidesWithoutSaving) {
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    dialog.PressEscape();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(std::filesystem::exists("Nimbrel.cfg"));
}

// The wrap column is read last: a refused value keeps no check box from
// being read (the tray's Terminate reads the controls without moving the focus).
TEST_F(OptionsDialogTest, TerminateReadsTheCheckBoxesBeforeARefusedWrapColumn) {
    StartOptionsDialog();
    app.running = 1;
    SimDialog dialog = ShowOptions();
    dialog.Click(IDC_OPT_IGNORE_HTML_MESSAGES);
    dialog.Type(IDC_OPT_WRAP_COLUMN, u"abc");
    desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE);
    EXPECT_EQ(app.running, 0);
    EXPECT_EQ(settings.ignoreHtmlMessages, 0);
    EXPECT_EQ(settings.wrapColumn, 72);
}

TEST_F(OptionsDialogTest, HelpKeyOpensTheUserGuide) {
    StartOptionsDialog();
    ShowOptions().PressF1();
    ASSERT_EQ(desktop.shell.Calls().size(), 1u);
    const SimShellCall& call = desktop.shell.Calls()[0];
    EXPECT_EQ(call.verb, u"open");
    EXPECT_EQ(call.file, u".\\docs\\index.html");
    EXPECT_EQ(call.owner, kNoWindow);
    EXPECT_EQ(call.showCommand, sw::kShowNormal);
}

TEST_F(OptionsDialogTest, DestroyingTheDialogRemovesTheTrayIconAndStopsTheTimer) {
    StartOptionsDialog();
    const WindowHandle window = options->Window();
    EXPECT_NE(desktop.shell.TrayIcon(), nullptr);
    options.reset();
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
    EXPECT_FALSE(desktop.loop.TimerPeriod(window, kWatchTimerId).has_value());
    EXPECT_EQ(desktop.menus.LiveMenuCount(), 0);
    EXPECT_EQ(desktop.graphics.LiveFontCount(), 0);
}

// Every control of the key table shows its lang.ini text.
TEST_F(OptionsDialogTest, TranslatesEveryControlFromTheLanguageFile) {
    const std::string german =
        ReadFileBytes(std::filesystem::path(NIMBREL_DATA_DIR) / "lang-de.ini");
    UseLanguageFile(german);
    StartOptionsDialog();
    for (const std::vector<String>& row : LoadTable("lang_keys")) {
        if (row.at(2).starts_with(u"102:")) {
            EXPECT_EQ(Options().Text(ToInt(row[2].substr(4))), row.at(4)) << Utf8(row[0]);
        }
    }
    EXPECT_EQ(Options().Text(IDC_OPT_HIDE), u"Verbergen");
    EXPECT_EQ(Options().Title(), u"Nimbrel   ");  // the title is never translated
}

// --- Links ---------------------------------------------------------------------

TEST_F(OptionsDialogTest, LinksHaveTheirTargetsColoursAndTooltips) {
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    const String mail =
        u"mailto:support@nimbrel.example?subject=Nimbrel v1.19.2&body=[If you are sending a bug "
        u"report, don't forget to specify your CPU, OE version and OS]";
    EXPECT_EQ(options->EmailLink().URL(), mail);
    EXPECT_EQ(dialog.ToolTip(IDC_OPT_EMAIL_LINK), mail);
    EXPECT_EQ(options->DonationsLink().URL(), u"donations.html");
    EXPECT_EQ(options->WebLink().URL(), u"http://nimbrel.example/");  // its own text
    EXPECT_EQ(dialog.ToolTip(IDC_OPT_WEB_LINK), u"http://nimbrel.example/");
    EXPECT_TRUE(dialog.Underlined(IDC_OPT_DONATIONS_LINK));
    EXPECT_FALSE(dialog.Underlined(IDC_OPT_VERSION));
    EXPECT_EQ(dialog.TextColour(IDC_OPT_DONATIONS_LINK), Rgb(0, 0, 136));

    // Fitted to "Donations" (9 x 6 pixels wide, 13 high), centred in its
    // template rectangle 10..124 x 312..326.
    EXPECT_EQ(dialog.ControlRect(IDC_OPT_DONATIONS_LINK), (Rect{40, 312, 94, 325}));

    // The mouse over a link: the hover colour and the hand.
    dialog.Hover(IDC_OPT_DONATIONS_LINK);
    EXPECT_EQ(dialog.TextColour(IDC_OPT_DONATIONS_LINK), Rgb(0, 0, 255));
    EXPECT_EQ(desktop.windows.CurrentCursor(), desktop.windows.LoadCursorW(idc::kHand));
    desktop.windows.MoveMouse(Point{0, 0});
    EXPECT_EQ(dialog.TextColour(IDC_OPT_DONATIONS_LINK), Rgb(0, 0, 136));
    EXPECT_EQ(desktop.windows.Capture(), kNoWindow);

    // Opened: visited, in the same colour.
    dialog.Click(IDC_OPT_DONATIONS_LINK);
    ASSERT_EQ(desktop.shell.Calls().size(), 1u);
    EXPECT_EQ(desktop.shell.Calls()[0].file, u"donations.html");
    EXPECT_EQ(desktop.shell.Calls()[0].verb, u"open");
    EXPECT_EQ(desktop.shell.Calls()[0].showCommand, sw::kShow);
    EXPECT_TRUE(options->DonationsLink().Visited());
    EXPECT_EQ(dialog.TextColour(IDC_OPT_DONATIONS_LINK), Rgb(0, 0, 136));
}

TEST_F(OptionsDialogTest, ALinkThatCannotBeOpenedSaysWhy) {
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    desktop.shell.Answer(31);
    dialog.Click(IDC_OPT_WEB_LINK);
    EXPECT_EQ(desktop.windows.Beeps(), std::vector<std::uint32_t>{mb::kIconExclamation});
    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
    const SimMessageBox& box = desktop.messageBoxes.Shown()[0];
    EXPECT_TRUE(box.framework);
    EXPECT_EQ(box.text,
              u"Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              u"filename extension.");
    EXPECT_EQ(box.caption, u"Nimbrel");
    EXPECT_EQ(box.flags, mb::kIconExclamation);
    EXPECT_FALSE(options->WebLink().Visited());
}

TEST_F(OptionsDialogTest, WithoutAHandCursorTheArrowStays) {
    desktop.windows.SetHandCursorAvailable(false);
    StartOptionsDialog();
    SimDialog dialog = ShowOptions();
    dialog.Hover(IDC_OPT_WEB_LINK);
    EXPECT_EQ(desktop.windows.CurrentCursor(), desktop.windows.LoadCursorW(idc::kArrow));
    EXPECT_EQ(dialog.TextColour(IDC_OPT_WEB_LINK), Rgb(0, 0, 255));
}

}  // namespace
}  // namespace nimbrel
