#include "Utf8Writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace nimbrel {

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
// Units encoded in one go: each takes at most three bytes (a surrogate pair
// four for two), and a held CR one more.
constexpr std::size_t kUnitsPerPass = (kBufferBytes - 1) / 3;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

// Plain ASCII is encoded a block of units at a time.
constexpr std::size_t kBlock = 16;
constexpr std::uint64_t kLanes = 0x0001000100010001;  // 1 in each unit of a word

// Copies the leading blocks of `in` that are all ASCII (and, with
// `stopAtCr`, hold no CR) to `out` as bytes; returns the units copied. The
// units are tested four to a 64-bit word, and narrowed in local arrays,
// which the compiler turns into vector instructions.
std::size_t CopyAsciiBlocks(const char16_t* in, std::size_t size, char* out, bool stopAtCr) {
    std::size_t done = 0;
    for (; done + kBlock <= size; done += kBlock) {
        std::uint64_t words[kBlock / 4];
        std::memcpy(words, in + done, sizeof words);
        std::uint64_t bits = 0;
        std::uint64_t crs = 0;
        for (const std::uint64_t word : words) {
            bits |= word;
            const std::uint64_t x = word ^ (kLanes * u'\r');  // a CR unit becomes 0
            crs |= (x - kLanes) & ~x;
        }
        if ((bits & (kLanes * 0xFF80)) != 0 || (stopAtCr && (crs & (kLanes * 0x8000)) != 0)) {
            break;
        }
        char bytes[kBlock];
        for (std::size_t k = 0; k < kBlock; ++k)
            bytes[k] = static_cast<char>(in[done + k]);
        std::memcpy(out + done, bytes, kBlock);
    }
    return done;
}

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
                const std::size_t n = CopyAsciiBlocks(text.data() + i, count - i, p, lfBreaks);
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
