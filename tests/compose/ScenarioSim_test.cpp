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

#include "sim/ScenarioPlayer.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

fs::path ScenarioFolder() {
    return fs::path(NIMBREL_TEST_DATA_DIR) / "scenarios";
}

class ScenarioSimTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioSimTest, PassesAgainstTheSimulatedDesktop) {
    const ScenarioScript script = ScenarioScript::Load(ScenarioFolder() / GetParam());
    ASSERT_EQ(script.Error(), "");
    TempDirectory root;
    ScenarioPlayer player(script, root.Path());
    ASSERT_EQ(player.Install(NIMBREL_DATA_DIR), "");
    const ProgramExit exit = player.Play();

    for (const std::string& line : player.runner.Log())
        std::printf("  %s\n", line.c_str());
    EXPECT_TRUE(player.runner.Done()) << "steps left when the time limit was reached";
    EXPECT_TRUE(player.runner.Failures().empty()) << player.runner.Failures().front();
    EXPECT_EQ(exit, ProgramExit::kEnded);
    EXPECT_TRUE(player.Started()) << "the program never ran a step";
    EXPECT_TRUE(player.world.SettingsWritten());
    for (const SimMessageBox& box : player.desktop.messageBoxes.Shown())
        ADD_FAILURE() << "message box: " << Visible(box.text);
    EXPECT_TRUE(player.desktop.faults.Empty()) << player.desktop.faults.List().front();
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
