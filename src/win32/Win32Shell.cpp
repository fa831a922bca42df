#include "win32/Win32Shell.h"

#include "win32/Win32Handles.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>

namespace nimbrel {

namespace {

// NOTIFYICONDATAW_V1_SIZE on 32-bit Windows: the record up to a tip of 64
// units.
constexpr std::uint32_t kVersion1Size = 152;

#ifndef _WIN64
// The sizes the program's records are given in are this build's own.
static_assert(NOTIFYICONDATAW_V1_SIZE == kVersion1Size);
static_assert(NOTIFYICONDATAW_V2_SIZE == 936);
#endif

}  // namespace

using win32::ToWin32;
using win32::Wide;

std::intptr_t Win32Shell::ShellExecuteW(WindowHandle owner, const char16_t* verb,
                                        const char16_t* file, const char16_t* parameters,
                                        const char16_t* directory, int showCommand) {
    return reinterpret_cast<std::intptr_t>(::ShellExecuteW(ToWin32<HWND>(owner), Wide(verb),
                                                           Wide(file), Wide(parameters),
                                                           Wide(directory), showCommand));
}

std::uint32_t Win32Shell::NativeRecordSize(std::uint32_t programSize) {
    return programSize == kVersion1Size ? NOTIFYICONDATAW_V1_SIZE : NOTIFYICONDATAW_V2_SIZE;
}

bool Win32Shell::Shell_NotifyIconW(std::uint32_t message, const NotifyIconData& data) {
    NOTIFYICONDATAW record{};
    record.cbSize = NativeRecordSize(data.cbSize);
    record.hWnd = ToWin32<HWND>(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = ToWin32<HICON>(data.hIcon);
    static_assert(sizeof(NotifyIconData::szTip) == sizeof(record.szTip));
    std::copy(std::begin(data.szTip), std::end(data.szTip), record.szTip);
    // The seam promises a NUL-terminated tip; a full buffer is cut, not overrun.
    record.szTip[std::size(record.szTip) - 1] = L'\0';
    return ::Shell_NotifyIconW(message, &record) != FALSE;
}

// Shell32 of Windows 2000 and later has it, so XP's too; linked directly.
HResult Win32Shell::SHGetFolderPathW(WindowHandle owner, int folder, AccessToken token,
                                     std::uint32_t flags, char16_t* path) {
    static_assert(csidl::kAppData == CSIDL_APPDATA && csidl::kFlagCreate == CSIDL_FLAG_CREATE &&
                  csidl::kMaxPath == MAX_PATH);
    return ::SHGetFolderPathW(ToWin32<HWND>(owner), folder, ToWin32<HANDLE>(token), flags,
                              Wide(path));
}

}  // namespace nimbrel
