#include "Utf8Writer.h"

#include <algorithm>
#include <cstring>

#include "shell/Utf.h"

namespace nimbrel {

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
// Units encoded in one go: each takes at most three bytes (a surrogate pair
// four for two), and a held CR one more.
constexpr std::size_t kUnitsPerPass = (kBufferBytes - 1) / 3;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

// Plain ASCII is encoded a block of units at a time (NarrowAsciiBlocks).
constexpr std::size_t kBlock = 16;

}  // namespace

Utf8Writer::Utf8Writer(std::ostream* stream_) : stream(stream_), buffer(new char[kBufferBytes]) {}

void Utf8Writer::Append(StringView text) {
    Encode(text, true);
}

void Utf8Writer::AppendExact(StringView text) {
    Encode(text, false);
}

void Utf8Writer::AppendBytes(std::string_view bytes) {
    if (heldCr) {
        heldCr = false;
        AppendBytes("\r");
    }
    while (!bytes.empty()) {
        if (used == kBufferBytes) Flush();
        const std::size_t n = std::min(bytes.size(), kBufferBytes - used);
        std::memcpy(buffer.get() + used, bytes.data(), n);
        used += n;
        bytes.remove_prefix(n);
    }
}

void Utf8Writer::Encode(StringView text, bool lfBreaks) {
    while (!text.empty()) {
        std::size_t count = std::min(text.size(), kUnitsPerPass);
        // A surrogate pair is never cut in two.
        if (count < text.size() && IsHighSurrogate(text[count - 1])) --count;
        if (kBufferBytes - used < 3 * count + 1) Flush();
        char* p = buffer.get() + used;
        // A block with anything but plain ASCII in it goes unit by unit.
        std::size_t slowEnd = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (i >= slowEnd && !heldCr) {
                const std::size_t n = NarrowAsciiBlocks(text.data() + i, count - i, p, lfBreaks);
                p += n;
                i += n;
                if (i == count) break;
                slowEnd = i + kBlock;
            }
            const char16_t u = text[i];
            if (heldCr) {
                heldCr = false;
                if (u != u'\n') *p++ = '\r';
            }
            if (u < 0x80) {
                if (u == u'\r' && lfBreaks) {
                    heldCr = true;
                } else {
                    *p++ = static_cast<char>(u);
                }
                continue;
            }
            char32_t cp = u;
            if (IsHighSurrogate(u) && i + 1 < count && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                cp = 0xFFFD;
            }
            if (cp < 0x800) {
                *p++ = static_cast<char>(0xC0 | (cp >> 6));
                *p++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                *p++ = static_cast<char>(0xE0 | (cp >> 12));
                *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *p++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                *p++ = static_cast<char>(0xF0 | (cp >> 18));
                *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
                *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *p++ = static_cast<char>(0x80 | (cp & 0x3F));
            }
        }
        used = static_cast<std::size_t>(p - buffer.get());
        text.remove_prefix(count);
    }
}

void Utf8Writer::Flush() {
    if (stream != nullptr) {
        stream->write(buffer.get(), static_cast<std::streamsize>(used));
    } else {
        kept.append(buffer.get(), used);
    }
    used = 0;
}

void Utf8Writer::Finish() {
    if (heldCr) AppendBytes("");
    Flush();
    if (stream != nullptr) stream->flush();
}

}  // namespace nimbrel
