#include "sim/SimCodePage.h"

#include <cstdint>

#include "shell/Utf.h"

namespace nimbrel {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the undefined ones keep their C1 value.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char To1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh1252[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

String SimCodePage::ToWide(std::string_view bytes) const {
    String out;
    out.reserve(bytes.size());
    if (kind == Kind::kWindows1252) {
        for (const char b : bytes) {
            const auto u = static_cast<std::uint8_t>(b);
            out.push_back(u >= 0x80 && u < 0xA0 ? kHigh1252[u - 0x80] : char16_t{u});
        }
        return out;
    }
    return AnsiToUtf16(bytes);  // UTF-8 with the byte-for-byte fallback
}

std::string SimCodePage::ToBytes(StringView text) const {
    if (kind == Kind::kUtf8) return Utf16ToUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool paired =
            high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        out.push_back(To1252(c));
        if (paired) ++i;  // one '?' for the whole character
    }
    return out;
}

}  // namespace nimbrel
