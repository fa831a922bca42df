#include "win32/Win32Keyboard.h"

#include <windows.h>

namespace nimbrel {

std::int16_t Win32Keyboard::GetKeyState(int virtualKey) {
    return ::GetKeyState(virtualKey);
}

void Win32Keyboard::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                                std::uintptr_t extraInfo) {
    ::keybd_event(virtualKey, scanCode, flags, extraInfo);
}

}  // namespace nimbrel
