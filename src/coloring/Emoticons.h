// Emoticon replacement: codes of the emoticon table in message HTML become
// images from the "emoticons" folder of the install directory.
#pragma once

#include <span>

#include "coloring/EmoticonEntry.h"
#include "shell/Text.h"

namespace nimbrel {

// The separator of the image paths: '\' on Windows, '/' elsewhere, so that a
// page written by the command line tool shows its images in a browser.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// `<IMG src="` + installDirectory + separator + "emoticons" + separator, the
// path escaped for the attribute; an image tag is this, the escaped file name
// and `">`.
String EmoticonImagePrefix(StringView installDirectory, char16_t separator = kPathSeparator);

// For each entry of `table` in order (entries whose code is empty or holds a
// raw '<' or '>' skipped),
// replaces every occurrence of its code (exact, case-sensitive) by its image
// tag, when neither the character before it nor the one after it (the ends of
// the HTML do not count) is a word character, '/' or '.'. Later entries also
// see the text that earlier ones wrote; an occurrence inside a tag ('<' up to
// '>') is never replaced, so no tag is ever broken. The image file name is
// escaped and cannot end the src attribute. Linear in the HTML for each entry.
void ReplaceEmoticons(String& html, std::span<const EmoticonEntry> table, StringView imagePrefix);

}  // namespace nimbrel
