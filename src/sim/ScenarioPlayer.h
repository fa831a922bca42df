// Plays a scenario with the whole program on a fresh simulated desktop, as
// a user would live it: the program is installed from a data directory (its
// files without examples/), the scenario's Nimbrel.cfg and signatures.ini
// are the user's own (in the user's folder of the desktop's application data
// folder), and the program, found through its uninstall registry entry, is
// run by RunApplication beside OeTestHost. The steps run on the virtual clock while
// the program runs; once every step has run the user shows the options
// dialog from the tray and clicks Terminate, unless the scenario has the
// program end by itself. Steps left when the program ends go on after it.
// Used by `nimbrel demo` and by the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "shell/Startup.h"
#include "sim/OeTestHost.h"
#include "sim/ScenarioRunner.h"
#include "sim/SimDesktop.h"
#include "sim/SimScenarioWorld.h"

namespace nimbrel {

class ScenarioPlayer {
  public:
    // Past this the program is stopped as if with WM_QUIT.
    static constexpr std::uint64_t kTimeLimit = 600000;

    // Everything goes into `root`, an existing directory: the program into
    // root/Nimbrel, the user's application data folder is root/Application
    // Data. Starts from a clean program state, and leaves one behind.
    ScenarioPlayer(const ScenarioScript& script, const std::filesystem::path& root);
    ~ScenarioPlayer();
    ScenarioPlayer(const ScenarioPlayer&) = delete;
    ScenarioPlayer& operator=(const ScenarioPlayer&) = delete;

    // Installs from `data`; the reason when a file cannot be copied or
    // written, else empty.
    std::string Install(const std::filesystem::path& data);
    // Runs the program and the steps; how the program ended.
    ProgramExit Play();

    // Whether the program ran far enough to play a step.
    bool Started() const { return started; }

    // Where the program is installed, and the folder of the user's files.
    const std::filesystem::path& InstallDirectory() const { return install; }
    const std::filesystem::path& UserDirectory() const { return user; }

    SimDesktop desktop;
    OeTestHost oe{desktop};
    SimScenarioWorld world;
    ScenarioRunner runner;

  private:
    const ScenarioScript& script;
    std::filesystem::path install;
    std::filesystem::path user;
    bool started = false;
};

}  // namespace nimbrel
