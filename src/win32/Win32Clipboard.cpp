#include "win32/Win32Clipboard.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

using win32::FromWin32;
using win32::ToWin32;
using win32::Wide;

bool Win32Clipboard::OpenClipboard(WindowHandle newOwner) {
    return ::OpenClipboard(ToWin32<HWND>(newOwner)) != FALSE;
}

bool Win32Clipboard::CloseClipboard() {
    return ::CloseClipboard() != FALSE;
}

bool Win32Clipboard::EmptyClipboard() {
    return ::EmptyClipboard() != FALSE;
}

MemoryHandle Win32Clipboard::GetClipboardData(std::uint32_t format) {
    return FromWin32<MemoryHandle>(::GetClipboardData(format));
}

MemoryHandle Win32Clipboard::SetClipboardData(std::uint32_t format, MemoryHandle data) {
    return FromWin32<MemoryHandle>(::SetClipboardData(format, ToWin32<HANDLE>(data)));
}

bool Win32Clipboard::IsClipboardFormatAvailable(std::uint32_t format) {
    return ::IsClipboardFormatAvailable(format) != FALSE;
}

std::uint32_t Win32Clipboard::EnumClipboardFormats(std::uint32_t format) {
    return ::EnumClipboardFormats(format);
}

std::uint32_t Win32Clipboard::RegisterClipboardFormatW(const char16_t* name) {
    return ::RegisterClipboardFormatW(Wide(name));
}

int Win32Clipboard::GetClipboardFormatNameW(std::uint32_t format, char16_t* buffer, int maxCount) {
    return ::GetClipboardFormatNameW(format, Wide(buffer), maxCount);
}

}  // namespace nimbrel
