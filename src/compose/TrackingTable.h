// The watcher's memory of the note windows it has finished with: one record
// per window, in the order they were made. A window is looked up by its
// handle from the front, and the first record with the handle wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

// The window text buffer of the watcher: at most 127 units and a NUL.
constexpr int kTrackedTitleUnits = 128;

struct TrackedWindow {
    WindowHandle hwnd = kNoWindow;
    // Set when the window was found during the current tick.
    std::uint8_t seen = 0;
    // The window text when the record was made.
    String title;
    // 1 when the record was made by the one re-handling a title change grants.
    std::uint8_t retitled = 0;
    // 1 when the window went through compose processing, 0 for colouring.
    std::uint8_t viaCompose = 0;
    // 1 when the window was left alone because of the Alt rule.
    std::uint8_t altIgnored = 0;
};

class TrackingTable {
  public:
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

    // The index of the first record of `window`, or kNotFound. Linear.
    std::size_t Find(WindowHandle window) const;
    // Puts `record` at the end.
    void Append(TrackedWindow record) { records.push_back(std::move(record)); }
    // Takes the record at `index` out of the tick: no lookup finds it any
    // more, and the next EraseUnseen removes it, keeping the order of the
    // others.
    void Retire(std::size_t index);
    // Clears `seen` in every record.
    void ClearSeen();
    // Erases every record whose `seen` is clear, keeping the order of the
    // rest; one pass over the table.
    void EraseUnseen();

    TrackedWindow& operator[](std::size_t index) { return records[index]; }
    const TrackedWindow& operator[](std::size_t index) const { return records[index]; }
    std::size_t Size() const { return records.size(); }
    const std::vector<TrackedWindow>& Records() const { return records; }
    void Clear() { records.clear(); }

  private:
    std::vector<TrackedWindow> records;
};

}  // namespace nimbrel
