// The application object: the few process-wide things that the whole program
// shares from the start. One instance, `app`; tests reset it with
// `app = App{}`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "coloring/EmoticonEntry.h"
#include "platform/Platform.h"
#include "shell/LanguageTexts.h"
#include "shell/SettingsControls.h"

namespace nimbrel {

// The install directory's room in units (MAX_PATH), its terminator included.
constexpr std::size_t kInstallDirectorySize = 260;

// Where the setup program records the installation (HKEY_LOCAL_MACHINE), and
// the value whose directory is the install directory.
constexpr const char16_t* kUninstallKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
constexpr const char16_t* kUninstallValue = u"UninstallString";
// The folder of the user's own files in the user's application data folder.
constexpr const char16_t* kUserFolderName = u"Nimbrel";

class App {
  public:
    // The message loop goes on while this is set; 0 until the loop starts.
    std::uint8_t running = 0;
    // The emoticon table, in file order.
    std::vector<EmoticonEntry> emoticons;
    // The install directory, NUL-terminated, without a trailing backslash;
    // empty until LocateInstallDirectory succeeded. Every data file but the
    // user's own is read from there (it is the current directory).
    char16_t installDirectory[kInstallDirectorySize] = {};
    // The folder of the user's own files, Nimbrel.cfg and signatures.ini:
    // kUserFolderName in the user's application data folder, found by
    // LocateUserDirectory and created only when a file is written there.
    // Empty before, and when the user has no such folder: the user's files
    // are then kept in the current directory like the others.
    std::filesystem::path userDirectory;
    // The language file and the main dialog, once start-up has created them;
    // `mainWindow` is the main dialog's window, which receives the tray
    // menu's commands.
    LanguageTexts* langFile = nullptr;
    SettingsControls* mainDialog = nullptr;
    WindowHandle mainWindow = kNoWindow;

    // Finds the install directory through the uninstall entry of the
    // registry and makes it the current directory, with the wide-character
    // calls (RegOpenKeyExW, RegQueryValueExW, SetCurrentDirectoryW), so that
    // a folder whose name the ANSI code page cannot spell is found too. Runs
    // once: later calls return false at once. The value is "UninstallString"
    // of the key Software\Microsoft\Windows\CurrentVersion\Uninstall\Nimbrel
    // below HKEY_LOCAL_MACHINE. Returns true on failure, after a message box
    // (MessageBoxA, no owner, "Nimbrel Error", system-modal, exclamation):
    //  - the key cannot be opened: "Registry key not found!...";
    //  - the value cannot be read, is not a string (REG_SZ or REG_EXPAND_SZ,
    //    taken as raw UTF-16 units), does not fit 260 units, or leaves an
    //    empty directory when cut at its last backslash (no backslash, or
    //    only a leading one): "Registry value not found!...".
    // The value ends at its first NUL unit or, when it has none, at its last
    // whole unit; it is cut at its last backslash, so the uninstaller's
    // directory remains. `installDirectory` stays empty on failure. Whether
    // the current directory could be changed is not examined.
    bool LocateInstallDirectory(Platform& platform);

    // Sets `userDirectory` from the user's application data folder
    // (SHGetFolderPathW of CSIDL_APPDATA, created by the shell when missing).
    // Returns true, with `userDirectory` empty, when the shell gives none;
    // nothing is shown.
    bool LocateUserDirectory(Platform& platform);

    // Where the program reads and writes the user's file `name`: in
    // `userDirectory`, or by the bare name (the current directory) when it is
    // empty.
    std::filesystem::path UserFile(std::string_view name) const;

    // Reads the main dialog's controls into the settings (when the dialog
    // exists) and clears `running`, so the message loop stops after the
    // message it is dispatching.
    void EndProgram();

  private:
    bool installDirectoryLocated = false;
};

extern App app;

}  // namespace nimbrel
