// LineMarkup: the line by line work of CStyleSheetInfo::MarkupLines, with
// the state it carries from one line to the next, so that a text can be
// marked up as its lines are made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "coloring/EmoticonEntry.h"
#include "coloring/FontStyles.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

class LineMarkup {
  public:
    // The markup MarkupLines gives with these arguments; `emoticons` must
    // outlive the object (its codes are the bold exceptions).
    LineMarkup(std::int32_t styleCount, bool isCompose, const Settings& options,
               std::span<const EmoticonEntry> emoticons);

    // Appends the markup of `line` (one line of HTML without its "<BR>") to
    // `out`, which holds the marked-up lines before it, each followed by its
    // "<BR>", and nothing after them. Closing a signature at a change of
    // level changes what `out` holds from the signature's last empty line on.
    void AppendLine(String& out, StringView line);

    // How much of the front of `out` no later AppendLine changes: all of it
    // but the text from a signature's last empty line on, while the
    // signature may still end at a change of level.
    std::size_t FinalLength(const String& out) const;
    // Tells that the first `count` units of `out` (at most FinalLength) were
    // taken off its front, written out.
    void Discard(std::size_t count);

    // Appends the markup of the whole of `html` to `out` as MarkupLines
    // writes it (a leading "<DIV>" and then a trailing "</DIV>" dropped, the
    // lines marked up one after the other with their "<BR>"). `out` holds
    // nothing that any line of it belongs to.
    void AppendLines(String& out, StringView html);

  private:
    bool fontStyles_;
    bool quoteMarkup_;
    bool keepStyleMarkers_;
    std::int64_t classCount_;
    EmoticonCodeSet boldExceptions_;

    std::int64_t previousLevel_ = 0;
    bool inSignature_ = false;
    std::size_t signatureBreak_;  // index into `out`, or none

    String line_;                     // the line with its font styles
    String attribute_;                // "class=N " or "class=asig "
    std::int64_t attributeKey_ = -1;  // the class it was made for, -2 the signature
};

}  // namespace nimbrel
