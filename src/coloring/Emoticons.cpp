#include "coloring/Emoticons.h"

#include "coloring/EmoticonReplacer.h"
#include "coloring/HtmlEscape.h"

namespace nimbrel {

String EmoticonImagePrefix(StringView installDirectory, char16_t separator) {
    String path(installDirectory);
    path += separator;
    path += u"emoticons";
    path += separator;
    String prefix = u"<IMG src=\"";
    AppendEscapedAttribute(prefix, path);
    return prefix;
}

void ReplaceEmoticons(String& html, std::span<const EmoticonEntry> table, StringView imagePrefix) {
    EmoticonReplacer(table, imagePrefix).Replace(html);
}

}  // namespace nimbrel
