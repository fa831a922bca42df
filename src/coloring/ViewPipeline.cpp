#include "coloring/ViewPipeline.h"

#include "coloring/EmoticonReplacer.h"
#include "coloring/Emoticons.h"
#include "coloring/LineMarkup.h"
#include "coloring/TextToHtml.h"
#include "reformat/ViewReformat.h"

#include <utility>

namespace nimbrel {

namespace {

constexpr StringView kFirstSpan = u"<SPAN class=q0>";

}  // namespace

String ColorMessageText(StringView text, const Settings& options, const ViewResources& resources) {
    return ColorMessageText(String(text), options, resources);
}

String ColorMessageText(String&& text, const Settings& options, const ViewResources& resources) {
    String linked;
    std::size_t plainSize = 0;
    {
        String plain = std::move(text);
        if (options.reformatMessageView != 0) {
            ViewReformat(options, plain);
        } else {
            // CR LF made LF in place.
            std::size_t n = 0;
            for (std::size_t i = 0; i < plain.size(); ++i) {
                if (plain[i] == u'\r' && i + 1 < plain.size() && plain[i + 1] == u'\n') continue;
                plain[n++] = plain[i];
            }
            plain.resize(n);
        }
        plainSize = plain.size();
        linked = EscapeAndLinkSchemes(plain);
    }

    // The rest of TextToHtml and FinishViewHtml line by line, into the one
    // result: MarkupLines and ReplaceEmoticons work on lines of converted
    // text (each ending at a "<BR>" that came from a line feed, every tag in
    // it closed on it), and neither a style, nor a quote level, nor a code
    // reaches from one line into the next but the signature's end, which
    // LineMarkup writes back where it belongs. The last line, when empty, is
    // no line to MarkupLines (there is nothing after its "<BR>").
    const bool markup = options.colorMessageView != 0 || options.fontStyles != 0;
    const bool emoticons = options.emoticons != 0;
    LineMarkup lineMarkup(resources.styleSheet.styleCount, false, options, resources.emoticons);
    EmoticonReplacer replacer(emoticons ? resources.emoticons : std::span<const EmoticonEntry>(),
                              resources.imagePrefix);
    String html;
    // Room for the markup of a realistic mail; room that is never written
    // costs no memory.
    html.reserve(linked.size() + linked.size() / 2 + plainSize / 4 + 64);
    html += kFirstSpan;
    ForEachHtmlLine(linked, [&](StringView line, bool last) {
        const std::size_t start = html.size();
        if (markup && !(last && line.empty())) {
            lineMarkup.AppendLine(html, line);
        } else {
            html += line;
        }
        if (emoticons) replacer.ReplaceFrom(html, start);
        if (!last) html += u"<BR>";
    });
    return html;
}

String ColorMessageHtml(StringView html, bool isCompose, const Settings& options,
                        const ViewResources& resources) {
    String working(html);
    FinishViewHtml(working, isCompose, options, resources);
    return working;
}

void FinishViewHtml(String& html, bool isCompose, const Settings& options,
                    const ViewResources& resources) {
    if (options.colorMessageView != 0 || isCompose || options.fontStyles != 0) {
        // The first span, then the markup after it, written once.
        String out;
        out.reserve(html.size() + html.size() / 2 + 32);
        out += kFirstSpan;
        LineMarkup(resources.styleSheet.styleCount, isCompose, options, resources.emoticons)
            .AppendLines(out, html);
        html.swap(out);
    } else {
        html.insert(0, kFirstSpan);
    }
    if (options.emoticons != 0 && !isCompose)
        EmoticonReplacer(resources.emoticons, resources.imagePrefix).Replace(html);
}

}  // namespace nimbrel
