#include "compose/ComposeText.h"

#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

// Replaces every occurrence of `pattern` (left to right, not overlapping) in
// one pass. Returns true when something was replaced.
bool ReplaceAll(String& text, StringView pattern, StringView replacement) {
    std::size_t found = text.find(pattern);
    if (found == String::npos) return false;
    String out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (found != String::npos) {
        out.append(text, from, found - from);
        out.append(replacement);
        from = found + pattern.size();
        found = text.find(pattern, from);
    }
    out.append(text, from, String::npos);
    text = std::move(out);
    return true;
}

}  // namespace

std::int32_t TransformComposeText(const Settings& options, String& text, std::int32_t& caretCount) {
    ReplyFormatter formatter(options);
    const std::int32_t result = formatter.Reformat(text, caretCount);
    if (result != ReplyFormatter::kNothingDone) return result;
    return ReplaceSignatureMarks(options, text);
}

std::int32_t ReplaceSignatureMarks(const Settings& options, String& text) {
    std::int32_t result = kComposeUnchanged;
    if (options.iso8859SignatureFix) {
        String fixed = u"\n--";
        fixed += AnsiToUtf16("\x81");
        fixed += u'\r';
        if (ReplaceAll(text, u"\n--\r", fixed)) result = kComposeSignatureOnly;
        if (ReplaceAll(text, u"\n-- \r", fixed)) result = kComposeSignatureOnly;
    }
    constexpr StringView kMarker = u"\n<nimbrel-sig>";
    if (text.find(kMarker) != String::npos) {
        String replacement = u"\n";
        replacement += RandomSignature();
        if (replacement != kMarker) {
            ReplaceAll(text, kMarker, replacement);
            result = kComposeSignatureOnly;
        }
    }
    return result;
}

}  // namespace nimbrel
