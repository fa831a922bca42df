#include "coloring/ViewPipeline.h"

#include "coloring/Emoticons.h"
#include "coloring/TextToHtml.h"
#include "reformat/ViewReformat.h"

#include <utility>

namespace nimbrel {

String ColorMessageText(StringView text, const Settings& options, const ViewResources& resources) {
    return ColorMessageText(String(text), options, resources);
}

String ColorMessageText(String&& text, const Settings& options, const ViewResources& resources) {
    String html;
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
        html = TextToHtml(plain);
    }
    FinishViewHtml(html, false, options, resources);
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
    if (options.colorMessageView != 0 || isCompose || options.fontStyles != 0)
        resources.styleSheet.MarkupLines(html, isCompose, options, resources.emoticons);
    html.insert(0, u"<SPAN class=q0>");
    if (options.emoticons != 0 && !isCompose)
        ReplaceEmoticons(html, resources.emoticons, resources.imagePrefix);
}

}  // namespace nimbrel
