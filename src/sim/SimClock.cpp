#include "sim/SimClock.h"

#include <algorithm>

namespace nimbrel {

void SimClock::At(std::uint64_t time, Action action) {
    events.emplace(std::make_pair(time, nextSequence++), std::move(action));
}

void SimClock::AdvanceTo(std::uint64_t time) {
    while (!events.empty() && events.begin()->first.first <= time) {
        auto first = events.begin();
        now = std::max(now, first->first.first);
        Action action = std::move(first->second);
        events.erase(first);
        action();
    }
    now = std::max(now, time);
}

std::optional<std::uint64_t> SimClock::NextEventTime() const {
    if (events.empty()) return std::nullopt;
    return events.begin()->first.first;
}

}  // namespace nimbrel
