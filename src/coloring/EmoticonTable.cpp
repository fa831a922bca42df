#include "coloring/EmoticonTable.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/Utf.h"

namespace nimbrel {

void ParseEmoticonTable(std::string_view bytes, std::vector<EmoticonEntry>& table,
                        const AnsiDecoder& decode) {
    while (!bytes.empty()) {
        std::size_t length = std::min(bytes.size(), kEmoticonPieceBytes);
        const std::size_t lf = bytes.substr(0, length).find('\n');
        if (lf != std::string_view::npos) length = lf + 1;
        const std::string_view piece = bytes.substr(0, length);
        bytes.remove_prefix(length);

        const std::size_t tab = piece.find('\t');
        if (tab == std::string_view::npos) continue;
        std::string_view image = piece.substr(tab + 1);
        while (!image.empty() && (image.back() == '\r' || image.back() == '\n'))
            image.remove_suffix(1);
        table.push_back({decode(piece.substr(0, tab)), decode(image)});
    }
}

bool LoadEmoticonTable(const std::filesystem::path& directory, bool displayWarnings,
                       MessageBoxes& boxes, std::vector<EmoticonEntry>& table,
                       const AnsiDecoder& decode) {
    std::ifstream file(directory / "emoticons.ini", std::ios::binary);
    if (!file) {
        if (displayWarnings) {
            boxes.MessageBoxW(
                u"Emoticon data could not be loaded!\n\nVerify that emoticons.ini is found\n"
                u"in the Nimbrel directory and\nmake sure that you are using a\n"
                u"valid shortcut to start the program.",
                u"Nimbrel Error", mb::kSystemModal | mb::kIconExclamation);
        }
        return true;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ParseEmoticonTable(bytes, table, decode);
    return file.bad();
}

}  // namespace nimbrel
