// What kind of HTML a document holds, as the coloring and the compose
// processing decide it (case-sensitive substring tests).
#pragma once

#include "shell/Text.h"

namespace nimbrel {

// A message written in HTML, which is never coloured: the HTML contains
// "<FONT " (with the space), "<P>", "<IMG", "<I>", "<B>", "<FRAME", "<SCRIPT",
// "<OBJECT" or "<PRE".
bool IsFormattedHtml(StringView html);

// An HTML reply in a compose window: `<DIV style="FONT:` or "<BLOCKQUOTE".
bool IsHtmlComposition(StringView html);

// Coloured before: the HTML holds "<SPAN class=q0>".
bool IsColoredHtml(StringView html);

}  // namespace nimbrel
