// A scenario fixture for the dialogs, the tray and the whole program: a
// simulated desktop with the mail client, a temporary current directory (so
// Nimbrel.cfg is written there, and a styles.css is found), fresh settings,
// and the options dialog created as start-up creates it. The scenario ends
// with no fault noted by the simulation, no document reference held and no
// registry key left open.
//
// Play runs a case of tests/data/ui: the user's steps and what they must
// show, one line each (the language is described in tests/data/ui/README.md).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "shell/Startup.h"
#include "sim/OeTestHost.h"
#include "sim/SimDesktop.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"
#include "ui/CLangFile.h"
#include "ui/COptionsDlg.h"

namespace nimbrel {

// The identifiers of src/ui/ResourceIds.h by name.
const std::map<std::string, int>& ResourceIdsByName();

class UiScenario : public ::testing::Test {
  protected:
    UiScenario();
    ~UiScenario() override;

    // Opens a language file with these bytes (before StartOptionsDialog).
    void UseLanguageFile(std::string bytes);
    // Creates the options dialog and makes it the main dialog and main
    // window, as start-up does.
    void StartOptionsDialog();
    // The user double-clicks the tray icon; the options dialog shows.
    SimDialog ShowOptions();
    SimDialog Options() { return desktop.dialogs.Find(IDD_OPTIONS); }

    // The settings, language file and steps of a case of tests/data/ui.
    void Play(const GoldenCase& script);

    // The watcher timer's ticks (the timer callback counts them).
    static int ticks;
    static void CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t);

    TempDirectory directory;  // the current directory
    TempDirectory install;    // where the program is installed, with "install"
    TempDirectory appData;    // the user's application data folder, with "install"
    SimDesktop desktop;
    OeTestHost oe{desktop};
    std::optional<CLangFile> language;
    std::unique_ptr<COptionsDlg> options;

  private:
    using Step = std::vector<String>;
    void Run(const std::vector<Step>& steps, std::size_t from, std::size_t to,
             std::optional<SimDialog> modal);
    void Do(const Step& step, SimDialog& dialog);
    std::vector<String> Probe(const Step& probe, SimDialog& dialog);
    void Install();
    // The folder of the user's own files the program finds in appData.
    std::filesystem::path UserFolder() const { return appData / "Nimbrel"; }
    std::vector<int> stepLines;
    std::optional<ProgramExit> exit;
    WindowHandle otherInstance = kNoWindow;
    WindowHandle reply = kNoWindow;
    String replyText;
    std::string scriptName;
    Settings snapshot = Settings::Defaults();
    int timerCallsAtSnapshot = 0;
    int unplayed = 0;  // modal and after blocks that have not run yet
};

}  // namespace nimbrel
