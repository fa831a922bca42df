#include "shell/Utf.h"

namespace nimbrel {

namespace {

// The length of the well-formed UTF-8 sequence starting at `in[pos]` (1 to 4)
// with its code point in `codePoint`, or 0 when the bytes there are not one:
// a stray continuation byte, a lead byte that never starts a sequence
// (C0, C1, F5..FF), an overlong form, a surrogate, a code point above
// U+10FFFF, or a sequence cut short.
std::size_t DecodeUtf8(std::string_view in, std::size_t pos, char32_t& codePoint) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    // The range of the second byte; the limits exclude overlong forms (E0, F0),
    // surrogates (ED) and code points above U+10FFFF (F4).
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (in.size() - pos < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(pos + i);
        if (next < low || next > high) return 0;
        low = 0x80;
        high = 0xBF;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    return length;
}

void AppendUtf16(String& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    const auto put = [&](char32_t byte) { out += static_cast<char>(byte); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 to UTF-8 with `unpaired` written for every surrogate that is not
// part of a pair.
std::string EncodeUtf8(StringView in, char32_t unpaired) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t unit = in[i];
        if (IsHighSurrogate(unit) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (in[i + 1] - 0xDC00u));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, unpaired);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace

bool Utf8ToUtf16(std::string_view in, String& out, std::size_t& errorOffset) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t pos = 0; pos < in.size();) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(in, pos, codePoint);
        if (length == 0) {
            errorOffset = pos;
            return false;
        }
        AppendUtf16(out, codePoint);
        pos += length;
    }
    return true;
}

std::string Utf16ToUtf8(StringView in) {
    return EncodeUtf8(in, 0xFFFD);
}

String AnsiToUtf16(std::string_view in) {
    String out;
    out.reserve(in.size());
    for (std::size_t pos = 0; pos < in.size();) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(in, pos, codePoint);
        if (length == 0) {
            // Only the first byte is taken as Latin-1; decoding resumes at the next.
            out += static_cast<char16_t>(static_cast<unsigned char>(in[pos]));
            ++pos;
        } else {
            AppendUtf16(out, codePoint);
            pos += length;
        }
    }
    return out;
}

// '?' for an unpaired surrogate, as the Windows conversion writes its default
// character for what the code page cannot hold.
std::string Utf16ToAnsi(StringView in) {
    return EncodeUtf8(in, u'?');
}

}  // namespace nimbrel
