#include "ui/CLangFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "shell/Utf.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = std::string::npos;

// The white space that trimming removes. Pinned down here rather than taken
// from the C library, whose wide-character classes differ between runtimes.
bool IsTrimSpace(char16_t c) {
    if (c <= 0x20) return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    switch (c) {
        case 0x0085:
        case 0x00A0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return c >= 0x2000 && c <= 0x200A;
    }
}

String Trimmed(String text) {
    std::size_t end = text.size();
    while (end > 0 && IsTrimSpace(text[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && IsTrimSpace(text[begin]))
        ++begin;
    return text.substr(begin, end - begin);
}

}  // namespace

CLangFile::CLangFile(const std::filesystem::path& path, AnsiDecoder decode_) {
    decode = std::move(decode_);
    std::ifstream file(path, std::ios::binary);
    if (!file) return;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return;
    *this = FromBytes(bytes, std::move(decode));
}

CLangFile CLangFile::FromBytes(std::string_view bytes, AnsiDecoder decode) {
    CLangFile lang;
    lang.decode = std::move(decode);
    lang.hasBuffer = true;
    lang.buffer.assign(bytes);
    lang.textLength = std::min(lang.buffer.find('\0'), lang.buffer.size());
    return lang;
}

CLangFile::~CLangFile() = default;

std::size_t CLangFile::FindValue(std::string_view key) const {
    if (!hasBuffer || key.empty()) return kNone;
    const std::string_view text = Text();
    const std::size_t at = text.find(key);
    if (at == kNone) return kNone;
    const std::size_t lf = text.find('\n', at);
    return lf == kNone ? kNone : lf + 1;
}

std::size_t CLangFile::ReadLine(std::size_t pos, String& out, bool trim) const {
    const std::string_view text = Text();
    const std::size_t cr = text.find('\r', pos);
    if (cr == kNone) return kNone;
    String value = decode(text.substr(pos, cr - pos));
    out = trim ? Trimmed(std::move(value)) : std::move(value);
    std::size_t next = cr + 1;
    if (next < text.size() && text[next] == '\n') ++next;
    return next;
}

const char* CLangFile::GetLine(std::string_view key, String& out, bool trim) {
    const std::size_t start = FindValue(key);
    if (start == kNone) return nullptr;
    const std::size_t next = ReadLine(start, out, trim);
    return next == kNone ? nullptr : buffer.data() + next;
}

bool CLangFile::GetBlock(std::string_view key, String& out) {
    const std::size_t start = FindValue(key);
    if (start == kNone) return false;
    const std::string_view text = Text();
    std::size_t end = text.find('#', start);
    if (end == kNone) end = text.size();
    String value = decode(text.substr(start, end - start));
    while (!value.empty() && (value.back() == u'\r' || value.back() == u'\n'))
        value.pop_back();
    out = std::move(value);
    return true;
}

const String* CLangFile::GetText(std::string_view key) {
    return GetBlock(key, work) ? &work : nullptr;
}

bool CLangFile::GetList(std::string_view key, std::vector<String>& out) {
    std::size_t pos = FindValue(key);
    if (pos == kNone) return false;
    const char first = key.front();
    const std::string_view text = Text();
    for (;;) {
        // Compared as bytes: every key the program uses starts with an ASCII
        // "#", which the conversion keeps as it is.
        if (pos < text.size() && text[pos] == first) break;
        String item;
        const std::size_t next = ReadLine(pos, item, false);
        if (next == kNone) break;
        out.push_back(std::move(item));
        pos = next;
    }
    return true;
}

}  // namespace nimbrel
