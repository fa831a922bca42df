#include "coloring/ViewPipeline.h"

#include "coloring/Emoticons.h"
#include "coloring/TextToHtml.h"
#include "reformat/ViewReformat.h"

namespace nimbrel {

String ColorMessageText(StringView text, const Settings& options, const ViewResources& resources) {
    String plain;
    if (options.reformatMessageView != 0) {
        plain.assign(text);
        ViewReformat(options, plain);
    } else {
        plain.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
            plain += text[i];
        }
    }
    String html = TextToHtml(plain);
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
