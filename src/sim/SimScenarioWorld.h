// The scenario world of the simulated desktop: OeTestHost plays Outlook
// Express, the desktop the user's keyboard and clipboard, and the status
// list is read from the options dialog while it exists (the last rows read
// stay once it is gone).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sim/OeTestHost.h"
#include "sim/ScenarioWorld.h"
#include "sim/SimDesktop.h"

namespace nimbrel {

class SimScenarioWorld : public ScenarioWorld {
  public:
    // `userDirectory`: where the program writes Nimbrel.cfg; `completeNever`:
    // the delay of a document that never completes.
    SimScenarioWorld(SimDesktop& desktop, OeTestHost& oe, std::filesystem::path userDirectory,
                     std::uint64_t completeNever);

    void Open(const ScenarioStep& step) override;
    void SetTitle(const std::string& id, StringView title) override;
    void Close(const std::string& id) override;
    void SetClipboardText(StringView text) override;
    void HoldClipboard(std::uint64_t milliseconds) override;
    void HoldAlt(bool down) override;
    void ExitOe() override;

    std::optional<String> BodyText(const std::string& id) override;
    std::optional<String> BodyHtml(const std::string& id) override;
    std::optional<String> Title(const std::string& id) override;
    std::vector<String> StyleSheets(const std::string& id) override;
    String StyleSheetPath() override;
    std::optional<String> ClipboardText() override;
    std::vector<std::pair<String, String>> StatusRows() override;
    bool ProgramRunning() override { return running; }
    bool SettingsWritten() override;

    bool running = true;
    String installDirectory;  // as the program found it

  private:
    // The window's document, or null when it has none or is closed.
    SimDocument* DocumentOf(const std::string& id);

    SimDesktop& desktop;
    OeTestHost& oe;
    std::filesystem::path userDirectory;
    std::uint64_t completeNever;
    std::map<std::string, WindowHandle> windows;
    std::vector<std::pair<String, String>> lastRows;
};

}  // namespace nimbrel
