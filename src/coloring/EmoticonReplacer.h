// EmoticonReplacer: the emoticon table made ready for replacing codes by
// image tags (ReplaceEmoticons), on a whole text or on the lines of one as
// they are made.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "coloring/EmoticonEntry.h"
#include "shell/Text.h"

namespace nimbrel {

class EmoticonReplacer {
  public:
    // `table` must outlive the object; `imagePrefix` is EmoticonImagePrefix's.
    EmoticonReplacer(std::span<const EmoticonEntry> table, StringView imagePrefix);

    // ReplaceEmoticons on the whole of `html`.
    void Replace(String& html);

    // The same on html[from..] alone, the text before it taken as it stands
    // (its last character is the one before the first code there). Gives what
    // Replace gives on the whole text when every tag that starts in
    // html[from..] also ends there and html[from..] starts outside a tag, as
    // in a line of converted plain text: no code can then reach past it.
    void ReplaceFrom(String& html, std::size_t from);

  private:
    struct Code {
        StringView code;
        String image;
    };
    // Whether some code occurs in `text` (one pass, whatever the table's size).
    bool AnyCodeIn(StringView text) const;

    std::vector<Code> codes_;  // the usable entries, in table order
    std::array<bool, 128> asciiStart_{};
    bool otherStart_ = false;  // some code starts with a code unit of 128 or more
    // The different first units of the codes while there are at most four
    // (searched for together); `startCount_` counts them up to five.
    std::array<char16_t, 4> starts_{};
    std::size_t startCount_ = 0;
    String in_;
    String out_;
};

}  // namespace nimbrel
