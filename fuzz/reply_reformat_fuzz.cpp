// The reply reformat and the compose text transformation on arbitrary text.
// The first five bytes choose the settings:
//   0  bits: signatureToBottom, cursorAtTop, stripQuotedSignature,
//      iso8859SignatureFix, fixExistingQuotes, compressedIndentation,
//      standardizedIndentation, whole compose transformation
//   1  low nibble: e-mail header style (8..15 are out of range on purpose),
//      high nibble: news header style
//   2  wrap column (-20..235, out of the dialog's range on purpose)
//   3  quote character
//   4  template choice, signature count
// The rest is the text (8-bit, converted as the platform converts). Besides
// the reformat of the text itself, the text is the quote of a reply with a
// well-formed header (an e-mail block, or with bit 7 a news line), whose
// reformat must keep the properties of ReplyCheck.h.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ReplyCheck.h"
#include "compose/ComposeText.h"
#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "shell/CrtRandom.h"
#include "shell/Utf.h"

namespace {

using namespace nimbrel;

void Check(bool condition) {
    if (!condition) std::abort();
}

void SetTemplate(QuoteHeaderSetting& setting, std::u16string_view text) {
    for (int i = 0; i < kTemplateUnits; ++i)
        setting.text[i] = 0;
    for (std::size_t i = 0; i < text.size() && i + 1 < kTemplateUnits; ++i)
        setting.text[i] = text[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    Settings options = Settings::Defaults();
    const std::uint8_t bits = data[0];
    options.signatureToBottom = bits & 1;
    options.cursorAtTop = (bits >> 1) & 1;
    options.stripQuotedSignature = (bits >> 2) & 1;
    options.iso8859SignatureFix = (bits >> 3) & 1;
    options.fixExistingQuotes = (bits >> 4) & 1;
    options.compressedIndentation = (bits >> 5) & 1;
    options.standardizedIndentation = (bits >> 6) & 1;
    const bool compose = (bits >> 7) != 0;
    options.emailHeader.style = data[1] & 15u;
    options.newsHeader.style = data[1] >> 4;
    options.wrapColumn = static_cast<std::int32_t>(data[2]) - 20;
    static constexpr char16_t kQuoteChars[] = {u'>', u'|', u':', u'#', u' ', u'-', u'<', u'\0'};
    options.quoteChar = kQuoteChars[data[3] & 7];
    static constexpr std::u16string_view kTemplates[] = {u"",
                                                         u"%n",
                                                         u"%n%m%t%l\\n\\n%",
                                                         u"\\n\\n\\n",
                                                         u"-----%n-----",
                                                         u"%l news:%n...",
                                                         u"<nimbrel-sig>",
                                                         u"%%n%%m\\"};
    SetTemplate(options.emailHeader, kTemplates[data[4] & 7]);
    SetTemplate(options.newsHeader, kTemplates[(data[4] >> 3) & 7]);

    ResetSignatures();
    signaturesLoaded = 1;
    const int signatureCount = data[4] >> 6;
    for (int i = 0; i < signatureCount; ++i)
        signatureList.push_back(i == 1 ? String(u"two\nlines") : String(i, u'x'));
    crtRandom.Seed(static_cast<std::uint32_t>(size));

    const std::string_view bytes(reinterpret_cast<const char*>(data + 5), size - 5);
    const String input = AnsiToUtf16(bytes);
    String text = input;
    std::int32_t caretCount = -1;
    if (compose) {
        const std::int32_t result = TransformComposeText(options, text, caretCount);
        Check(result == 0 || result == 1 || result == 4 || result == 7);
        if (result == 1) Check(text == input);
    } else {
        ReplyFormatter formatter(options);
        const std::int32_t result = formatter.Reformat(text, caretCount);
        Check(result == 0 || result == 1 || result == 4);
        if (result == 1) Check(text == input);
    }
    Check(caretCount >= 0);

    static const std::vector<String> kEmailHeader = {u"----- Original Message -----",
                                                     u"From: \"Jane Doe\" <jane@example.com>",
                                                     u"To: <bob@example.org>",
                                                     u"Sent: Tuesday, March 04, 2003 2:05 PM",
                                                     u"Subject: lunch",
                                                     u""};
    static const std::vector<String> kNewsHeader = {
        u"\"Jane Doe\" <jane@example.com> wrote in message news:abc@example.com..."};
    const fuzz::ReplyParts parts{{u"", u"Thanks.", u"", u"--", u"Bob"},
                                 compose ? kNewsHeader : kEmailHeader,
                                 fuzz::SplitAtLineFeeds(input)};
    const std::string error = fuzz::ReplyChecker(options).Check(parts);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    return 0;
}
