// The view reformat: re-wraps the plain text of a viewed message before it
// is coloured (constructed from the settings as the coloring driver does).
#pragma once

#include "reformat/TextSink.h"
#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

// Runs SplitLines, AnalyzeLines(0, -1, -1), DropTrailingEmptyLines,
// RepairOEWrapping and Render on `text` (CR LF breaks) with a QuoteFormatter
// built from `options`, and replaces `text` by the result (LF breaks).
void ViewReformat(const Settings& options, String& text);

// The same, with the result written to `out` as it is made; `text` is used up.
void ViewReformat(const Settings& options, String&& text, TextSink& out);

}  // namespace nimbrel
