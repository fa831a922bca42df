// lang.ini lookups on arbitrary bytes. The first byte gives the key length
// (0-31), the key follows, the rest is the file. Every lookup must stay inside
// the text and terminate.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/CLangFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t keyLength = std::min<std::size_t>(input[0] & 31, size - 1);
    const std::string_view key = input.substr(1, keyLength);
    nimbrel::CLangFile lang = nimbrel::CLangFile::FromBytes(input.substr(1 + keyLength));

    const std::string_view keys[] = {key, "#Hide", "#TrayMenu", "#First Time"};
    for (const std::string_view k : keys) {
        nimbrel::String text;
        lang.GetLine(k, text, true);
        lang.GetLine(k, text, false);
        lang.GetBlock(k, text);
        lang.GetText(k);
        std::vector<nimbrel::String> list;
        lang.GetList(k, list);
    }
    return 0;
}
