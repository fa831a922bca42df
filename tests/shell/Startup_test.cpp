// The whole program from start to end in the simulated desktop: installed in
// a temporary directory holding copies of the data files, started from
// another directory, driven by a scenario on the simulation's clock.
#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/sim/OeTestHost.h"
#include "platform/sim/SimDesktop.h"
#include "shell/App.h"
#include "shell/Settings.h"
#include "shell/Utf.h"
#include "support/TempDirectory.h"
#include "ui/CLangFile.h"
#include "ui/COptionsDlg.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";

constexpr std::uint64_t kLongestScenario = 60000;

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() {
        ResetProgramState();
        for (const char* name : {"lang.ini", "emoticons.ini", "styles.css", "signatures.ini"})
            fs::copy_file(fs::path(NIMBREL_DATA_DIR) / name, install / name);
        desktop.registry.SetString(kHkeyLocalMachine, kUninstallKey, "UninstallString",
                                   install.Path().string() + "\\uninst.exe");
        fs::current_path(start.Path());
        // A scenario that fails to end the program ends as if with WM_QUIT
        // instead of running forever.
        desktop.loop.StopAt(kLongestScenario);
    }
    ~StartupTest() override {
        EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
        EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u) << "document reference held";
        EXPECT_EQ(desktop.registry.OpenKeys(), 0u) << "registry key left open";
        ResetProgramState();
    }

    ProgramExit Run() { return RunApplication(desktop.platform()); }
    // Something happens at `time` ms after the start.
    void At(std::uint64_t time, std::function<void()> action) {
        desktop.clock.At(time, std::move(action));
    }
    SimDialog Options() { return desktop.dialogs.Find(IDD_OPTIONS); }

    // The settings file of the installation as a record (defaults where the
    // file is short); fails the test when it is missing.
    Settings StoredSettings() const {
        Settings stored = Settings::Defaults();
        EXPECT_FALSE(LoadSettings(stored, install / kSettingsFileName)) << "no Nimbrel.cfg";
        return stored;
    }
    void StoreSettings(const Settings& record) {
        ASSERT_FALSE(SaveSettings(record, install / kSettingsFileName));
    }
    String LanguageText(const char* key) {
        CLangFile language((install / "lang.ini").string());
        const String* text = language.GetText(key);
        return text != nullptr ? *text : String();
    }

    // A news reply as OE opens it: CR LF line breaks, no break at the end.
    static String NewsReply() {
        String text =
            AnsiToUtf16(ReadFileBytes(fs::path(NIMBREL_DATA_DIR) / "examples/news_reply.txt"));
        while (text.ends_with(u"\n"))
            text.pop_back();
        String reply;
        for (const char16_t c : text)
            reply += c == u'\n' ? String(u"\r\n") : String(1, c);
        return reply;
    }

    TempDirectory install;
    TempDirectory start;
    SimDesktop desktop;
    OeTestHost oe{desktop};
};

TEST_F(StartupTest, ASecondStartBringsTheRunningInstanceForwardAndTouchesNothing) {
    const WindowHandle running =
        desktop.windows.Create(u"#32770", u"Nimbrel   ", kNoWindow, kOtherProcess);
    desktop.windows.ShowWindow(running, sw::kHide);
    desktop.windows.EnableWindow(running, false);
    oe.Start();

    EXPECT_EQ(Run(), ProgramExit::kOtherInstance);

    const SimWindow* window = desktop.windows.Get(running);
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(window->enabled);
    EXPECT_EQ(desktop.windows.Foreground(), running);
    EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
    EXPECT_FALSE(Options().Exists());
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
    // Neither the install directory nor the start directory got a file, and
    // the registry was not consulted (the directory did not change).
    EXPECT_FALSE(fs::exists(install / kSettingsFileName));
    EXPECT_TRUE(fs::is_empty(start.Path()));
    EXPECT_EQ(fs::current_path(), start.Path());
}

TEST_F(StartupTest, TheFirstRunShowsTheNoteAndWritesTheSettingsAtTheEnd) {
    oe.Start();
    bool writtenEarly = true;
    At(1000, [&] {
        writtenEarly = fs::exists(install / kSettingsFileName);
        EXPECT_EQ(app.running, 1);
        EXPECT_FALSE(Options().Visible());
        EXPECT_FALSE(Options().Enabled());
        ASSERT_NE(desktop.shell.TrayIcon(), nullptr);
        desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE);
    });

    EXPECT_EQ(Run(), ProgramExit::kEnded);

    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
    const SimMessageBox& note = desktop.messageBoxes.Shown()[0];
    EXPECT_FALSE(note.ansi);
    EXPECT_EQ(note.caption, u"Nimbrel - NOTE");
    EXPECT_EQ(note.text, LanguageText("#First Time"));
    EXPECT_FALSE(note.text.empty());
    EXPECT_EQ(note.flags, mb::kSystemModal | mb::kIconInformation);
    EXPECT_EQ(note.time, 0u);

    EXPECT_FALSE(writtenEarly);
    EXPECT_EQ(ReadFileBytes(install / kSettingsFileName).size(), sizeof(Settings));
    EXPECT_EQ(StoredSettings().wrapColumn, 72);
    EXPECT_TRUE(fs::is_empty(start.Path()));
    // The end took the dialog, its timer and the tray icon away.
    EXPECT_FALSE(Options().Exists());
    EXPECT_EQ(desktop.loop.TimerCount(), 0u);
    EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
    EXPECT_EQ(app.mainDialog, nullptr);
    EXPECT_EQ(app.mainWindow, kNoWindow);
    EXPECT_EQ(app.langFile, nullptr);
    EXPECT_EQ(app.running, 0);
}

TEST_F(StartupTest, WithoutTheRegistryEntryTheProgramWorksInItsStartDirectory) {
    desktop.registry.DeleteKey(kHkeyLocalMachine, kUninstallKey);
    for (const char* name : {"lang.ini", "styles.css", "emoticons.ini"})
        fs::copy_file(install / name, start / name);
    oe.Start();
    At(1000, [&] { desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE); });

    EXPECT_EQ(Run(), ProgramExit::kEnded);

    ASSERT_EQ(desktop.messageBoxes.Shown().size(), 2u);
    EXPECT_EQ(desktop.messageBoxes.Shown()[0].text,
              u"Registry key not found!\nThis application has not been installed properly.");
    EXPECT_EQ(desktop.messageBoxes.Shown()[1].caption, u"Nimbrel - NOTE");
    EXPECT_TRUE(fs::exists(start / kSettingsFileName));
    EXPECT_FALSE(fs::exists(install / kSettingsFileName));
}

TEST_F(StartupTest, TheDependencyQuestionDecidesWhetherTheProgramRuns) {
    const struct {
        const char* name;
        int answer;
        bool settingsFileBefore;
        ProgramExit exit;
    } cases[] = {
        {"No", mb::kIdNo, true, ProgramExit::kDependencyDeclined},
        {"No on the first run", mb::kIdNo, false, ProgramExit::kDependencyDeclined},
        {"the box failed", 0, true, ProgramExit::kDependencyDeclined},
        {"Yes", mb::kIdYes, true, ProgramExit::kEnded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        desktop.messageBoxes.Clear();
        fs::remove(install / kSettingsFileName);
        Settings stored = Settings::Defaults();
        stored.wrapColumn = 80;
        if (c.settingsFileBefore) StoreSettings(stored);
        const std::string bytesBefore =
            c.settingsFileBefore ? ReadFileBytes(install / kSettingsFileName) : "";
        // Outlook Express is not running.
        if (!c.settingsFileBefore) desktop.messageBoxes.Answer(mb::kIdOk);  // the first-time note
        desktop.messageBoxes.Answer(c.answer);
        // Accepted, the program keeps running without Outlook Express until
        // it is told to end.
        const std::uint64_t end = desktop.clock.Now() + 3000;
        if (c.exit == ProgramExit::kEnded) {
            At(end, [&] { desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE); });
        }

        EXPECT_EQ(Run(), c.exit);

        const SimMessageBox& question = desktop.messageBoxes.Shown().back();
        EXPECT_EQ(question.caption, u"Nimbrel");
        EXPECT_EQ(question.text, LanguageText("#Dependency Check Warning"));
        EXPECT_EQ(question.flags, mb::kYesNo | mb::kIconQuestion);
        if (c.exit == ProgramExit::kDependencyDeclined) {
            EXPECT_FALSE(Options().Exists());
            EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
            EXPECT_EQ(fs::exists(install / kSettingsFileName), c.settingsFileBefore);
            if (c.settingsFileBefore) {
                EXPECT_EQ(ReadFileBytes(install / kSettingsFileName), bytesBefore);
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(install.Path()), {}),
                      c.settingsFileBefore ? 5 : 4)
                << "a file was left in the install directory";
        } else {
            EXPECT_GE(desktop.clock.Now(), end);
            EXPECT_EQ(StoredSettings().dependOnOE, 0);
            EXPECT_EQ(StoredSettings().wrapColumn, 80);
        }
    }
}

TEST_F(StartupTest, TerminateSavesACheckBoxChangedAMomentBefore) {
    const struct {
        const char* name;
        bool fromTray;
    } cases[] = {{"Terminate button", false}, {"tray menu Terminate", true}};
    oe.Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        StoreSettings(Settings::Defaults());
        At(desktop.clock.Now() + 1000, [&] {
            desktop.DoubleClickTrayIcon();
            SimDialog options = Options();
            ASSERT_TRUE(options.Visible());
            ASSERT_FALSE(options.Checked(IDC_OPT_CONTINUOUS_COLORING));
            // No tick between the click and the end.
            options.Click(IDC_OPT_CONTINUOUS_COLORING);
            options.Type(IDC_OPT_WRAP_COLUMN, u"200");
            if (c.fromTray) {
                desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE);
            } else {
                options.Click(IDC_OPT_TERMINATE);
            }
        });

        EXPECT_EQ(Run(), ProgramExit::kEnded);

        const Settings stored = StoredSettings();
        EXPECT_EQ(stored.continuousColoring, 1);
        EXPECT_EQ(stored.wrapColumn, 132);
    }
}

TEST_F(StartupTest, OutlookExpressEndingEndsTheProgramWhichSaves) {
    Settings stored = Settings::Defaults();
    stored.signatureToBottom = 0;
    StoreSettings(stored);
    oe.Start();
    At(1000, [&] { desktop.ChooseFromTrayMenu(ID_TRAY_INVERT); });
    At(2000, [&] { oe.Exit(); });

    EXPECT_EQ(Run(), ProgramExit::kEnded);

    // The next tick after OE went, and the second look 500 ms later.
    EXPECT_GE(desktop.clock.Now(), 2500u);
    EXPECT_LT(desktop.clock.Now(), 2500u + 300u);
    EXPECT_EQ(StoredSettings().signatureToBottom, 1);
    EXPECT_EQ(StoredSettings().cursorAtTop, 0);
}

TEST_F(StartupTest, AHiddenTrayIconStaysHiddenAfterARestart) {
    StoreSettings(Settings::Defaults());
    oe.Start();
    At(1000, [&] { desktop.ChooseFromTrayMenu(ID_TRAY_HIDE_ICON); });
    At(2000, [&] { desktop.loop.PostQuitMessage(0); });
    EXPECT_EQ(Run(), ProgramExit::kQuit);
    EXPECT_EQ(StoredSettings().hideTrayIcon, 1);

    // The same user starts Nimbrel again; later Outlook Express ends, and
    // Nimbrel with it.
    ResetProgramState();
    bool iconShown = true;
    At(3000, [&] {
        EXPECT_TRUE(Options().Exists());
        iconShown = desktop.shell.TrayIcon() != nullptr;
        oe.Exit();
    });
    EXPECT_EQ(Run(), ProgramExit::kEnded);
    EXPECT_FALSE(iconShown);
    EXPECT_EQ(StoredSettings().hideTrayIcon, 1);
}

TEST_F(StartupTest, TheLoopEndsOnQuitOrAMessageErrorAndTheSettingsAreWritten) {
    const struct {
        const char* name;
        std::function<void(SimDesktop&)> ending;
        ProgramExit exit;
    } cases[] = {
        {"WM_QUIT", [](SimDesktop& d) { d.loop.PostQuitMessage(0); }, ProgramExit::kQuit},
        // Without its timer nothing can ever wake the loop: GetMessageW fails.
        {"GetMessageW error",
         [](SimDesktop& d) { d.loop.KillTimer(app.mainWindow, kWatchTimerId); },
         ProgramExit::kMessageError},
    };
    oe.Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        fs::remove(install / kSettingsFileName);
        desktop.messageBoxes.Clear();
        At(desktop.clock.Now() + 1000, [&] {
            settings.wrapColumn = 90;
            c.ending(desktop);
        });

        EXPECT_EQ(Run(), c.exit);

        EXPECT_EQ(StoredSettings().wrapColumn, 90);
        EXPECT_EQ(desktop.shell.TrayIcon(), nullptr);
        EXPECT_FALSE(Options().Exists());
    }
}

// A command that ends the program while the loop waits ends it before the
// next message: the watcher's tick does not run any more.
TEST_F(StartupTest, NoTickRunsAfterTheTraysTerminate) {
    StoreSettings(Settings::Defaults());
    oe.Start();
    const String original = NewsReply();
    OeNote reply;
    At(1000, [&] {
        reply = oe.OpenReply(original);
        desktop.ChooseFromTrayMenu(ID_TRAY_TERMINATE);
    });

    EXPECT_EQ(Run(), ProgramExit::kEnded);

    EXPECT_EQ(oe.BodyText(reply.note), original);
}

// Nothing could end a loop without the main window: it is skipped.
TEST_F(StartupTest, WithoutTheMainDialogTheLoopIsSkippedAndTheSettingsAreWritten) {
    oe.Start();
    desktop.dialogs.FailNextCreate();

    EXPECT_EQ(Run(), ProgramExit::kNoMainWindow);

    EXPECT_LT(desktop.clock.Now(), kLongestScenario);
    EXPECT_EQ(ReadFileBytes(install / kSettingsFileName).size(), sizeof(Settings));
    EXPECT_EQ(app.running, 0);
}

}  // namespace
}  // namespace nimbrel
