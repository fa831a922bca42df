// Searches of UTF-16 text for one of a few code units, or for a pair of
// units. The text is tested a block of 16 units at a time with no branch
// inside the block, in a form that the compiler turns into a few vector
// instructions; the first match is then read off the block's masks. Long
// stretches without a match (most of a message) cost a fraction of a
// unit-by-unit search.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "shell/Text.h"

namespace nimbrel {

inline constexpr std::size_t kSearchBlock = 16;

using SearchMasks = std::array<std::uint16_t, kSearchBlock>;

// 0xFFFF where `unit` is `what`, else 0: a test that vectorises.
constexpr std::uint16_t UnitMask(char16_t unit, char16_t what) {
    return static_cast<std::uint16_t>(-static_cast<int>(unit == what));
}

#if defined(__SSE2__)
// The masks as a bit per byte (two per mask), in the order of the masks.
inline std::uint32_t MaskBits(const SearchMasks& masks) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.data()));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.data() + 8));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(low)) |
           static_cast<std::uint32_t>(_mm_movemask_epi8(high)) << 16;
}
#endif

// The index of the first mask at or after `start` that is not 0, or
// kSearchBlock when there is none.
inline std::size_t FirstHit(const SearchMasks& masks, std::size_t start) {
#if defined(__SSE2__)
    if (start >= kSearchBlock) return kSearchBlock;
    const std::uint32_t bits = MaskBits(masks) & (~std::uint32_t{0} << (2 * start));
    return bits == 0 ? kSearchBlock : static_cast<std::size_t>(std::countr_zero(bits)) / 2;
#else
    std::array<std::uint64_t, sizeof masks / sizeof(std::uint64_t)> words;
    std::memcpy(words.data(), masks.data(), sizeof masks);
    constexpr std::size_t kPerWord = sizeof(std::uint64_t) / sizeof(std::uint16_t);
    for (std::size_t w = start / kPerWord; w < words.size(); ++w) {
        std::uint64_t word = words[w];
        if (w == start / kPerWord) word &= ~std::uint64_t{0} << (start % kPerWord * 16);
        if (word != 0) {
            // Which mask is which lane depends on the byte order.
            if constexpr (std::endian::native == std::endian::little) {
                return w * kPerWord + static_cast<std::size_t>(std::countr_zero(word)) / 16;
            } else {
                return w * kPerWord + static_cast<std::size_t>(std::countl_zero(word)) / 16;
            }
        }
    }
    return kSearchBlock;
#endif
}

// Whether any mask is not 0: one test for the whole block.
inline bool AnyHit(const SearchMasks& masks) {
#if defined(__SSE2__)
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.data()));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks.data() + 8));
    return _mm_movemask_epi8(_mm_or_si128(low, high)) != 0;
#else
    std::array<std::uint64_t, sizeof masks / sizeof(std::uint64_t)> words;
    std::memcpy(words.data(), masks.data(), sizeof masks);
    std::uint64_t any = 0;
    for (const std::uint64_t word : words)
        any |= word;
    return any != 0;
#endif
}

// The first index at or after `from` where `match` holds, or StringView::npos.
// `match(block, masks)` sets masks[k] to 0xFFFF where the text matches at
// block[k] and to 0 elsewhere, without branches; it may read `kLookahead`
// units past the block, and no match can start in the last `kLookahead`
// units of the text.
template <std::size_t kLookahead, class Match>
std::size_t FindBlockwise(StringView text, std::size_t from, Match match) {
    const char16_t* const data = text.data();
    const std::size_t size = text.size();
    if (from >= size || size - from <= kLookahead) return StringView::npos;
    if (size < kSearchBlock + kLookahead) {
        // Shorter than a block: one block of its own, padded.
        std::array<char16_t, kSearchBlock + kLookahead> padded{};
        std::memcpy(padded.data(), data, size * sizeof(char16_t));
        SearchMasks masks;
        match(padded.data(), masks);
        const std::size_t first = FirstHit(masks, from);
        return first < size - kLookahead ? first : StringView::npos;
    }
    SearchMasks masks;
    std::size_t i = from;
    for (; i + kSearchBlock + kLookahead <= size; i += kSearchBlock) {
        match(data + i, masks);
        if (AnyHit(masks)) return i + FirstHit(masks, 0);
    }
    if (i + kLookahead >= size) return StringView::npos;
    // The rest is shorter than a block: the last whole block, which overlaps
    // what has been searched, with the units before `i` left out.
    const std::size_t last = size - kLookahead - kSearchBlock;
    match(data + last, masks);
    const std::size_t first = FirstHit(masks, i - last);
    return first == kSearchBlock ? StringView::npos : last + first;
}

// The first index at or after `from` whose unit is one of `units`, or
// StringView::npos.
template <std::size_t N>
std::size_t FindAnyUnit(StringView text, std::size_t from, const std::array<char16_t, N>& units) {
    static_assert(N >= 1 && N <= 4);
    if (text.size() < kSearchBlock) {
        // Shorter than a block (a quote prefix, a line break): read as it is.
        for (std::size_t i = from; i < text.size(); ++i) {
            for (const char16_t unit : units) {
                if (text[i] == unit) return i;
            }
        }
        return StringView::npos;
    }
    return FindBlockwise<0>(text, from, [units](const char16_t* at, SearchMasks& masks) {
        // Copied into a local array first: in this form the test vectorises.
        std::array<char16_t, kSearchBlock> block;
        std::memcpy(block.data(), at, sizeof block);
        for (std::size_t k = 0; k < kSearchBlock; ++k) {
            std::uint16_t mask = 0;
            for (const char16_t unit : units)
                mask = static_cast<std::uint16_t>(mask | UnitMask(block[k], unit));
            masks[k] = mask;
        }
    });
}

// The first index at or after `from` of `unit`, or StringView::npos.
inline std::size_t FindUnit(StringView text, std::size_t from, char16_t unit) {
    return FindAnyUnit(text, from, std::array<char16_t, 1>{unit});
}

// The first index at or after `from` where `first` is followed by `second`,
// or StringView::npos.
inline std::size_t FindUnitPair(StringView text, std::size_t from, char16_t first,
                                char16_t second) {
    if (text.size() <= kSearchBlock) {
        for (std::size_t i = from; i + 1 < text.size(); ++i) {
            if (text[i] == first && text[i + 1] == second) return i;
        }
        return StringView::npos;
    }
    return FindBlockwise<1>(text, from, [first, second](const char16_t* at, SearchMasks& masks) {
        std::array<char16_t, kSearchBlock> block;
        std::array<char16_t, kSearchBlock> next;
        std::memcpy(block.data(), at, sizeof block);
        std::memcpy(next.data(), at + 1, sizeof next);
        for (std::size_t k = 0; k < kSearchBlock; ++k) {
            masks[k] =
                static_cast<std::uint16_t>(UnitMask(block[k], first) & UnitMask(next[k], second));
        }
    });
}

// The first index at or after `from` where `what` starts, or StringView::npos.
// A text of two units or more is looked for by its first two.
inline std::size_t FindText(StringView text, std::size_t from, StringView what) {
    if (what.size() < 2) {
        if (what.empty()) return from <= text.size() ? from : StringView::npos;
        return FindUnit(text, from, what[0]);
    }
    for (std::size_t i = from; (i = FindUnitPair(text, i, what[0], what[1])) != StringView::npos;
         ++i) {
        if (text.substr(i).starts_with(what)) return i;
    }
    return StringView::npos;
}

}  // namespace nimbrel
