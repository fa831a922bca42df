#include "shell/App.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim/SimDesktop.h"
#include "shell/Settings.h"
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

TEST_F(AppTest, TheUninstallersDirectoryBecomesTheCurrentDirectory) {
    {
        std::ofstream cfg(installDir / "Nimbrel.cfg");
        cfg << "settings";
    }
    const std::string uninstaller = installDir.Path().string() + "\\uninst.exe";
    desktop->registry.SetString(kHkeyLocalMachine, kKey, "UninstallString", uninstaller);

    EXPECT_FALSE(app.LocateInstallDirectory(desktop->platform()));
    EXPECT_EQ(std::string(app.installDirectory), installDir.Path().string());
    EXPECT_TRUE(desktop->messageBoxes.Shown().empty());
    EXPECT_EQ(desktop->registry.OpenKeys(), 0u);
    // Files are now found by their bare names.
    std::ifstream cfg("Nimbrel.cfg");
    std::string content;
    cfg >> content;
    EXPECT_EQ(content, "settings");
}

TEST_F(AppTest, AMissingKeyIsReportedOnceAndTheStartDirectoryStays) {
    const fs::path start = fs::current_path();
    EXPECT_TRUE(app.LocateInstallDirectory(desktop->platform()));
    // Start-up calls it again on platforms that also ran the Unicode layer.
    EXPECT_FALSE(app.LocateInstallDirectory(desktop->platform()));
    ExpectOneBox(kKeyMissing);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_STREQ(app.installDirectory, "");
}

TEST_F(AppTest, ValuesThatGiveNoDirectoryAreReported) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string bytes;
    };
    const Case cases[] = {
        {"no value", reg::kTypeNone, ""},
        {"not a string", reg::kTypeDword, std::string("\x01\0\0\0", 4)},
        {"no backslash", reg::kTypeString, std::string("uninst.exe\0", 11)},
        {"only a leading backslash", reg::kTypeString, std::string("\\uninst.exe\0", 12)},
        {"longer than 260 bytes", reg::kTypeString, "C:\\" + std::string(300, 'x') + "\\u.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app = App{};
        desktop = std::make_unique<SimDesktop>();
        desktop->registry.CreateKey(kHkeyLocalMachine, kKey);
        if (c.type != reg::kTypeNone) {
            desktop->registry.SetValue(kHkeyLocalMachine, kKey, "UninstallString", c.type, c.bytes);
        }
        const fs::path start = fs::current_path();
        EXPECT_TRUE(app.LocateInstallDirectory(desktop->platform()));
        ExpectOneBox(kValueMissing);
        EXPECT_STREQ(app.installDirectory, "");
        EXPECT_EQ(fs::current_path(), start);
        EXPECT_EQ(desktop->registry.OpenKeys(), 0u);
    }
}

TEST_F(AppTest, AValueFillingTheBufferWithoutTerminatorIsCutInsideIt) {
    std::string value = "D:\\" + std::string(240, 'd') + "\\uninstall.exe";
    value.resize(260, 'e');  // no NUL anywhere
    desktop->registry.SetValue(kHkeyLocalMachine, kKey, "UninstallString", reg::kTypeString, value);
    EXPECT_FALSE(app.LocateInstallDirectory(desktop->platform()));
    EXPECT_EQ(std::string(app.installDirectory), value.substr(0, 243));
    EXPECT_TRUE(desktop->messageBoxes.Shown().empty());
}

TEST_F(AppTest, AValueWithoutTerminatorShorterThanTheBufferIsTakenWhole) {
    const std::string value = installDir.Path().string() + "\\uninst.exe";
    desktop->registry.SetValue(kHkeyLocalMachine, kKey, "UninstallString", reg::kTypeExpandString,
                               value);
    EXPECT_FALSE(app.LocateInstallDirectory(desktop->platform()));
    EXPECT_EQ(std::string(app.installDirectory), installDir.Path().string());
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
