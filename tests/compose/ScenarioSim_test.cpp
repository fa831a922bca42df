// The scenarios of tests/data/scenarios against the simulated desktop: the
// whole program as RunApplication runs it (install directory, Nimbrel.cfg,
// options dialog, timer), OeTestHost playing Outlook Express. The Win32
// test host plays the same files beside the real Nimbrel.exe, with the same
// expectations (tests/win32/scenarios_test.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "coloring/Emoticons.h"
#include "platform/sim/OeTestHost.h"
#include "platform/sim/SimDesktop.h"
#include "shell/App.h"
#include "shell/Startup.h"
#include "support/ScenarioRunner.h"
#include "support/TempDirectory.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
// Past this the program is stopped as if with WM_QUIT.
constexpr std::uint64_t kTimeLimit = 600000;

fs::path ScenarioFolder() {
    return fs::path(NIMBREL_TEST_DATA_DIR) / "scenarios";
}

class SimWorld : public ScenarioWorld {
  public:
    SimWorld(SimDesktop& desktop_, OeTestHost& oe_, fs::path install_)
        : desktop(desktop_), oe(oe_), install(std::move(install_)) {}

    void Open(const ScenarioStep& step) override {
        if (step.kind == ScenarioStep::Kind::kPreview) {
            windows[step.id] = oe.ShowInPreview(step.text, step.html);
            return;
        }
        OeNoteOptions options;
        options.title = step.title;
        options.titleDelay = step.titleAfter;
        // "never": longer than any scenario runs.
        options.completeDelay = step.completeAfter.value_or(kTimeLimit * 10);
        options.html = step.html;
        const OeNote note = step.kind == ScenarioStep::Kind::kReply
                                ? oe.OpenReply(step.text, options)
                                : oe.OpenMessage(step.text, options);
        windows[step.id] = note.note;
        if (step.hung) desktop.windows.Get(note.documentWindow)->hung = true;
    }
    void SetTitle(const std::string& id, StringView title) override {
        oe.TypeSubject(windows[id], title);
    }
    void Close(const std::string& id) override { oe.Close(windows[id]); }
    void SetClipboardText(StringView text) override {
        desktop.clipboard.PutText(kOtherProcess, text);
    }
    void HoldAlt(bool down) override { desktop.HoldAlt(down); }
    void ExitOe() override { oe.Exit(); }

    std::optional<String> BodyText(const std::string& id) override {
        SimDocument* document = DocumentOf(id);
        return document ? std::optional<String>(document->InnerText()) : std::nullopt;
    }
    std::optional<String> BodyHtml(const std::string& id) override {
        SimDocument* document = DocumentOf(id);
        return document ? std::optional<String>(document->InnerHtml()) : std::nullopt;
    }
    std::optional<String> Title(const std::string& id) override {
        SimDocument* document = DocumentOf(id);
        return document ? document->title : std::nullopt;
    }
    std::vector<String> StyleSheets(const std::string& id) override {
        SimDocument* document = DocumentOf(id);
        return document ? document->styleSheets : std::vector<String>{};
    }
    String StyleSheetPath() override {
        return desktop.system.MultiByteToWideChar(installDirectory) + kPathSeparator +
               u"styles.css";
    }
    std::optional<String> ClipboardText() override {
        return desktop.clipboard.ReadTextAs(kOtherProcess);
    }
    std::vector<std::pair<String, String>> StatusRows() override {
        const SimDialog dialog = desktop.dialogs.Find(IDD_OPTIONS);
        if (!dialog.Exists()) return lastRows;
        lastRows.clear();
        for (const std::vector<String>& row : dialog.Rows(IDC_OPT_STATUS_LIST))
            lastRows.emplace_back(row.size() > 0 ? row[0] : u"", row.size() > 1 ? row[1] : u"");
        return lastRows;
    }
    bool ProgramRunning() override { return running; }
    bool SettingsWritten() override { return fs::exists(install / kSettingsFileName); }

    bool running = true;
    std::string installDirectory;  // as the program found it

  private:
    SimDocument* DocumentOf(const std::string& id) {
        const auto found = windows.find(id);
        if (found == windows.end()) return nullptr;
        try {
            return &oe.Document(found->second);
        } catch (const std::invalid_argument&) {
            return nullptr;  // closed
        }
    }

    SimDesktop& desktop;
    OeTestHost& oe;
    fs::path install;
    std::map<std::string, WindowHandle> windows;
    std::vector<std::pair<String, String>> lastRows;
};

// The install directory: the bundled data files, the scenario's settings
// and signatures.
void Install(const ScenarioScript& script, const fs::path& install) {
    const fs::path data = NIMBREL_DATA_DIR;
    for (const char* name : {"lang.ini", "styles.css", "emoticons.ini", "signatures.ini"})
        fs::copy_file(data / name, install / name, fs::copy_options::overwrite_existing);
    fs::copy(data / "emoticons", install / "emoticons", fs::copy_options::recursive);
    if (!script.SignaturesFile().empty())
        WriteFileBytes(install / "signatures.ini", script.SignaturesFile());
    ASSERT_FALSE(SaveSettings(script.StartSettings(), install / kSettingsFileName));
}

class ScenarioSimTest : public ::testing::TestWithParam<std::string> {
  protected:
    ScenarioSimTest() { ResetProgramState(); }
    ~ScenarioSimTest() override { ResetProgramState(); }
};

TEST_P(ScenarioSimTest, PassesAgainstTheSimulatedDesktop) {
    const ScenarioScript script = ScenarioScript::Load(ScenarioFolder() / GetParam());
    ASSERT_EQ(script.Error(), "");
    TempDirectory install;
    Install(script, install.Path());

    SimDesktop desktop;
    desktop.registry.SetString(kHkeyLocalMachine, kUninstallKey, "UninstallString",
                               install.Path().string() + "\\uninst.exe");
    desktop.loop.StopAt(kTimeLimit);
    OeTestHost oe(desktop);
    oe.Start();
    SimWorld world(desktop, oe, install.Path());
    ScenarioRunner runner(script, world);

    // The steps run on the clock while the program runs; once every step has
    // run the user terminates the program, unless it is to end by itself.
    bool started = false;
    std::function<void()> step = [&] {
        if (!world.running) return;
        if (!started) {
            // The program has read its settings: Nimbrel.cfg is written anew
            // only when it ends.
            started = true;
            world.installDirectory = app.installDirectory;
            fs::remove(install.Path() / kSettingsFileName);
        }
        if (const std::optional<std::uint64_t> next = runner.Advance(desktop.clock.Now())) {
            desktop.clock.At(*next, step);
        } else if (!runner.ExpectsEnd()) {
            // Shown from the tray first, as the user does.
            desktop.DoubleClickTrayIcon();
            desktop.dialogs.Find(IDD_OPTIONS).Click(IDC_OPT_TERMINATE);
        }
    };
    desktop.clock.At(1, step);
    const ProgramExit exit = RunApplication(desktop.platform());
    world.running = false;
    // Steps left when the program ended (it was to end by itself) go on.
    while (const std::optional<std::uint64_t> next = runner.Advance(desktop.clock.Now())) {
        if (*next > kTimeLimit) break;
        desktop.clock.AdvanceTo(*next);
    }

    for (const std::string& line : runner.Log())
        std::printf("  %s\n", line.c_str());
    EXPECT_TRUE(runner.Done()) << "steps left when the time limit was reached";
    EXPECT_TRUE(runner.Failures().empty()) << runner.Failures().front();
    EXPECT_EQ(exit, ProgramExit::kEnded);
    EXPECT_TRUE(started) << "the program never ran a step";
    EXPECT_TRUE(world.SettingsWritten());
    for (const SimMessageBox& box : desktop.messageBoxes.Shown())
        ADD_FAILURE() << "message box: " << Visible(box.text);
    EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
}

std::vector<std::string> ScenarioFiles() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(ScenarioFolder()))
        if (entry.path().extension() == ".txt") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioSimTest, ::testing::ValuesIn(ScenarioFiles()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name;
                             for (const char c : param.param.substr(0, param.param.size() - 4))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace nimbrel
