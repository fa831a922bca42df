// The text half of processing a compose window: what happens to the text
// taken out of the window before it is put back.
#pragma once

#include <cstdint>

#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

// Result codes (the compose processing's ComposeResult values for the text).
constexpr std::int32_t kComposeReformatted = 0;
constexpr std::int32_t kComposeUnchanged = 1;
constexpr std::int32_t kComposeAddedLevel = 4;
constexpr std::int32_t kComposeSignatureOnly = 7;

// Runs ReplyFormatter::Reformat on `text` (CR LF breaks). When it returns 0
// or 4 that is the result: `text` holds the rebuilt reply (LF breaks) and
// `caretCount` the Up presses. When it returns 1 the text is a new message or
// not a reply, and the signature replacements are made on the original text:
//   - with iso8859SignatureFix, every "\n--\r" and "\n-- \r" becomes
//     "\n--" U+0081 "\r" (U+0081 being byte 0x81 of the ANSI code page);
//   - every "\n<nimbrel-sig>" becomes "\n" followed by one random signature
//     (the same one for every marker; it may contain LFs).
// The result is then 7 when they changed the text, else 1 with `text`
// untouched. `caretCount` is 0 unless Reformat set it.
std::int32_t TransformComposeText(const Settings& options, String& text, std::int32_t& caretCount);

// The signature replacements alone, as TransformComposeText makes them on a
// text that the reformat left alone: 7 when they changed `text`, else 1.
std::int32_t ReplaceSignatureMarks(const Settings& options, String& text);

}  // namespace nimbrel
