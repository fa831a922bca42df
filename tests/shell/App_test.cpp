#include "shell/App.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/Settings.h"
#include "sim/SimDesktop.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

constexpr const char16_t* kKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
constexpr const char16_t* kKeyMissing =
    u"Registry key not found!\nThis application has not been installed properly.";
constexpr const char16_t* kValueMissing =
    u"Registry value not found!\nThis application has not been installed properly.";

class AppTest : public ::testing::Test {
  protected:
    AppTest() { app = App{}; }
    ~AppTest() override {
        app = App{};
        fs::current_path(fs::temp_directory_path());  // out of the directory going away
    }

    void ExpectOneBox(const char16_t* text) {
        ASSERT_EQ(desktop->messageBoxes.Shown().size(), 1u);
        const SimMessageBox& box = desktop->messageBoxes.Shown()[0];
        EXPECT_TRUE(box.ansi);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, u"Nimbrel Error");
        EXPECT_EQ(box.flags, 0x1030u);
    }

    TempDirectory installDir;
    std::unique_ptr<SimDesktop> desktop = std::make_unique<SimDesktop>();
};

TEST_F(AppTest, AMissingKeyIsReportedOnceAndTheStartDirectoryStays) {
    const fs::path start = fs::current_path();
    EXPECT_TRUE(app.LocateInstallDirectory(desktop->platform()));
    // Start-up calls it again on platforms that also ran the Unicode layer.
    EXPECT_FALSE(app.LocateInstallDirectory(desktop->platform()));
    ExpectOneBox(kKeyMissing);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(String(app.installDirectory), u"");
}

// A value's bytes as RegQueryValueExW gives them: UTF-16 units, low byte first.
std::string Units(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// The uninstaller's directory becomes the current directory; a value that
// gives none is reported. The wide calls reach a folder whose name no ANSI
// code page of the user need spell.
TEST_F(AppTest, TheUninstallStringGivesTheInstallDirectory) {
    const fs::path unicodeDir = installDir / u"Nimbrel \u041F\u0440\u043E\u0433 \u6F22\u5B57";
    fs::create_directory(unicodeDir);
    const std::u16string dir = installDir.Path().u16string();
    const std::u16string unicode = unicodeDir.u16string();
    std::u16string unterminated = u"D:\\" + std::u16string(240, u'd') + u"\\uninstall.exe";
    unterminated.resize(260, u'e');  // fills the buffer, no NUL anywhere
    const struct {
        const char* name;
        std::uint32_t type;
        std::string bytes;
        std::u16string directory;  // empty: refused
    } cases[] = {
        {"a string", reg::kTypeString, Units(dir + u"\\uninst.exe" + u'\0'), dir},
        {"letters outside any 8-bit code page", reg::kTypeString,
         Units(unicode + u"\\uninst.exe" + u'\0'), unicode},
        {"unterminated, shorter than the buffer", reg::kTypeExpandString,
         Units(dir + u"\\uninst.exe"), dir},
        {"an odd last byte", reg::kTypeString, Units(dir + u"\\uninst.exe") + 'x', dir},
        {"unterminated, cut inside the buffer", reg::kTypeString, Units(unterminated),
         unterminated.substr(0, 243)},
        {"no value", reg::kTypeNone, "", u""},
        {"not a string, though it holds a backslash", reg::kTypeDword, Units(u"a\\b"), u""},
        {"no backslash", reg::kTypeString, Units(std::u16string(u"uninst.exe") + u'\0'), u""},
        {"only a leading backslash", reg::kTypeString,
         Units(std::u16string(u"\\uninst.exe") + u'\0'), u""},
        {"longer than 260 units", reg::kTypeString,
         Units(u"C:\\" + std::u16string(300, u'x') + u"\\u.exe"), u""},
    };
    WriteFileBytes(installDir / "Nimbrel.cfg", "settings");
    WriteFileBytes(unicodeDir / "Nimbrel.cfg", "unicode");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app = App{};
        desktop = std::make_unique<SimDesktop>();
        fs::current_path(fs::temp_directory_path());
        const fs::path start = fs::current_path();
        desktop->registry.CreateKey(kHkeyLocalMachine, kKey);
        if (c.type != reg::kTypeNone) {
            desktop->registry.SetValue(kHkeyLocalMachine, kKey, u"UninstallString", c.type,
                                       c.bytes);
        }
        EXPECT_EQ(app.LocateInstallDirectory(desktop->platform()), c.directory.empty());
        EXPECT_EQ(String(app.installDirectory), c.directory);
        if (c.directory.empty()) {
            ExpectOneBox(kValueMissing);
            EXPECT_EQ(fs::current_path(), start);
        } else {
            EXPECT_TRUE(desktop->messageBoxes.Shown().empty());
        }
        if (c.directory == dir || c.directory == unicode) {  // found by its bare name
            EXPECT_EQ(ReadFileBytes("Nimbrel.cfg"), c.directory == dir ? "settings" : "unicode");
        }
        EXPECT_EQ(desktop->registry.OpenKeys(), 0u);
    }
}

// The user's files go to "Nimbrel" in the application data folder; without
// one they stay beside the others, in the current directory.
TEST_F(AppTest, TheUserDirectoryIsNimbrelInTheApplicationDataFolder) {
    EXPECT_TRUE(app.LocateUserDirectory(desktop->platform()));
    EXPECT_TRUE(app.userDirectory.empty());
    EXPECT_EQ(app.UserFile("Nimbrel.cfg"), fs::path("Nimbrel.cfg"));

    const fs::path appData = installDir / u"Application Data \u00E9\u0436";
    desktop->shell.SetAppDataFolder(appData);
    EXPECT_FALSE(app.LocateUserDirectory(desktop->platform()));
    EXPECT_TRUE(fs::is_directory(appData));         // the shell makes a missing one
    EXPECT_FALSE(fs::exists(appData / "Nimbrel"));  // ours waits for a file to write
    EXPECT_EQ(app.userDirectory, appData / "Nimbrel");
    EXPECT_EQ(app.UserFile("signatures.ini"), appData / "Nimbrel" / "signatures.ini");
    EXPECT_TRUE(desktop->messageBoxes.Shown().empty());
}

class RecordingDialog : public SettingsControls {
  public:
    void ReadControls() override {
        runningWhenRead = app.running;
        settings.wrapColumn = 66;
    }
    int runningWhenRead = -1;
};

TEST(AppEnd, EndProgramReadsTheControlsBeforeStopping) {
    settings = Settings::Defaults();
    app = App{};
    RecordingDialog dialog;
    app.mainDialog = &dialog;
    app.running = 1;
    app.EndProgram();
    EXPECT_EQ(dialog.runningWhenRead, 1);
    EXPECT_EQ(settings.wrapColumn, 66);
    EXPECT_EQ(app.running, 0);

    app = App{};  // before the dialog exists
    app.running = 1;
    app.EndProgram();
    EXPECT_EQ(app.running, 0);
    settings = Settings::Defaults();
}

}  // namespace
}  // namespace nimbrel
