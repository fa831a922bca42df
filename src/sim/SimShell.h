// The shell of the simulated desktop. ShellExecuteW calls are recorded and
// answered with the next scripted result (42, success, by default). The
// notification area keeps the icons Shell_NotifyIconW put there; the shell
// can refuse icons altogether (SetTrayAvailable(false)), as when there is no
// taskbar. Of the special folders it knows the user's application data
// folder, once the scenario has given one: a real directory, as the program
// reads and writes its files with the standard library.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <vector>

#include "platform/Shell.h"
#include "sim/SimStrings.h"

namespace nimbrel {

struct SimShellCall {
    WindowHandle owner;
    String verb;
    String file;
    String parameters;
    String directory;
    int showCommand;
};

// An icon in the notification area.
struct SimTrayIcon {
    WindowHandle window = kNoWindow;
    std::uint32_t id = 0;
    std::uint32_t callbackMessage = 0;
    IconHandle icon = kNoIcon;
    String tip;
};

class SimShell : public Shell {
  public:
    void Answer(std::intptr_t result) { script.push_back(result); }
    const std::vector<SimShellCall>& Calls() const { return calls; }

    void SetTrayAvailable(bool available) { trayAvailable = available; }
    const std::vector<SimTrayIcon>& TrayIcons() const { return trayIcons; }
    // The first icon in the notification area, nullptr when there is none.
    const SimTrayIcon* TrayIcon() const { return trayIcons.empty() ? nullptr : &trayIcons[0]; }
    // Explorer restarted: the notification area is empty.
    void RemoveTrayIcons() { trayIcons.clear(); }
    // Shell_NotifyIconW calls that failed.
    int FailedTrayCalls() const { return failedTrayCalls; }

    std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* verb, const char16_t* file,
                                const char16_t* parameters, const char16_t* directory,
                                int showCommand) override;
    bool Shell_NotifyIconW(std::uint32_t message, const NotifyIconData& data) override;

    // What SHGetFolderPathW gives for csidl::kAppData; until this is called
    // (or with an empty path) the user has no such folder and the call fails.
    // With csidl::kFlagCreate a missing folder is created.
    void SetAppDataFolder(std::filesystem::path folder) { appData = std::move(folder); }
    HResult SHGetFolderPathW(WindowHandle owner, int folder, AccessToken token, std::uint32_t flags,
                             char16_t* path) override;

  private:
    std::deque<std::intptr_t> script;
    std::vector<SimShellCall> calls;
    bool trayAvailable = true;
    std::vector<SimTrayIcon> trayIcons;
    int failedTrayCalls = 0;
    std::filesystem::path appData;
};

}  // namespace nimbrel
