#include "win32/Win32SystemServices.h"

#include "win32/Win32Handles.h"

#include <windows.h>

#include <mmsystem.h>

#include <climits>
#include <ctime>

namespace nimbrel {

void Win32SystemServices::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::uint32_t Win32SystemServices::timeGetTime() {
    return ::timeGetTime();
}

std::uint32_t Win32SystemServices::GetCurrentDirectoryA(std::uint32_t bufferSize, char* buffer) {
    return ::GetCurrentDirectoryA(bufferSize, buffer);
}

bool Win32SystemServices::SetCurrentDirectoryW(const char16_t* path) {
    return ::SetCurrentDirectoryW(win32::Wide(path)) != FALSE;
}

std::int64_t Win32SystemServices::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::uint32_t Win32SystemServices::GetCurrentThreadId() {
    return ::GetCurrentThreadId();
}

String Win32SystemServices::MultiByteToWideChar(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return String();
    const int length = static_cast<int>(bytes.size());
    const int units = ::MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return String();
    String text(static_cast<std::size_t>(units), u'\0');
    const int written = ::MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length,
                                              reinterpret_cast<wchar_t*>(text.data()), units);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

std::string Win32SystemServices::WideCharToMultiByte(StringView text) {
    if (text.empty() || text.size() > INT_MAX) return std::string();
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size =
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, units, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int written = ::WideCharToMultiByte(CP_THREAD_ACP, 0, units, length, bytes.data(), size,
                                              nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return bytes;
}

}  // namespace nimbrel
