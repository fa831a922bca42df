// LineList: the lines of a text as the formatter holds them. A vector that
// can also take lines off its front, and put a few back, without moving the
// rest: the reply reformat takes the blank lines and the user's area off the
// top of a long quote, and takes out a stretch near the top, and on a large
// text moving the whole quote each time would cost more than the rest of the
// work. An erase or insert moves whichever side of it is shorter (using the
// room before the first line when that side is the front).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "shell/Text.h"

namespace nimbrel {

struct QuoteLine {
    // The whole line after SplitLines; without its prefix after AnalyzeLines.
    // A view: the characters belong to the formatter (the split text, or a
    // line built later and kept with StoreText), so a line costs no
    // allocation of its own.
    StringView text;
    // Quote level; 0 for unquoted lines and lines not yet analysed.
    std::int32_t level = 0;
    // Code units the prefix took in the line as split.
    std::int32_t prefixLength = 0;
    // The prefix to write (PrefixText); meaningful only when level != 0.
    std::int32_t prefixIndex = 0;
};

class LineList {
  public:
    using iterator = QuoteLine*;
    using const_iterator = const QuoteLine*;

    LineList() = default;
    LineList(std::initializer_list<QuoteLine> lines) : storage_(lines) {}
    LineList& operator=(std::initializer_list<QuoteLine> lines);

    // Empties the list and leaves room for `frontRoom` lines before the first.
    void Reset(std::size_t frontRoom);

    std::size_t size() const { return storage_.size() - first_; }
    bool empty() const { return size() == 0; }
    // Lines that fit after the last one without moving the list.
    std::size_t capacity() const { return storage_.capacity() - first_; }
    void reserve(std::size_t count) { storage_.reserve(first_ + count); }
    void clear() { Reset(0); }
    void resize(std::size_t count) { storage_.resize(first_ + count); }

    QuoteLine& operator[](std::size_t i) { return storage_[first_ + i]; }
    const QuoteLine& operator[](std::size_t i) const { return storage_[first_ + i]; }
    QuoteLine& back() { return storage_.back(); }
    const QuoteLine& back() const { return storage_.back(); }
    iterator begin() { return storage_.data() + first_; }
    iterator end() { return storage_.data() + storage_.size(); }
    const_iterator begin() const { return storage_.data() + first_; }
    const_iterator end() const { return storage_.data() + storage_.size(); }

    void push_back(const QuoteLine& line) { storage_.push_back(line); }
    void pop_back() { storage_.pop_back(); }
    // Both return the position of the first line after the erased ones, or
    // of the first inserted one.
    iterator erase(const_iterator first, const_iterator last);
    iterator erase(const_iterator position) { return erase(position, position + 1); }
    iterator insert(const_iterator position, std::size_t count, const QuoteLine& line);
    iterator insert(const_iterator position, const QuoteLine& line) {
        return insert(position, 1, line);
    }
    template <class Iterator>
    iterator insert(const_iterator position, Iterator first, Iterator last) {
        const auto before = static_cast<std::size_t>(position - begin());
        // The lines may be this list's own: copied before the list moves.
        const std::vector<QuoteLine> lines(first, last);
        storage_.insert(storage_.begin() + static_cast<std::ptrdiff_t>(first_ + before),
                        lines.begin(), lines.end());
        return begin() + before;
    }

  private:
    std::vector<QuoteLine> storage_;
    std::size_t first_ = 0;  // storage_[0, first_) is room, not lines
};

}  // namespace nimbrel
