// The scenario world of the Win32 test host: the mail client's windows
// (OeHostWindows), the user's keyboard and clipboard, and the running
// Nimbrel.exe, whose status list is read from its options dialog's list
// view across processes (the texts pass through memory allocated in
// Nimbrel's process).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "OeHostWindows.h"
#include "sim/ScenarioWorld.h"

namespace nimbrel {

class HostScenarioWorld : public ScenarioWorld {
  public:
    // `process`: Nimbrel.exe's; `installDirectory` as the program sees it;
    // `userDirectory`: where it writes Nimbrel.cfg.
    HostScenarioWorld(OeHostWindows& windows, HANDLE process, std::wstring installDirectory,
                      std::wstring userDirectory);
    ~HostScenarioWorld() override;

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
    bool ProgramRunning() override;
    bool SettingsWritten() override;

    // Lets every window go (hung threads included) and lifts Alt.
    void CloseAll();
    // For the report: every window the scenario opened.
    const std::map<std::string, HostNote>& Notes() const { return notes; }

  private:
    const SimDocument* Model(const std::string& id) const;

    OeHostWindows& windows;
    HANDLE process;
    std::wstring installDirectory;
    std::wstring userDirectory;
    std::map<std::string, HostNote> notes;
    std::vector<std::pair<String, String>> lastRows;
    bool altDown = false;
    UINT_PTR altTimer = 0;
    // The threads that hold the clipboard open, as another program would.
    std::vector<HANDLE> clipboardHolders;
};

// The options dialog of the running program, or null.
HWND FindNimbrelDialog();

}  // namespace nimbrel
