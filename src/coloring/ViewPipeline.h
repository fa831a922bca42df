// The view pipeline: the body HTML that colouring writes into a document,
// built from the document's text or HTML without touching the document.
#pragma once

#include <span>

#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonEntry.h"
#include "reformat/TextSink.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

// What the pipeline reads besides the message and the settings.
struct ViewResources {
    const CStyleSheetInfo& styleSheet;
    std::span<const EmoticonEntry> emoticons;
    StringView imagePrefix;  // EmoticonImagePrefix(installDirectory)
};

// A plain-text message (the document's innerText: CR LF line breaks; LF
// alone is taken too): with options.reformatMessageView the view reformat,
// else only CR LF made LF; then TextToHtml, and FinishViewHtml.
String ColorMessageText(StringView text, const Settings& options, const ViewResources& resources);
// The same on a text that may be used up (no copy of it is made).
String ColorMessageText(String&& text, const Settings& options, const ViewResources& resources);
// The same, with the HTML written to `out` as it is made: the stages hand
// each other stretches of lines, so that besides the text only a stretch is
// held at a time (and the end of a signature, from its last empty line on,
// until it is known where the signature ends).
void ColorMessageText(String&& text, const Settings& options, const ViewResources& resources,
                      TextSink& out);

// A document's own HTML (innerHTML): FinishViewHtml on a copy.
String ColorMessageHtml(StringView html, bool isCompose, const Settings& options,
                        const ViewResources& resources);

// The common end: MarkupLines when options.colorMessageView, `isCompose` or
// options.fontStyles asks for it; "<SPAN class=q0>" in front; emoticons when
// options.emoticons is on and `isCompose` is not.
void FinishViewHtml(String& html, bool isCompose, const Settings& options,
                    const ViewResources& resources);

}  // namespace nimbrel
