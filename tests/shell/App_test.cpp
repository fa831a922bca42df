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

constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
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
    EXPECT_STREQ(app.installDirectory, "");
}

// The uninstaller's directory becomes the current directory; a value that
// gives none is reported. "<dir>" stands for an existing directory.
TEST_F(AppTest, TheUninstallStringGivesTheInstallDirectory) {
    const std::string dir = installDir.Path().string();
    std::string unterminated = "D:\\" + std::string(240, 'd') + "\\uninstall.exe";
    unterminated.resize(260, 'e');  // fills the buffer, no NUL anywhere
    const struct {
        const char* name;
        std::uint32_t type;
        std::string bytes;
        std::string directory;  // empty: refused
    } cases[] = {
        {"a string", reg::kTypeString, dir + "\\uninst.exe" + std::string(1, '\0'), dir},
        {"unterminated, shorter than the buffer", reg::kTypeExpandString, dir + "\\uninst.exe",
         dir},
        {"unterminated, cut inside the buffer", reg::kTypeString, unterminated,
         unterminated.substr(0, 243)},
        {"no value", reg::kTypeNone, "", ""},
        {"not a string, though it holds a backslash", reg::kTypeDword, std::string("a\\b\0", 4),
         ""},
        {"no backslash", reg::kTypeString, std::string("uninst.exe\0", 11), ""},
        {"only a leading backslash", reg::kTypeString, std::string("\\uninst.exe\0", 12), ""},
        {"longer than 260 bytes", reg::kTypeString, "C:\\" + std::string(300, 'x') + "\\u.exe", ""},
    };
    WriteFileBytes(installDir / "Nimbrel.cfg", "settings");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app = App{};
        desktop = std::make_unique<SimDesktop>();
        fs::current_path(fs::temp_directory_path());
        const fs::path start = fs::current_path();
        desktop->registry.CreateKey(kHkeyLocalMachine, kKey);
        if (c.type != reg::kTypeNone) {
            desktop->registry.SetValue(kHkeyLocalMachine, kKey, "UninstallString", c.type, c.bytes);
        }
        EXPECT_EQ(app.LocateInstallDirectory(desktop->platform()), c.directory.empty());
        EXPECT_EQ(std::string(app.installDirectory), c.directory);
        if (c.directory.empty()) {
            ExpectOneBox(kValueMissing);
            EXPECT_EQ(fs::current_path(), start);
        } else {
            EXPECT_TRUE(desktop->messageBoxes.Shown().empty());
        }
        if (c.directory == dir) {
            EXPECT_EQ(ReadFileBytes("Nimbrel.cfg"), "settings");  // found by its bare name
        }
        EXPECT_EQ(desktop->registry.OpenKeys(), 0u);
    }
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
