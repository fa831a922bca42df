// Keyboard state and injected key events on Windows (user32).
#pragma once

#include "platform/Keyboard.h"

namespace nimbrel {

class Win32Keyboard : public Keyboard {
  public:
    std::int16_t GetKeyState(int virtualKey) override;
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
};

}  // namespace nimbrel
