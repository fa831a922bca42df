#include "reformat/ViewReformat.h"

#include <utility>

#include "reformat/QuoteFormatter.h"

namespace nimbrel {

namespace {

// The wrap column that means "never break a line": the view reformat then
// only repairs broken quotes and normalises prefixes.
constexpr std::int32_t kArbitraryLengthColumn = 1000000;

// A formatter built from the settings, with the lines of `text` analysed and
// repaired, ready to render.
QuoteFormatter PreparedFormatter(const Settings& options, String&& text) {
    const std::int32_t column =
        options.reformatArbitraryLength ? kArbitraryLengthColumn : options.wrapColumn;
    // Compressed prefixes only make sense for prefixes the program builds itself.
    const std::int32_t compressed =
        options.standardizedIndentation ? options.compressedIndentation : 0;
    QuoteFormatter formatter(column, options.quoteChar, compressed,
                             options.standardizedIndentation);
    formatter.SplitAndAnalyzeLines(std::move(text));
    formatter.DropTrailingEmptyLines();
    formatter.RepairOEWrapping();
    return formatter;
}

}  // namespace

void ViewReformat(const Settings& options, String& text) {
    PreparedFormatter(options, std::move(text)).Render(text);
}

void ViewReformat(const Settings& options, String&& text, TextSink& out) {
    PreparedFormatter(options, std::move(text)).Render(out);
}

}  // namespace nimbrel
