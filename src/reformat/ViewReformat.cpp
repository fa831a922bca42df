#include "reformat/ViewReformat.h"

#include <utility>

#include "reformat/QuoteFormatter.h"

namespace nimbrel {

namespace {

// The wrap column that means "never break a line": the view reformat then
// only repairs broken quotes and normalises prefixes.
constexpr std::int32_t kArbitraryLengthColumn = 1000000;

}  // namespace

void ViewReformat(const Settings& options, String& text) {
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
    formatter.Render(text);
}

}  // namespace nimbrel
