#include "coloring/EmoticonReplacer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "coloring/HtmlEscape.h"
#include "reformat/QuoteFormatter.h"
#include "shell/TextSearch.h"

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;

// A code touching one of these is part of a word, a path or an address.
bool Blocks(char16_t c) {
    return QuoteFormatter::IsWordChar(c) || c == u'/' || c == u'.';
}

// One entry: `in` into `out` with every free occurrence of `code` replaced
// by `image`. `before` is the character before `in` (0 at the start of the
// text, which blocks nothing).
void ReplaceCode(StringView in, char16_t before, StringView code, StringView image, String& out) {
    out.clear();
    if (out.capacity() < in.size() + in.size() / 4) out.reserve(in.size() + in.size() / 2);
    // A '<' after the last '>' starts no tag.
    const std::size_t lastGt = in.rfind(u'>');
    bool inTag = false;
    std::size_t i = 0;  // in[..i) is in `out`
    // The next '<' (outside a tag) or '>' (inside one) at or after `i`, kept
    // between calls so that a long stretch without tags is searched once,
    // not once per occurrence of the code.
    std::size_t mark = 0;
    bool markKnown = false;
    const auto copyUpTo = [&](std::size_t to) {
        while (i < to) {
            if (!markKnown || mark < i) {
                mark = FindUnit(in, i, inTag ? u'>' : u'<');
                markKnown = true;
            }
            if (mark == kNone || mark >= to) {
                out.append(in, i, to - i);
                i = to;
                return;
            }
            out.append(in, i, mark + 1 - i);
            inTag = !inTag && lastGt != kNone && mark < lastGt;
            i = mark + 1;
            markKnown = false;
        }
    };
    for (std::size_t found; (found = FindText(in, i, code)) != kNone;) {
        copyUpTo(found);
        const std::size_t after = found + code.size();
        const char16_t previous = out.empty() ? before : out.back();
        if (!inTag && !Blocks(previous) && (after == in.size() || !Blocks(in[after]))) {
            out += image;
            i = after;
        } else {
            copyUpTo(found + 1);
        }
    }
    copyUpTo(in.size());
}

// The first index at or after `from` of one of `starts` that does not
// follow a letter (index 0 always counts), or kNone. A letter before a code
// blocks it (Blocks), as in the ';' that ends "&gt;"; the other blocking
// units are left to the caller.
std::size_t FindStartAfterNoLetter(StringView text, std::size_t from,
                                   const std::array<char16_t, 4>& starts) {
    const char16_t a = starts[0];
    const char16_t b = starts[1];
    const char16_t c = starts[2];
    const char16_t d = starts[3];
    if (from == 0 && !text.empty() &&
        (text[0] == a || text[0] == b || text[0] == c || text[0] == d)) {
        return 0;
    }
    // Looked for as a pair: a unit that is no letter, then a start.
    const std::size_t before = FindBlockwise<1>(
        text, from == 0 ? 0 : from - 1, [a, b, c, d](const char16_t* at, SearchMasks& masks) {
            std::array<char16_t, kSearchBlock> block;
            std::array<char16_t, kSearchBlock> next;
            std::memcpy(block.data(), at, sizeof block);
            std::memcpy(next.data(), at + 1, sizeof next);
            for (std::size_t k = 0; k < kSearchBlock; ++k) {
                // A letter ORed with 0x20 is a small one; compared as signed
                // 16-bit numbers, which vectorises.
                const auto small = static_cast<std::int16_t>(block[k] | 0x20);
                const int letter =
                    int{small >= std::int16_t{u'a'}} & int{small <= std::int16_t{u'z'}};
                const auto free = static_cast<std::uint16_t>(letter - 1);  // 0xFFFF or 0
                masks[k] = static_cast<std::uint16_t>(
                    free & (UnitMask(next[k], a) | UnitMask(next[k], b) | UnitMask(next[k], c) |
                            UnitMask(next[k], d)));
            }
        });
    return before == kNone ? kNone : before + 1;
}

}  // namespace

EmoticonReplacer::EmoticonReplacer(std::span<const EmoticonEntry> table, StringView imagePrefix) {
    for (const EmoticonEntry& entry : table) {
        const StringView code = entry.code;
        // Message text holds '<' and '>' only as "&lt;" and "&gt;"; a code
        // with a raw one could only match a tag.
        if (code.empty() || code.find_first_of(u"<>") != kNone) continue;
        String image(imagePrefix);
        AppendEscapedAttribute(image, entry.image);
        image += u"\">";
        codes_.push_back({code, std::move(image)});
        if (code[0] < asciiStart_.size()) {
            asciiStart_[code[0]] = true;
        } else {
            otherStart_ = true;
        }
        if (startCount_ <= starts_.size() &&
            std::find(starts_.begin(), starts_.begin() + startCount_, code[0]) ==
                starts_.begin() + startCount_) {
            if (startCount_ < starts_.size()) starts_[startCount_] = code[0];
            ++startCount_;
        }
    }
    // Unused places repeat the first start, so that the search may test all.
    for (std::size_t i = startCount_; i > 0 && i < starts_.size(); ++i)
        starts_[i] = starts_[0];
}

bool EmoticonReplacer::AnyCodeIn(StringView text) const {
    if (startCount_ == 0) return false;
    // A code is replaced only where the unit before it does not block it,
    // and the first code replaced in a text stood there before anything was
    // replaced: only such places need to be looked at.
    const bool fewStarts = startCount_ <= starts_.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (fewStarts) {
            i = FindStartAfterNoLetter(text, i, starts_);
            if (i == kNone) return false;
        }
        if (i > 0 && Blocks(text[i - 1])) continue;
        const char16_t c = text[i];
        if (c < asciiStart_.size() ? !asciiStart_[c] : !otherStart_) continue;
        const StringView rest = text.substr(i);
        for (const Code& code : codes_) {
            if (code.code[0] == c && rest.starts_with(code.code)) return true;
        }
    }
    return false;
}

void EmoticonReplacer::Replace(String& html) {
    for (const Code& code : codes_) {
        if (FindText(html, 0, code.code) == kNone) continue;
        // `out_` and `html` change places after each entry; both get room to
        // spare once, so that neither is moved again as the text grows.
        ReplaceCode(html, 0, code.code, code.image, out_);
        html.swap(out_);
    }
}

void EmoticonReplacer::ReplaceFrom(String& html, std::size_t from) {
    const StringView tail = StringView(html).substr(from);
    if (!AnyCodeIn(tail)) return;
    in_.assign(tail);
    html.resize(from);
    const char16_t before = from > 0 ? html[from - 1] : u'\0';
    for (const Code& code : codes_) {
        if (FindText(in_, 0, code.code) == kNone) continue;
        ReplaceCode(in_, before, code.code, code.image, out_);
        in_.swap(out_);
    }
    html += in_;
}

}  // namespace nimbrel
