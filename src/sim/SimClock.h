// The virtual clock of the simulated desktop. Time moves only when the
// program sleeps or waits (Sleep, a message time-out, the message loop
// waiting for its next timer) or when a test lets it pass; it never moves on
// its own. Things the desktop does later (Outlook Express finishing a
// document, another program letting go of the clipboard, a key being
// processed) are actions scheduled on it; they run, in time order and in the
// order scheduled, when the clock reaches their time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace nimbrel {

class SimClock {
  public:
    using Action = std::function<void()>;

    // Milliseconds since the simulation started.
    std::uint64_t Now() const { return now; }
    // What timeGetTime reads: the start value plus Now(), modulo 2^32.
    std::uint32_t TimeGetTime() const { return static_cast<std::uint32_t>(timeGetTimeStart + now); }
    // Sets what timeGetTime reads now (for instance just below the wrap).
    void SetTimeGetTime(std::uint32_t value) {
        timeGetTimeStart = static_cast<std::uint32_t>(value - static_cast<std::uint32_t>(now));
    }

    // Schedules `action` at `time` (a time already past runs at the next
    // advance) or `delay` ms from now.
    void At(std::uint64_t time, Action action);
    void After(std::uint64_t delay, Action action) { At(now + delay, std::move(action)); }

    // Moves the clock forward, running every action that falls due on the way
    // with the clock at the action's time. Actions may schedule further ones.
    void AdvanceBy(std::uint64_t milliseconds) { AdvanceTo(now + milliseconds); }
    void AdvanceTo(std::uint64_t time);

    // The time of the earliest scheduled action.
    std::optional<std::uint64_t> NextEventTime() const;

  private:
    std::uint64_t now = 0;
    std::uint32_t timeGetTimeStart = 0;
    std::uint64_t nextSequence = 0;
    std::map<std::pair<std::uint64_t, std::uint64_t>, Action> events;
};

}  // namespace nimbrel
