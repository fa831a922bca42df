// styles.css and emoticons.ini from arbitrary bytes: the style count from the
// first line, the emoticon table from the whole input, and both used to
// colour a fixed message, whose HTML must stay well formed.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "MarkupCheck.h"
#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "coloring/Emoticons.h"
#include "coloring/ViewPipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nimbrel;
    using nimbrel::fuzz::Check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::int32_t count = CStyleSheetInfo::ParseStyleCount(bytes);
    const CStyleSheetInfo info(count);
    Check(info.styleCount != 0);

    std::vector<EmoticonEntry> table;
    ParseEmoticonTable(bytes, table);
    std::size_t tabs = 0;
    for (char c : bytes)
        tabs += c == '\t';
    Check(table.size() <= tabs);
    for (const EmoticonEntry& entry : table) {
        Check(entry.code.find(u'\t') == String::npos);
        Check(entry.image.empty() || (entry.image.back() != u'\r' && entry.image.back() != u'\n'));
    }

    static const String message =
        u"Hi *smile* :-) ;-) 8-)\r\n> quoted :-( http://x.example/?a=1&b=2 *b* /i/ _u_\r\n"
        u">> deeper :D jo@example.com\r\n-- \r\nJo :P\r\n";
    Settings options = Settings::Defaults();
    options.reformatMessageView = 0;
    const String prefix = EmoticonImagePrefix(u"/opt/nimbrel");
    const ViewResources resources{info, table, prefix};
    nimbrel::fuzz::CheckMarkup(ColorMessageText(message, options, resources));
    return 0;
}
