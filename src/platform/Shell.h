// The shell (shell32): opening documents, the notification area and the
// special folders.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

// NOTIFYICONDATAW as the program fills it. `cbSize` is the size of the
// record the program means (the version-2 record, 936 bytes on 32-bit Windows); the
// implementation passes the record of that version.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    WindowHandle hWnd = kNoWindow;  // receives the callback message
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;  // nif::...
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon = kNoIcon;
    char16_t szTip[128] = {};  // NUL-terminated
};

// Shell_NotifyIconW messages and record flags.
namespace nim {
constexpr std::uint32_t kAdd = 0;
constexpr std::uint32_t kModify = 1;
constexpr std::uint32_t kDelete = 2;
}  // namespace nim
namespace nif {
constexpr std::uint32_t kMessage = 0x1;
constexpr std::uint32_t kIcon = 0x2;
constexpr std::uint32_t kTip = 0x4;
}  // namespace nif

// SHGetFolderPathW: the folders the program asks for, the flag that has the
// shell create a missing one, and the buffer size the call writes into
// (MAX_PATH units, the terminating NUL included).
namespace csidl {
constexpr int kAppData = 0x001A;       // CSIDL_APPDATA: the user's roaming application data
constexpr int kFlagCreate = 0x8000;    // CSIDL_FLAG_CREATE
constexpr std::size_t kMaxPath = 260;  // MAX_PATH
}  // namespace csidl
// An access token (HANDLE); kNoToken is the calling user's own.
enum class AccessToken : std::uintptr_t {};
constexpr AccessToken kNoToken{};

class Shell {
  public:
    virtual ~Shell() = default;

    // ShellExecuteW: a value above 32 on success. Null pointers stand for
    // absent arguments.
    virtual std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* verb,
                                        const char16_t* file, const char16_t* parameters,
                                        const char16_t* directory, int showCommand) = 0;

    // Shell_NotifyIconW: adds, modifies or deletes the icon (hWnd, uID) of
    // the notification area, taking the fields that uFlags names. True on
    // success; adding an icon that is there, or modifying or deleting one
    // that is not, fails. The shell sends mouse events on the icon to hWnd as
    // uCallbackMessage with wParam uID and lParam the mouse message
    // (wm::kRButtonUp, wm::kLButtonDblClk ...).
    virtual bool Shell_NotifyIconW(std::uint32_t message, const NotifyIconData& data) = 0;

    // SHGetFolderPathW: the path of the special folder `folder` (csidl::,
    // with csidl::kFlagCreate to have it created when missing) of the user
    // whose `token` is given, without a trailing backslash, into `path`, a
    // buffer of csidl::kMaxPath units; `flags` 0 asks for the folder's
    // current place. hr::kOk on success; on failure (the folder is unknown or
    // does not exist) an error, and `path` is unspecified.
    virtual HResult SHGetFolderPathW(WindowHandle owner, int folder, AccessToken token,
                                     std::uint32_t flags, char16_t* path) = 0;
};

}  // namespace nimbrel
