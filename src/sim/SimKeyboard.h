// The keyboard of the simulated desktop. Keys the user holds (Alt) are set by
// the scenario; keys the program injects with keybd_event are recorded,
// change the key state, and are processed by the foreground window after the
// input latency (0 by default: at once), Ctrl as it was when the key was
// injected. Only presses reach the window; releases change the state alone.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/Keyboard.h"
#include "sim/SimClock.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

struct SimKeyEvent {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
    std::uint32_t flags;
    std::uint64_t time;
};

class SimKeyboard : public Keyboard {
  public:
    SimKeyboard(SimClock& clock, SimWindowSystem& windows);

    // Scenario operations.
    void Hold(std::uint8_t virtualKey, bool down) { userHeld[virtualKey] = down; }
    void SetInputLatency(std::uint64_t milliseconds) { latency = milliseconds; }
    const std::vector<SimKeyEvent>& Events() const { return events; }
    void ClearEvents() { events.clear(); }

    // The seam.
    std::int16_t GetKeyState(int virtualKey) override;
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;

  private:
    void Deliver(std::uint8_t virtualKey, bool ctrl);

    SimClock& clock;
    SimWindowSystem& windows;
    std::uint64_t latency = 0;
    std::map<int, bool> userHeld;
    std::map<int, bool> injectedDown;
    std::vector<SimKeyEvent> events;
};

}  // namespace nimbrel
