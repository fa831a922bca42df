// CStyleSheetInfo: how many quote-level styles styles.css defines, and the
// markup that gives a message its quote-level, signature, anchor and font
// style classes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "coloring/EmoticonEntry.h"
#include "platform/MessageBoxes.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

class CStyleSheetInfo {
  public:
    // One quote-level style.
    CStyleSheetInfo() = default;
    // `count` quote-level styles (0 is taken as 1).
    explicit CStyleSheetInfo(std::int32_t count);
    // Reads the style count from the first line of `directory`/styles.css.
    // - File missing or unreadable: with `displayWarnings` the box "The style
    //   sheet (styles.css) could not be opened!..." ("Nimbrel Error",
    //   exclamation, system-modal); one style.
    // - No usable number: the box "Number of style sheets in styles.css set
    //   to 0!..." (always shown); one style.
    CStyleSheetInfo(const std::filesystem::path& directory, bool displayWarnings,
                    MessageBoxes& boxes);
    virtual ~CStyleSheetInfo();

    // The number on the first line of a style sheet whose first bytes are
    // `fileStart`: the first line (up to and including its line feed, at most
    // 19 bytes) read from its fourth byte (index 3): white space, an optional
    // sign, decimal digits up to the first non-digit. 0 when the line is
    // shorter than 4 bytes or has no digits there; clamped to the int32 range.
    static std::int32_t ParseStyleCount(std::string_view fileStart);

    // Marks up message HTML in place (the HTML of a converted plain-text
    // message, or a document's own innerHTML), line by line, lines ending at
    // "<BR>":
    // - a leading "<DIV>" is removed, and then a trailing "</DIV>";
    // - with options.fontStyles (and not `isCompose`): *bold*, /italic/ and
    //   _underline_ (AppendFontStyles), bold pairs equal to an emoticon code
    //   left alone when options.emoticons is on;
    // - with options.colorMessageView or `isCompose`: each change of quote
    //   level (markers "&gt;", '|' and ':' at the line start) writes
    //   "</span><span class=qN>" (N = level modulo the style count), a line
    //   "-- " or "--" opens "</span><span class=sig>", the signature ends at
    //   its last empty line when the level changes, and every "<A " gets
    //   "class=N " or "class=asig ".
    // The caller puts "<SPAN class=q0>" in front. Linear in the HTML.
    void MarkupLines(String& html, bool isCompose, const Settings& options,
                     std::span<const EmoticonEntry> emoticons) const;

    std::int32_t styleCount = 1;  // never 0
};

}  // namespace nimbrel
