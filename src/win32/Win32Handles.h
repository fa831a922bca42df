// Conversions between the seam's handle enums and the Win32 handle types, and
// between the seam's UTF-16 strings and Win32's wide strings. A handle enum
// holds the Win32 handle's bits unchanged, so both directions are plain
// reinterpretations.
#pragma once

#include <windows.h>

#include <cstdint>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");
static_assert(sizeof(std::uintptr_t) == sizeof(void*), "handles fit the seam's enums");

namespace nimbrel::win32 {

// The Win32 handle (HWND, HGLOBAL, HMODULE, HICON ...) behind a seam handle.
template <typename Win32Handle, typename SeamHandle>
Win32Handle ToWin32(SeamHandle handle) {
    return reinterpret_cast<Win32Handle>(static_cast<std::uintptr_t>(handle));
}

// The seam handle for a Win32 handle.
template <typename SeamHandle, typename Win32Handle>
SeamHandle FromWin32(Win32Handle handle) {
    return SeamHandle{reinterpret_cast<std::uintptr_t>(handle)};
}

inline const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* Wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}
inline const char16_t* Utf16(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

}  // namespace nimbrel::win32
