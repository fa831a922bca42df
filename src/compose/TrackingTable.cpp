#include "compose/TrackingTable.h"

#include <algorithm>

namespace nimbrel {

std::size_t TrackingTable::Find(WindowHandle window) const {
    if (window == kNoWindow) return kNotFound;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].hwnd == window) return i;
    }
    return kNotFound;
}

void TrackingTable::Retire(std::size_t index) {
    records[index].hwnd = kNoWindow;
    records[index].seen = 0;
}

void TrackingTable::ClearSeen() {
    for (TrackedWindow& record : records)
        record.seen = 0;
}

void TrackingTable::EraseUnseen() {
    std::erase_if(records, [](const TrackedWindow& record) { return record.seen == 0; });
}

}  // namespace nimbrel
