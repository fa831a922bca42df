// Font styles in one line of message HTML: a word between asterisks becomes
// bold, between slashes italic, between underscores underlined.
#pragma once

#include <cstddef>
#include <unordered_set>

#include "shell/Text.h"

namespace nimbrel {

// Emoticon codes that a bold pair must not swallow ("*smile*" stays for the
// emoticon replacement).
using EmoticonCodeSet = std::unordered_set<StringView>;

// Appends `line` (one line of HTML, without its "<BR>") to `out` with the
// style pairs converted: "*word*" becomes "<B>word</B>" ("/" <I>, "_" <U>),
// or "<B>*word*</B>" with `keepStyleMarkers`.
// - A marker opens before a word character when it starts the line or
//   follows a non-word character ('/' not after another '/'); it closes
//   after a word character when no word character follows.
// - The three markers are independent; a pair may cross another one
//   ("*a _b* c_" gives "<B>a _b</B> c_" with the underline converted too).
// - An anchor start ("<A") forgets every open marker; nothing inside a tag
//   ('<' up to the next '>') is taken as a marker.
// - With `boldExceptions`, a bold pair whose text (markers included) is one
//   of the codes is left as written.
// Linear in the length of the line.
void AppendFontStyles(String& out, StringView line, bool keepStyleMarkers,
                      const EmoticonCodeSet* boldExceptions);

}  // namespace nimbrel
