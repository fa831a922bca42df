// The view pipeline on arbitrary messages. Byte 0 chooses the input kind and
// the settings, byte 1 the style count; the rest is the message (bytes as the
// platform's 8-bit conversion reads them).
//   byte 0: bit 0 HTML input, bit 1 compose window, bit 2 reformatMessageView,
//           bit 3 colorMessageView, bit 4 fontStyles, bit 5 emoticons,
//           bit 6 keepStyleMarkers, bit 7 reformatArbitraryLength
// Plain text must come out well formed, and the same when written out as it
// is made; with no markup and no emoticons, and without the view reformat,
// every character of the message must still show.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "MarkupCheck.h"
#include "coloring/CStyleSheetInfo.h"
#include "coloring/Emoticons.h"
#include "coloring/TextToHtml.h"
#include "coloring/ViewPipeline.h"
#include "shell/Utf.h"

namespace {

using namespace nimbrel;
using nimbrel::fuzz::Check;

// What a browser shows, as plain text without line breaks.
String VisibleText(StringView html) {
    String text;
    for (std::size_t i = 0; i < html.size();) {
        const StringView rest = html.substr(i);
        if (html[i] == u'<') {
            i = html.find(u'>', i) + 1;
            continue;
        }
        if (html[i] == u'&') {
            bool decoded = false;
            for (auto [entity, c] :
                 {std::pair{u"&lt;", u'<'}, std::pair{u"&gt;", u'>'}, std::pair{u"&amp;", u'&'},
                  std::pair{u"&quot;", u'"'}, std::pair{u"&nbsp;", u' '}}) {
                if (rest.starts_with(entity)) {
                    text += c;
                    i += StringView(entity).size();
                    decoded = true;
                    break;
                }
            }
            Check(decoded);
            continue;
        }
        text += html[i++];
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t bits = data[0];
    const auto styleCount = static_cast<std::int8_t>(data[1]);
    const String message =
        AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));

    Settings options = Settings::Defaults();
    const bool html = (bits & 1) != 0;
    const bool isCompose = (bits & 2) != 0;
    options.reformatMessageView = (bits >> 2) & 1;
    options.colorMessageView = (bits >> 3) & 1;
    options.fontStyles = (bits >> 4) & 1;
    options.emoticons = (bits >> 5) & 1;
    options.keepStyleMarkers = (bits >> 6) & 1;
    options.reformatArbitraryLength = (bits >> 7) & 1;

    static const std::vector<EmoticonEntry> emoticons = {
        {u":-)", u"smile.gif"}, {u":)", u"smile.gif"},      {u"*smile*", u"grin.gif"},
        {u"", u"never.gif"},    {u"&lt;3", u"a\"b<c>.gif"}, {u"-", u"dash.gif"},
        {u"<A", u"tag.gif"},    {u"span", u"x.gif"}};
    static const String prefix = EmoticonImagePrefix(u"C:\\Nimbrel&co", u'\\');
    const CStyleSheetInfo info(styleCount);
    const ViewResources resources{info, emoticons, prefix};

    if (html) {
        const String result = ColorMessageHtml(message, isCompose, options, resources);
        Check(result.starts_with(u"<SPAN class=q0>"));
        return 0;
    }
    const String result = ColorMessageText(message, options, resources);
    Check(result.starts_with(u"<SPAN class=q0>"));
    nimbrel::fuzz::CheckMarkup(result);
    // Written out as it is made, in pieces, the same HTML.
    String written;
    StringSink sink(written);
    ColorMessageText(String(message), options, resources, sink);
    Check(written == result);

    if (!options.reformatMessageView && !options.colorMessageView && !options.fontStyles &&
        !options.emoticons && message.find(u"news:") == String::npos) {
        // Joined wrapped addresses drop their line breaks: compare without them.
        String expected;
        for (std::size_t i = 0; i < message.size(); ++i) {
            if (message[i] == u'\n' ||
                (message[i] == u'\r' && i + 1 < message.size() && message[i + 1] == u'\n')) {
                continue;
            }
            expected += message[i];
        }
        String shown;
        for (char16_t c : VisibleText(StringView(result).substr(15)))
            if (c != u'\n') shown += c;
        Check(shown == expected);
    }
    return 0;
}
