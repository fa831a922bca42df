#include "sim/ScenarioPlayer.h"

#include <functional>
#include <system_error>

#include "reformat/Signatures.h"
#include "shell/App.h"
#include "shell/AtomicFile.h"
#include "shell/Settings.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

namespace fs = std::filesystem;

namespace {

fs::path AppDataFolder(const fs::path& root) {
    return root / "Application Data";
}

}  // namespace

ScenarioPlayer::ScenarioPlayer(const ScenarioScript& script_, const fs::path& root)
    : world(desktop, oe, AppDataFolder(root) / kUserFolderName, kTimeLimit * 10),
      runner(script_, world),
      script(script_),
      install(root / "Nimbrel"),
      user(AppDataFolder(root) / kUserFolderName) {
    ResetProgramState();
    desktop.shell.SetAppDataFolder(AppDataFolder(root));
}

ScenarioPlayer::~ScenarioPlayer() {
    ResetProgramState();
}

std::string ScenarioPlayer::Install(const fs::path& data) {
    std::error_code error;
    for (const fs::path& folder : {install, user}) {
        if (!fs::create_directories(folder, error) && error)
            return "cannot create '" + folder.string() + "': " + error.message();
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(data, error)) {
        const fs::path name = entry.path().filename();
        if (name == "examples" || name == kSettingsFileName) continue;
        fs::copy(entry.path(), install / name,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        if (error) break;
    }
    if (error) return "cannot copy '" + data.string() + "': " + error.message();
    // The scenario's files are the user's; signatures.ini of the data
    // directory is the installation's default.
    if (!script.SignaturesFile().empty() &&
        WriteFileAtomically(user / kSignaturesFileName, script.SignaturesFile()))
        return "cannot write '" + (user / kSignaturesFileName).string() + "'";
    if (!script.FirstRun() && SaveSettings(script.StartSettings(), user / kSettingsFileName))
        return "cannot write '" + (user / kSettingsFileName).string() + "'";
    desktop.registry.SetString(kHkeyLocalMachine, kUninstallKey, kUninstallValue,
                               install.u16string() + u"\\uninst.exe");
    return "";
}

ProgramExit ScenarioPlayer::Play() {
    desktop.loop.StopAt(kTimeLimit);
    if (script.CodePage() == ScenarioScript::kWindows1252) {
        desktop.codePage.Set(SimCodePage::Kind::kWindows1252);
    }
    oe.Start();
    std::function<void()> step = [&] {
        if (!world.running) return;
        if (!started) {
            // The program has read its settings: Nimbrel.cfg is written anew
            // only when it ends.
            started = true;
            world.installDirectory = app.installDirectory;
            std::error_code ignored;
            fs::remove(user / kSettingsFileName, ignored);
        }
        if (const std::optional<std::uint64_t> next = runner.Advance(desktop.clock.Now())) {
            desktop.clock.At(*next, step);
        } else if (!runner.ExpectsEnd()) {
            desktop.DoubleClickTrayIcon();
            world.StatusRows();  // as the user last saw them
            desktop.dialogs.Find(IDD_OPTIONS).Click(IDC_OPT_TERMINATE);
        }
    };
    desktop.clock.At(1, step);
    desktop.windows.GiveInput(kProgramProcess);  // the user starts it
    const ProgramExit exit = RunApplication(desktop.platform());
    world.running = false;
    while (const std::optional<std::uint64_t> next = runner.Advance(desktop.clock.Now())) {
        if (*next > kTimeLimit) break;
        desktop.clock.AdvanceTo(*next);
    }
    return exit;
}

}  // namespace nimbrel
