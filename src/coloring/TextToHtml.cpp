#include "coloring/TextToHtml.h"

#include <algorithm>

#include "coloring/HtmlEscape.h"
#include "reformat/QuoteFormatter.h"

// The link passes read the escaped text and write a new one as they go
// (copying the unchanged stretches), so each pass is linear in the text.
// Where a candidate address is refused, the next search starts one character
// further on, as if the text had been searched again from there; the few
// places that would then scan the same long word over and over instead reuse
// what the first scan found (see each pass).

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;
constexpr std::size_t kWrapJoinLength = 65;  // a piece this long that ends a line may go on

bool IsWordChar(char16_t c) {
    return QuoteFormatter::IsWordChar(c);
}

bool Contains(StringView text, StringView what) {
    return text.find(what) != kNone;
}

// True when text[from..] holds a word character: an address must name
// something after its scheme or "www.".
bool NamesSomething(StringView text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (IsWordChar(text[i])) return true;
    }
    return false;
}

bool IsLinkScheme(StringView run) {
    return run == u"http" || run == u"https" || run == u"ftp" || run == u"news";
}

// The character that the escaped text holds at `i`, and how many code units
// it takes there ("&lt;", "&gt;" and "&amp;" count as one character).
char16_t DecodeAt(StringView text, std::size_t i, std::size_t& length) {
    if (text[i] == u'&') {
        const StringView rest = text.substr(i);
        if (rest.starts_with(u"&lt;")) {
            length = 4;
            return u'<';
        }
        if (rest.starts_with(u"&gt;")) {
            length = 4;
            return u'>';
        }
        if (rest.starts_with(u"&amp;")) {
            length = 5;
            return u'&';
        }
    }
    length = 1;
    return text[i];
}

// Index in `text` (escaped, from its start) of the decoded character `index`.
std::size_t EncodedIndex(StringView text, std::size_t index) {
    std::size_t i = 0;
    for (std::size_t d = 0; d < index && i < text.size(); ++d) {
        std::size_t length = 0;
        DecodeAt(text, i, length);
        i += length;
    }
    return i;
}

// Whether a position of the text lies inside an anchor that an earlier pass
// wrote (its tag or its shown text). In escaped text every raw '<' starts
// "<A " or "</A>". Positions must be asked in increasing order.
class AnchorTracker {
  public:
    explicit AnchorTracker(StringView text) : text_(text) {}
    bool Inside(std::size_t target) {
        for (; scanned_ < target && scanned_ < text_.size(); ++scanned_) {
            if (text_[scanned_] == u'<') inside_ = text_.substr(scanned_).starts_with(u"<A ");
        }
        return inside_;
    }

  private:
    StringView text_;
    std::size_t scanned_ = 0;
    bool inside_ = false;
};

// Empties `out` and makes room for the output of a pass over `inSize` code
// units. The room is generous, so that the two buffers the passes hand back
// and forth are allocated once: room that is never written costs no memory.
void ReserveOutput(String& out, std::size_t inSize) {
    out.clear();
    out.reserve(inSize + inSize / 2);
}

// ConvertLineBreaksAndSpaces from `in` into `out`.
void ConvertLineBreaksAndSpacesInto(StringView in, String& out) {
    // One pass giving what the three replacements give one after the other:
    // a space after a line feed becomes "&nbsp;" first, so it starts no pair;
    // every other run of spaces is paired from its start.
    std::size_t lineFeeds = 0;
    std::size_t spaces = 0;
    for (const char16_t c : in) {
        lineFeeds += c == u'\n';
        spaces += c == u' ';
    }
    // A line feed grows by 3 ("<BR>") and a space by at most 5 ("&nbsp;").
    out.clear();
    out.reserve(in.size() + 3 * lineFeeds + 5 * spaces);
    for (std::size_t i = 0; i < in.size();) {
        const char16_t c = in[i];
        if (c == u'\n') {
            out += u"<BR>";
            ++i;
            if (i < in.size() && in[i] == u' ') {
                out += u"&nbsp;";
                ++i;
            }
        } else if (c == u' ') {
            std::size_t run = 0;
            while (i < in.size() && in[i] == u' ') {
                ++run;
                ++i;
            }
            for (; run >= 2; run -= 2)
                out += u" &nbsp;";
            if (run == 1) out += u' ';
        } else {
            const std::size_t next = in.find_first_of(u" \n", i);
            const std::size_t stop = next == kNone ? in.size() : next;
            out.append(in, i, stop - i);
            i = stop;
        }
    }
}

void AppendAnchor(String& out, StringView targetPrefix, StringView target, StringView shown) {
    out += u"<A HREF=\"";
    out += targetPrefix;
    AppendEscapedAttribute(out, target);
    out += u"\">";
    AppendEscapedAttribute(out, shown);
    out += u"</A>";
}

// Pass 1: "scheme://..." for the four schemes, and "news:...".
void LinkSchemeAddresses(StringView in, String& out) {
    ReserveOutput(out, in.size());
    std::size_t copied = 0;
    std::size_t p = 0;
    String word;
    String leading;
    String trailing;
    for (std::size_t c; (c = in.find(u':', p)) != kNone;) {
        p = c + 1;  // where to go on when the candidate is refused
        std::size_t start = c;
        std::size_t end = 0;
        if (in.substr(c + 1, 2) == u"//") {
            if (c == 0) continue;
            // The scheme is the run of word characters before the colon; only
            // runs of at most five can be one, so look no further back.
            while (start > 0 && c - start < 6 && IsWordChar(in[start - 1]))
                --start;
            const StringView scheme = in.substr(start, c - start);
            if (!IsLinkScheme(scheme)) continue;

            std::size_t pos = c;
            bool endedByLineFeed = false;
            word.assign(scheme);
            word += GetWord(in, pos, end, false, &endedByLineFeed);
            // A long address that a mail client wrapped goes on with the first
            // word of the next line when that looks like part of an address.
            if (word.size() >= kWrapJoinLength && endedByLineFeed) {
                for (;;) {
                    std::size_t nextPos = end + 1;
                    std::size_t nextEnd = 0;
                    bool nextEndedByLineFeed = false;
                    const String next = GetWord(in, nextPos, nextEnd, false, &nextEndedByLineFeed);
                    StringView probe = next;
                    while (!probe.empty() && StringView(u"%?.=").find(probe.back()) != kNone)
                        probe.remove_suffix(1);
                    if (probe.empty() || Contains(probe, u"://") ||
                        probe.find_first_of(u"/&.?%=") == kNone) {
                        break;
                    }
                    word += next;
                    end = nextEnd;
                    if (next.size() < kWrapJoinLength || !nextEndedByLineFeed) break;
                }
            }
            SplitDelimiters(word, leading, trailing, true);
            // A scheme alone ("http://") names nothing.
            if (!NamesSomething(word, scheme.size() + 1)) continue;
        } else {
            if (c < 4 || in.substr(c - 4, 4) != u"news" || (c > 4 && IsWordChar(in[c - 5])))
                continue;
            start = c - 4;
            std::size_t pos = start;
            word = GetWord(in, pos, end, false);
            SplitDelimiters(word, leading, trailing, true);
            // "news:<id@host>" links to the identifier without its brackets.
            if (std::erase(word, u'<') > 0) std::erase(trailing, u'>');
            // "the news: it was" has no address at all.
            if (!word.starts_with(u"news:") || !NamesSomething(word, 5)) continue;
        }
        out.append(in.substr(copied, start - copied));
        AppendAnchor(out, u"", word, word);
        AppendEscapedText(out, trailing);
        copied = p = end;
    }
    out.append(in.substr(copied));
}

// Pass 2: "www." addresses.
void LinkWwwAddresses(StringView in, String& out) {
    ReserveOutput(out, in.size());
    std::size_t copied = 0;
    std::size_t p = 0;
    String word;
    String leading;
    String trailing;
    // A candidate whose word runs into an anchor is refused; so is every later
    // "www." of the same word that still lies before the last such spot,
    // since its word is a tail of the first one. Remembering that spot keeps
    // a long word with many "www." from being read again for each.
    std::size_t refusedWordEnd = 0;
    std::size_t refusedUpTo = 0;
    AnchorTracker anchors(in);
    for (std::size_t w; (w = in.find(u"www.", p)) != kNone;) {
        p = w + 1;
        if (w > 0) {
            const char16_t before = in[w - 1];
            if (before == u'/' || before == u'.' || before == u'-' || IsWordChar(before)) continue;
        }
        if (anchors.Inside(w) || (w < refusedWordEnd && w <= refusedUpTo)) continue;

        std::size_t pos = w;
        std::size_t end = 0;
        word = GetWord(in, pos, end, false, nullptr, true);
        SplitDelimiters(word, leading, trailing, true);
        const std::size_t quote = word.rfind(u"\">");
        const std::size_t close = word.rfind(u"</A");
        if (quote != kNone || close != kNone) {
            const std::size_t last = quote == kNone   ? close
                                     : close == kNone ? quote
                                                      : std::max(quote, close);
            refusedWordEnd = end;
            refusedUpTo = w + EncodedIndex(in.substr(w, end - w), last);
            continue;
        }
        if (!NamesSomething(word, 4)) continue;  // "www." alone
        out.append(in.substr(copied, w - copied));
        AppendAnchor(out, u"http://", word, word);
        AppendEscapedText(out, trailing);
        copied = p = end;
    }
    out.append(in.substr(copied));
}

// Pass 3: e-mail addresses.
void LinkMailAddresses(StringView in, String& out) {
    ReserveOutput(out, in.size());
    std::size_t copied = 0;
    std::size_t p = 0;
    String word;
    String leading;
    String trailing;
    AnchorTracker anchors(in);
    for (std::size_t a; (a = in.find(u'@', p)) != kNone;) {
        if (anchors.Inside(a)) {
            p = a + 1;
            continue;
        }
        std::size_t start = a;
        std::size_t end = 0;
        word = GetWord(in, start, end, true, nullptr, true);
        // Every '@' of this word gives the same word and the same answer.
        p = end;
        if (Contains(word, u"news:")) continue;
        SplitDelimiters(word, leading, trailing, false);
        if (word.empty()) continue;
        const std::size_t gt = word.find(u'>');
        if (gt != kNone) {
            trailing.insert(0, word, gt);
            word.resize(gt);
        }
        if (word.empty() || word.find(u'.') == kNone || word[0] == u'@' || Contains(word, u"/"))
            continue;
        const std::size_t lt = word.rfind(u'<');
        if (lt != kNone) {
            leading.append(word, 0, lt + 1);
            word.erase(0, lt + 1);
            // What is left after "Name<" must still be an address.
            if (word.empty() || word[0] == u'@' || word.find(u'@') == kNone ||
                word.find(u'.') == kNone) {
                continue;
            }
        }
        out.append(in.substr(copied, start - copied));
        AppendEscapedText(out, leading);
        AppendAnchor(out, word.starts_with(u"mailto:") ? u"" : u"mailto:", word, word);
        AppendEscapedText(out, trailing);
        copied = end;
    }
    out.append(in.substr(copied));
}

}  // namespace

bool IsLinkDelimiter(char16_t c) {
    return StringView(u" ()[]<>.!?,&=+*-#'\"|:;{}").find(c) != kNone;
}

String GetWord(StringView text, std::size_t& pos, std::size_t& end, bool backToWordStart,
               bool* endedByLineFeed, bool stopAtTags) {
    const StringView endChars = stopAtTags ? StringView(u" \n<") : StringView(u" \n");
    const StringView startChars = stopAtTags ? StringView(u" \n>") : StringView(u" \n");
    if (endedByLineFeed != nullptr) *endedByLineFeed = false;
    if (pos >= text.size()) {
        end = text.size();
    } else {
        end = text.find_first_of(endChars, pos);
        if (end == kNone) {
            end = text.size();
        } else if (text[end] == u'\n' && endedByLineFeed != nullptr) {
            *endedByLineFeed = true;
        }
    }
    if (backToWordStart) {
        std::size_t start = std::min(pos, text.size());
        while (start > 0 && startChars.find(text[start - 1]) == kNone)
            --start;
        pos = std::min(pos, start);
    }
    String word;
    for (std::size_t i = std::min(pos, end); i < end;) {
        std::size_t length = 0;
        word += DecodeAt(text, i, length);
        i += length;
    }
    return word;
}

void SplitDelimiters(String& word, String& leading, String& trailing, bool trailingOnly) {
    leading.clear();
    trailing.clear();
    std::size_t last = word.size();  // one past the last character kept
    while (last > 0 && IsLinkDelimiter(word[last - 1]))
        --last;
    std::size_t first = 0;
    if (!trailingOnly) {
        while (first < last && IsLinkDelimiter(word[first]))
            ++first;
    }
    trailing.assign(word, last);
    leading.assign(word, 0, first);
    word.resize(last);
    word.erase(0, first);
}

void InsertLinks(String& text) {
    String other;
    LinkSchemeAddresses(text, other);
    LinkWwwAddresses(other, text);
    LinkMailAddresses(text, other);
    text.swap(other);
}

void ConvertLineBreaksAndSpaces(String& text) {
    String out;
    ConvertLineBreaksAndSpacesInto(text, out);
    text.swap(out);
}

String TextToHtml(StringView text) {
    // Two buffers, each pass reading one and writing the other.
    String html;
    ReserveOutput(html, text.size());
    AppendEscapedText(html, text);
    String other;
    LinkSchemeAddresses(html, other);
    LinkWwwAddresses(other, html);
    LinkMailAddresses(html, other);
    ConvertLineBreaksAndSpacesInto(other, html);
    return html;
}

}  // namespace nimbrel
