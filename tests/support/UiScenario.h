// A scenario fixture for the dialogs and the tray: a simulated desktop, a
// temporary current directory (so Nimbrel.cfg is written there, and a
// styles.css is found), fresh
// settings, and the options dialog created as start-up creates it. The
// scenario ends with no fault noted by the simulation.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/sim/SimDesktop.h"
#include "support/TempDirectory.h"
#include "ui/CLangFile.h"
#include "ui/COptionsDlg.h"

namespace nimbrel {

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

    // The tray menu as the user saw it last, and the texts of its items.
    std::vector<String> TrayMenuTexts();

    // The watcher's `suspended` flag, which the dialog sets and clears.
    std::uint8_t Suspended() { return options->Colorer().suspended; }

    // The watcher timer's ticks (the timer callback counts them).
    static int ticks;
    static void CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t);

    TempDirectory directory;
    SimDesktop desktop;
    std::optional<CLangFile> language;
    std::unique_ptr<COptionsDlg> options;
};

}  // namespace nimbrel
