// The application object: the few process-wide things that the whole program
// shares from the start. One instance, `app`; tests reset it with
// `app = App{}`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "coloring/EmoticonEntry.h"
#include "platform/Platform.h"
#include "shell/LanguageTexts.h"
#include "shell/SettingsControls.h"

namespace nimbrel {

constexpr std::size_t kInstallDirectorySize = 260;

// Where the setup program records the installation (HKEY_LOCAL_MACHINE), and
// the value whose directory is the install directory.
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
constexpr const char* kUninstallValue = "UninstallString";

class App {
  public:
    // The message loop goes on while this is set; 0 until the loop starts.
    std::uint8_t running = 0;
    // The emoticon table, in file order.
    std::vector<EmoticonEntry> emoticons;
    // The install directory in the ANSI code page, NUL-terminated, without a
    // trailing backslash; empty until LocateInstallDirectory succeeded.
    char installDirectory[kInstallDirectorySize] = {};
    // The language file and the main dialog, once start-up has created them;
    // `mainWindow` is the main dialog's window, which receives the tray
    // menu's commands.
    LanguageTexts* langFile = nullptr;
    SettingsControls* mainDialog = nullptr;
    WindowHandle mainWindow = kNoWindow;

    // Finds the install directory through the uninstall entry of the
    // registry and makes it the current directory. Runs once: later calls
    // return false at once. The value is "UninstallString" of the key
    // Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel below
    // HKEY_LOCAL_MACHINE. Returns true on failure, after a message box
    // (MessageBoxA, no owner, "Nimbrel Error", system-modal, exclamation):
    //  - the key cannot be opened: "Registry key not found!...";
    //  - the value cannot be read, is not a string (REG_SZ or REG_EXPAND_SZ,
    //    taken as raw bytes), does not fit 260 bytes, or leaves an empty
    //    directory when cut at its last backslash (no backslash, or only a
    //    leading one): "Registry value not found!...".
    // The value ends at its first NUL or, when it has none, at its last byte;
    // it is cut at its last backslash, so the uninstaller's directory
    // remains. `installDirectory` stays empty on failure. Whether the current
    // directory could be changed is not examined.
    bool LocateInstallDirectory(Platform& platform);

    // Reads the main dialog's controls into the settings (when the dialog
    // exists) and clears `running`, so the message loop stops after the
    // message it is dispatching.
    void EndProgram();

  private:
    bool installDirectoryLocated = false;
};

extern App app;

}  // namespace nimbrel
