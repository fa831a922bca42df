#include "coloring/HtmlEscape.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

// The entities, each padded to eight units so that one is copied in one go.
constexpr char16_t kEntities[4][8] = {u"&amp;", u"&lt;", u"&gt;", u"&quot;"};
constexpr std::size_t kEntityLengths[4] = {5, 4, 4, 6};

// The index in kEntities of `c`'s entity, or -1 when `c` is written as it is.
int EntityIndex(char16_t c, bool attribute) {
    switch (c) {
        case u'&':
            return 0;
        case u'<':
            return 1;
        case u'>':
            return 2;
        case u'"':
            return attribute ? 3 : -1;
        default:
            return -1;
    }
}

// The first index at or after `from` whose unit is not `unit`, or the end.
std::size_t EndOfRun(StringView text, std::size_t from, char16_t unit) {
    const std::size_t end =
        FindBlockwise<0>(text, from, [unit](const char16_t* at, SearchMasks& masks) {
            std::array<char16_t, kSearchBlock> block;
            std::memcpy(block.data(), at, sizeof block);
            for (std::size_t k = 0; k < kSearchBlock; ++k)
                masks[k] = static_cast<std::uint16_t>(~UnitMask(block[k], unit));
        });
    return end == StringView::npos ? text.size() : end;
}

// Appends `count` times entity `e`, a piece of them at a time.
void AppendRepeatedEntity(String& out, int e, std::size_t count) {
    constexpr std::size_t kPieceEntities = 256;
    const std::size_t length = kEntityLengths[e];
    std::array<char16_t, kPieceEntities * 6> piece;
    const std::size_t inPiece = std::min(count, kPieceEntities);
    for (std::size_t k = 0; k < inPiece; ++k)
        std::copy_n(kEntities[e], length, piece.begin() + k * length);
    out.reserve(out.size() + count * length);
    for (std::size_t left = count; left > 0;) {
        const std::size_t n = std::min(left, kPieceEntities);
        out.append(piece.data(), n * length);
        left -= n;
    }
}

void AppendEscaped(String& out, StringView text, bool attribute) {
    // A run of one character this long (a line of quote markers) is written
    // a piece at a time.
    constexpr std::size_t kLongRun = 32;
    std::size_t copied = 0;
    for (std::size_t i = 0;;) {
        i = attribute ? FindAnyUnit(text, i, std::array<char16_t, 4>{u'&', u'<', u'>', u'"'})
                      : FindAnyUnit(text, i, std::array<char16_t, 3>{u'&', u'<', u'>'});
        if (i == StringView::npos) break;
        out.append(text.substr(copied, i - copied));
        if (i + kLongRun <= text.size() && text[i + kLongRun - 1] == text[i]) {
            const std::size_t end = EndOfRun(text, i, text[i]);
            if (end - i >= kLongRun) {
                AppendRepeatedEntity(out, EntityIndex(text[i], attribute), end - i);
                copied = i = end;
                continue;
            }
        }
        // Other runs of characters to escape go through a small buffer,
        // not searched for and appended one by one.
        std::array<char16_t, 256> buffer;
        std::size_t n = 0;
        for (int e; i < text.size() && (e = EntityIndex(text[i], attribute)) >= 0; ++i) {
            if (n > buffer.size() - 8) {
                out.append(buffer.data(), n);
                n = 0;
            }
            std::memcpy(buffer.data() + n, kEntities[e], sizeof kEntities[e]);
            n += kEntityLengths[e];
        }
        out.append(buffer.data(), n);
        copied = i;
    }
    out.append(text.substr(copied));
}

}  // namespace

void AppendEscapedText(String& out, StringView text) {
    AppendEscaped(out, text, false);
}

void AppendEscapedAttribute(String& out, StringView text) {
    AppendEscaped(out, text, true);
}

String EscapeText(StringView text) {
    String out;
    out.reserve(text.size());
    AppendEscapedText(out, text);
    return out;
}

String EscapeAttribute(StringView text) {
    String out;
    out.reserve(text.size());
    AppendEscapedAttribute(out, text);
    return out;
}

}  // namespace nimbrel
