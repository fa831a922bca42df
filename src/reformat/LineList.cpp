#include "reformat/LineList.h"

#include <algorithm>

namespace nimbrel {

LineList& LineList::operator=(std::initializer_list<QuoteLine> lines) {
    storage_.assign(lines);
    first_ = 0;
    return *this;
}

void LineList::Reset(std::size_t frontRoom) {
    storage_.assign(frontRoom, QuoteLine{});
    first_ = frontRoom;
}

LineList::iterator LineList::erase(const_iterator first, const_iterator last) {
    const auto before = static_cast<std::size_t>(first - begin());
    const auto count = static_cast<std::size_t>(last - first);
    if (count == 0) return begin() + before;
    const auto after = static_cast<std::size_t>(end() - last);
    if (before < after) {
        // The lines before the erased ones move back over them.
        const auto from = storage_.begin() + static_cast<std::ptrdiff_t>(first_);
        std::move_backward(from, from + static_cast<std::ptrdiff_t>(before),
                           from + static_cast<std::ptrdiff_t>(before + count));
        first_ += count;
    } else {
        const auto at = storage_.begin() + static_cast<std::ptrdiff_t>(first_ + before);
        storage_.erase(at, at + static_cast<std::ptrdiff_t>(count));
    }
    return begin() + before;
}

LineList::iterator LineList::insert(const_iterator position, std::size_t count,
                                    const QuoteLine& line) {
    const auto before = static_cast<std::size_t>(position - begin());
    if (count <= first_ && before < size() - before) {
        // The lines before the position move forward into the room.
        const auto from = storage_.begin() + static_cast<std::ptrdiff_t>(first_);
        std::move(from, from + static_cast<std::ptrdiff_t>(before),
                  from - static_cast<std::ptrdiff_t>(count));
        first_ -= count;
        std::fill_n(begin() + before, count, line);
    } else {
        storage_.insert(storage_.begin() + static_cast<std::ptrdiff_t>(first_ + before), count,
                        line);
    }
    return begin() + before;
}

}  // namespace nimbrel
