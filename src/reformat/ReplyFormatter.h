// ReplyFormatter: rebuilds the text of a reply that the mail client has just
// opened for writing. The text is the user's area at the top, the client's
// quote header (an e-mail block framed by "-----" or a news line ending in
// "..."), then the quoted message.
//
// One object per text: construct, Reformat, destroy. The settings are copied
// at construction; the signature list is loaded then if it has not been yet
// in this run (signatures.ini in the current directory; tools load it from
// elsewhere first).
#pragma once

#include <cstdint>

#include "reformat/QuoteFormatter.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

class ReplyFormatter : public QuoteFormatter {
  public:
    // Reads wrapColumn, quoteChar, compressedIndentation,
    // standardizedIndentation, signatureToBottom, cursorAtTop,
    // stripQuotedSignature, iso8859SignatureFix, fixExistingQuotes,
    // emailHeader and newsHeader of `options`. The program passes `settings`.
    explicit ReplyFormatter(const Settings& options);
    ~ReplyFormatter() override;

    // Result codes of Reformat.
    static constexpr std::int32_t kReformatted = 0;
    static constexpr std::int32_t kNothingDone = 1;
    static constexpr std::int32_t kReformattedAddedLevel = 4;

    // Rebuilds `text` (CR LF breaks in, single LF breaks out): header
    // rewritten, blank lines at the top adjusted, "--" given its space back
    // and "<nimbrel-sig>" replaced by a random signature in the user's area,
    // the quoted signature stripped (stripQuotedSignature), the quote
    // requoted and re-wrapped, and the user's area moved below the quote
    // (signatureToBottom). Returns
    //   0 reformatted,
    //   1 nothing done: the text has no LF or no quote header; `text` is untouched,
    //   4 reformatted, and the quote had not been quoted by the client, so one
    //     quote level was added.
    // `caretCount` (never negative) is how many times the caret must go up
    // from the end of the new text to land in the user's area; 0 unless the
    // user's area was moved to the bottom with cursorAtTop off.
    std::int32_t Reformat(String& text, std::int32_t& caretCount);
    // The same, but the rebuilt text is written to `out` as it is made, and
    // `text` is used up (left empty) when the result is 0 or 4. With result 1
    // nothing is written and `text` is untouched.
    std::int32_t Reformat(String& text, std::int32_t& caretCount, TextSink& out);

    // Finds the client's quote header in `lines` (as SplitLines left them)
    // and rewrites it in the configured style; sets userAreaEnd and
    // headerEnd. Returns true when there is no header.
    bool RewriteQuoteHeader();

    // A signature from signatures.ini (or the error text), for the compose
    // processing's own marker replacement.
    String RandomSignature() const;

    // Last line of the user's area above the header (-1: none) and last
    // line of the header; the quote starts at headerEnd + 1.
    std::int32_t userAreaEnd = 0;
    std::int32_t headerEnd = 0;

  private:
    // Everything up to rendering; the result code of Reformat.
    std::int32_t PrepareLines(String& text, std::int32_t& caretCount);
    void RewriteEmailHeader(std::size_t h);
    void MarkEmailHeader(std::size_t h);
    void RewriteNewsHeader(std::size_t h);

    Settings options;
};

}  // namespace nimbrel
