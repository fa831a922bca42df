#include "sim/SimKeyboard.h"

namespace nimbrel {

namespace {

bool IsDown(const std::map<int, bool>& keys, int virtualKey) {
    const auto found = keys.find(virtualKey);
    return found != keys.end() && found->second;
}

}  // namespace

SimKeyboard::SimKeyboard(SimClock& clock_, SimWindowSystem& windows_)
    : clock(clock_), windows(windows_) {}

std::int16_t SimKeyboard::GetKeyState(int virtualKey) {
    const bool down = IsDown(userHeld, virtualKey) || IsDown(injectedDown, virtualKey);
    return down ? static_cast<std::int16_t>(-0x8000) : std::int16_t{0};
}

void SimKeyboard::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                              std::uintptr_t /*extraInfo*/) {
    events.push_back({virtualKey, scanCode, flags, clock.Now()});
    const bool release = (flags & keyevent::kKeyUp) != 0;
    injectedDown[virtualKey] = !release;
    if (release || virtualKey == vk::kControl || virtualKey == vk::kMenu) return;

    const bool ctrl = GetKeyState(vk::kControl) < 0;
    if (latency == 0) {
        Deliver(virtualKey, ctrl);
    } else {
        clock.After(latency, [this, virtualKey, ctrl] { Deliver(virtualKey, ctrl); });
    }
}

void SimKeyboard::Deliver(std::uint8_t virtualKey, bool ctrl) {
    SimWindow* target = windows.Get(windows.Foreground());
    if (target != nullptr && target->keyPressed) target->keyPressed(virtualKey, ctrl);
}

}  // namespace nimbrel
