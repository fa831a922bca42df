#include "shell/Utf.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nimbrel {

namespace {

constexpr std::size_t kBlock = 16;

constexpr std::uint64_t kByteLanes = 0x0101010101010101;  // 1 in each byte of a word

// Copies the leading blocks of `in` that are all ASCII (and, with
// `stopAtLf`, hold no LF) to `out` as units; returns the bytes copied. The
// bytes are tested eight to a 64-bit word, and widened in local arrays,
// which the compiler turns into vector instructions.
std::size_t WidenAsciiBlocks(const char* in, std::size_t size, char16_t* out, bool stopAtLf) {
    std::size_t done = 0;
    for (; done + kBlock <= size; done += kBlock) {
        std::uint64_t words[kBlock / 8];
        std::memcpy(words, in + done, sizeof words);
        std::uint64_t lfs = 0;
        for (const std::uint64_t word : words) {
            const std::uint64_t x = word ^ (kByteLanes * '\n');  // an LF byte becomes 0
            lfs |= (x - kByteLanes) & ~x;
        }
        if (((words[0] | words[1]) & (kByteLanes * 0x80)) != 0 ||
            (stopAtLf && (lfs & (kByteLanes * 0x80)) != 0)) {
            break;
        }
        unsigned char bytes[kBlock];
        std::memcpy(bytes, in + done, kBlock);
        char16_t units[kBlock];
        for (std::size_t k = 0; k < kBlock; ++k)
            units[k] = bytes[k];
        std::memcpy(out + done, units, sizeof units);
    }
    return done;
}

// Decodes one UTF-8 sequence at `i`. Returns its length and sets `cp`, or 0
// when the bytes at `i` are not a valid, shortest-form sequence.
std::size_t DecodeOne(std::string_view in, std::size_t i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(in[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1Fu;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0Fu;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (in.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

void AppendCodePoint(String& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Writes `cp` as one or two units at out[n] (room made by the caller) and
// moves n past them.
void StoreCodePoint(String& out, std::size_t& n, char32_t cp) {
    if (cp < 0x10000) {
        out[n++] = static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out[n++] = static_cast<char16_t>(0xD800 + (cp >> 10));
        out[n++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Appends without reserving: callers append many pieces and reserve once.
void AppendEncodedUtf8(std::string& out, StringView in, char32_t replacement) {
    // Plain ASCII goes a block at a time, through a buffer of a few blocks;
    // a block with anything else in it goes unit by unit.
    std::size_t slowEnd = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (i >= slowEnd) {
            char bytes[16 * kBlock];
            std::size_t plain;
            do {
                plain = NarrowAsciiBlocks(in.data() + i, std::min(in.size() - i, sizeof bytes),
                                          bytes, false);
                out.append(bytes, plain);
                i += plain;
            } while (plain == sizeof bytes);
            if (i == in.size()) break;
            slowEnd = i + kBlock;
        }
        const char16_t u = in[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
                   in[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (in[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, replacement);
        } else {
            AppendUtf8(out, u);
        }
    }
}

std::string EncodeUtf8(StringView in, char32_t replacement) {
    std::string out;
    out.reserve(in.size());
    AppendEncodedUtf8(out, in, replacement);
    return out;
}

}  // namespace

// The units are tested four to a 64-bit word, and narrowed in local arrays,
// which the compiler turns into vector instructions; with SSE2 the same is
// written out in its instructions (the compiler's own form tested the words
// one after the other).
std::size_t NarrowAsciiBlocks(const char16_t* in, std::size_t size, char* out, bool stopAtCr) {
    std::size_t done = 0;
#if defined(__SSE2__)
    static_assert(kBlock == 16);
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i cr = _mm_set1_epi16(u'\r');
    for (; done + kBlock <= size; done += kBlock) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done + 8));
        __m128i stop = _mm_and_si128(_mm_or_si128(a, b), high);
        if (stopAtCr) {
            stop = _mm_or_si128(stop, _mm_or_si128(_mm_cmpeq_epi16(a, cr), _mm_cmpeq_epi16(b, cr)));
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(stop, _mm_setzero_si128())) != 0xFFFF) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), _mm_packus_epi16(a, b));
    }
#else
    constexpr std::uint64_t kUnitLanes = 0x0001000100010001;  // 1 in each unit of a word
    for (; done + kBlock <= size; done += kBlock) {
        std::uint64_t words[kBlock / 4];
        std::memcpy(words, in + done, sizeof words);
        std::uint64_t bits = 0;
        std::uint64_t crs = 0;
        for (const std::uint64_t word : words) {
            bits |= word;
            const std::uint64_t x = word ^ (kUnitLanes * u'\r');  // a CR unit becomes 0
            crs |= (x - kUnitLanes) & ~x;
        }
        if ((bits & (kUnitLanes * 0xFF80)) != 0 ||
            (stopAtCr && (crs & (kUnitLanes * 0x8000)) != 0)) {
            break;
        }
        char bytes[kBlock];
        for (std::size_t k = 0; k < kBlock; ++k)
            bytes[k] = static_cast<char>(in[done + k]);
        std::memcpy(out + done, bytes, kBlock);
    }
#endif
    return done;
}

bool Utf8ToUtf16(std::string_view in, String& out, std::size_t& errorOffset, bool crLfBreaks) {
    // Every byte gives at most one code unit (a four-byte sequence gives two),
    // and each added CR one more: the text is written into room made once.
    std::size_t room = in.size();
    if (crLfBreaks) room += static_cast<std::size_t>(std::count(in.begin(), in.end(), '\n'));
    out.clear();
    out.resize(room);
    std::size_t n = 0;
    // Plain ASCII (without an LF that may need a CR) goes a block at a time;
    // a block with anything else in it goes byte by byte.
    std::size_t slowEnd = 0;
    for (std::size_t i = 0; i < in.size();) {
        if (i >= slowEnd) {
            const std::size_t plain =
                WidenAsciiBlocks(in.data() + i, in.size() - i, out.data() + n, crLfBreaks);
            i += plain;
            n += plain;
            if (i == in.size()) break;
            slowEnd = i + kBlock;
        }
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            if (b == '\n' && crLfBreaks && (i == 0 || in[i - 1] != '\r')) out[n++] = u'\r';
            out[n++] = b;
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t len = DecodeOne(in, i, cp);
        if (len == 0) {
            errorOffset = i;
            return false;
        }
        StoreCodePoint(out, n, cp);
        i += len;
    }
    out.resize(n);
    return true;
}

std::size_t AppendUtf8PieceAsUtf16(std::string_view in, bool last, String& out,
                                   std::size_t& errorOffset) {
    std::size_t end = in.size();
    if (!last) {
        // A sequence cut off by the end of the piece is left for the next one.
        std::size_t lead = in.size();
        while (lead > 0 && in.size() - lead < 4 &&
               (static_cast<unsigned char>(in[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const auto b0 = static_cast<unsigned char>(in[lead - 1]);
            const std::size_t length = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 1;
            if (in.size() - (lead - 1) < length) end = lead - 1;
        }
    }
    // Every byte gives at most one code unit (a four-byte sequence gives two):
    // the piece is written into room made once.
    std::size_t n = out.size();
    out.resize(n + end);
    // Plain ASCII goes a block at a time; a block with anything else in it
    // goes byte by byte.
    std::size_t slowEnd = 0;
    for (std::size_t i = 0; i < end;) {
        if (i >= slowEnd) {
            const std::size_t plain =
                WidenAsciiBlocks(in.data() + i, end - i, out.data() + n, false);
            i += plain;
            n += plain;
            if (i == end) break;
            slowEnd = i + kBlock;
        }
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        char32_t cp;
        const std::size_t len = DecodeOne(in.substr(0, end), i, cp);
        if (len == 0) {
            out.resize(n);
            errorOffset = i;
            return std::string_view::npos;
        }
        StoreCodePoint(out, n, cp);
        i += len;
    }
    out.resize(n);
    return end;
}

std::string Utf16ToUtf8(StringView in) {
    return EncodeUtf8(in, 0xFFFD);
}

void AppendUtf16AsUtf8(std::string& out, StringView in) {
    AppendEncodedUtf8(out, in, 0xFFFD);
}

String AnsiToUtf16(std::string_view in) {
    String out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();) {
        char32_t cp;
        const std::size_t len = DecodeOne(in, i, cp);
        if (len == 0) {
            out.push_back(static_cast<unsigned char>(in[i]));  // Latin-1 fallback
            ++i;
        } else {
            AppendCodePoint(out, cp);
            i += len;
        }
    }
    return out;
}

std::string Utf16ToAnsi(StringView in) {
    return EncodeUtf8(in, U'?');
}

}  // namespace nimbrel
