// What a scenario driver plays Outlook Express and the user with, and where
// it reads back what the program did: the simulated desktop's OeTestHost, or
// the Win32 test host beside Nimbrel.exe. Windows are named by the
// scenario's ids.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/ScenarioScript.h"

namespace nimbrel {

class ScenarioWorld {
  public:
    virtual ~ScenarioWorld() = default;

    // A reply, message, preview or thief step.
    virtual void Open(const ScenarioStep& step) = 0;
    virtual void SetTitle(const std::string& id, StringView title) = 0;
    virtual void Close(const std::string& id) = 0;
    virtual void SetClipboardText(StringView text) = 0;
    // Another program keeps the clipboard open from now for `milliseconds`.
    virtual void HoldClipboard(std::uint64_t milliseconds) = 0;
    virtual void HoldAlt(bool down) = 0;
    virtual void ExitOe() = 0;

    // What the window's document holds now; nullopt when there is none.
    virtual std::optional<String> BodyText(const std::string& id) = 0;
    virtual std::optional<String> BodyHtml(const std::string& id) = 0;
    virtual std::optional<String> Title(const std::string& id) = 0;
    virtual std::vector<String> StyleSheets(const std::string& id) = 0;
    // The path createStyleSheet must have been given.
    virtual String StyleSheetPath() = 0;
    virtual std::optional<String> ClipboardText() = 0;
    // The options dialog's status list, newest first.
    virtual std::vector<std::pair<String, String>> StatusRows() = 0;
    virtual bool ProgramRunning() = 0;
    // The user's Nimbrel.cfg exists (the driver removes it once the program
    // has read it).
    virtual bool SettingsWritten() = 0;
};

}  // namespace nimbrel
