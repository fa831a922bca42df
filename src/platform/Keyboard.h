// Keyboard state and simulated key input (user32).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Keyboard {
  public:
    virtual ~Keyboard() = default;

    // GetKeyState: the high bit (the value is negative) while the key is down.
    virtual std::int16_t GetKeyState(int virtualKey) = 0;

    // keybd_event: injects one key event into the input stream; it reaches the
    // window that has the keyboard focus when the event is processed.
    // `flags` is 0 for a press and keyevent::kKeyUp for a release.
    virtual void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                             std::uintptr_t extraInfo) = 0;
};

}  // namespace nimbrel
