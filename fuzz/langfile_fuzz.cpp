// lang.ini lookups on arbitrary bytes. The first byte gives the key length
// (0-31), the key follows, the rest is the file. Every lookup must stay inside
// the text, terminate, and give what the file holds for the key: the value
// starts on the line after the key's first occurrence (behind the first LF at
// or after it, in the text up to the first zero byte); a line ends at its CR,
// a block at the next '#'. A key that is not found leaves the caller's text
// as it was: a dialog keeps its built-in texts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Utf.h"
#include "ui/CLangFile.h"

using namespace nimbrel;

namespace {

constexpr std::size_t kNone = std::string_view::npos;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

bool IsSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

String Trimmed(String text) {
    while (!text.empty() && IsSpace(text.back()))
        text.pop_back();
    std::size_t start = 0;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    return text.substr(start);
}

// Where the value of `key` starts in `text`, or kNone.
std::size_t ValueStart(std::string_view text, std::string_view key) {
    if (key.empty()) return kNone;
    const std::size_t at = text.find(key);
    const std::size_t lf = at == kNone ? kNone : text.find('\n', at);
    return lf == kNone ? kNone : lf + 1;
}

class Dialog final : public DialogTexts {
  public:
    bool HasControl(int id) const override { return id == 1; }
    void SetControlText(int id, StringView text) override { texts[id] = String(text); }
    void SetTitle(StringView text) override { texts[0] = String(text); }
    std::map<int, String> texts{{0, u"built-in title"}, {1, u"built-in label"}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t keyLength = std::min<std::size_t>(input[0] & 31, size - 1);
    const std::string_view key = input.substr(1, keyLength);
    const std::string_view file = input.substr(1 + keyLength);
    CLangFile lang = CLangFile::FromBytes(file);
    const std::string_view text = file.substr(0, file.find('\0'));

    const std::string_view keys[] = {key, "#Hide", "#TrayMenu", "#First Time"};
    for (const std::string_view k : keys) {
        const std::size_t start = ValueStart(text, k);
        const std::size_t cr = start == kNone ? kNone : text.find('\r', start);
        const String line = cr == kNone ? String() : AnsiToUtf16(text.substr(start, cr - start));

        String out = u"built-in";
        const bool lineFound = lang.GetLine(k, out, false) != nullptr;
        Check(lineFound == (cr != kNone), "GetLine found what is not there");
        Check(out == (lineFound ? line : u"built-in"), "GetLine: not the line after the key");
        out = u"built-in";
        Check((lang.GetLine(k, out, true) != nullptr) == lineFound, "trimmed GetLine differs");
        Check(out == (lineFound ? Trimmed(line) : u"built-in"), "GetLine: not trimmed");

        String block = u"built-in";
        const bool blockFound = lang.GetBlock(k, block);
        Check(blockFound == (start != kNone), "GetBlock found what is not there");
        String expected = u"built-in";
        if (blockFound) {
            const std::size_t hash = text.find('#', start);
            expected = AnsiToUtf16(text.substr(start, hash == kNone ? kNone : hash - start));
            while (!expected.empty() && (expected.back() == u'\r' || expected.back() == u'\n'))
                expected.pop_back();
        }
        Check(block == expected, "GetBlock: not the text up to the next '#'");
        const String* whole = lang.GetText(k);
        Check(blockFound ? whole != nullptr && *whole == block : whole == nullptr,
              "GetText differs from GetBlock");

        // The list: the lines from the value's start, each up to its CR,
        // until one that begins with the key's first byte.
        std::vector<String> items{u"built-in"};
        Check(lang.GetList(k, items) == blockFound, "GetList found what GetBlock did not");
        std::vector<String> expectedItems{u"built-in"};
        for (std::size_t pos = start; blockFound;) {
            const std::size_t end = text.find('\r', pos);
            if (end == kNone || (pos < text.size() && text[pos] == k[0])) break;
            expectedItems.push_back(AnsiToUtf16(text.substr(pos, end - pos)));
            pos = end + 1 + (end + 1 < text.size() && text[end + 1] == '\n');
        }
        Check(items == expectedItems, "GetList: not the lines after the key");

        Dialog dialog;
        lang.TranslateControl(dialog, 1, k);
        lang.TranslateControl(dialog, 2, k);  // a control the dialog lacks
        lang.TranslateTitle(dialog, k);
        const String label =
            lineFound && !Trimmed(line).empty() ? Trimmed(line) : u"built-in label";
        Check(dialog.texts.size() == 2 && dialog.texts[1] == label, "TranslateControl");
        Check(dialog.texts[0] == (lineFound ? line : u"built-in title"), "TranslateTitle");
    }
    return 0;
}
