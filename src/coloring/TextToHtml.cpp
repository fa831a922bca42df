#include "coloring/TextToHtml.h"

#include <algorithm>
#include <utility>

#include "coloring/HtmlEscape.h"
#include "reformat/QuoteFormatter.h"
#include "shell/TextSearch.h"

// The link passes read the text and write a new one as they go (copying the
// unchanged stretches), so each pass is linear in the text. The first pass
// reads the message itself and escapes it as it copies; the other passes and
// the line breaks work on one line at a time (their words never reach past a
// line feed, and the anchors of the first pass hold none), so that the text
// is written out whole only twice.
// Where a candidate address is refused, the next search starts one character
// further on, as if the text had been searched again from there; the few
// places that would then scan the same long word over and over instead reuse
// what the first scan found (see each pass).

namespace nimbrel {

namespace {

constexpr std::size_t kNone = StringView::npos;
constexpr std::size_t kWrapJoinLength = 65;  // a piece this long that ends a line may go on
// HtmlLineStream converts whole lines a stretch of at least this many units
// at a time (and the rest at the end): the lines' conversion then costs
// little more than that of the whole text, while the working texts stay
// small whatever the text and its pieces.
constexpr std::size_t kStretchLength = std::size_t{1} << 16;

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
        const std::size_t end = std::min(target, text_.size());
        while (scanned_ < end) {
            const std::size_t lt = FindUnit(text_.substr(0, end), scanned_, u'<');
            if (lt == kNone) {
                scanned_ = end;
                break;
            }
            inside_ = text_.substr(lt).starts_with(u"<A ");
            scanned_ = lt + 1;
        }
        return inside_;
    }

  private:
    StringView text_;
    std::size_t scanned_ = 0;
    bool inside_ = false;
};

// Empties `out` and makes room for the output of a pass over `inSize` code
// units. The room is generous, so that the text is not moved as it grows:
// room that is never written costs no memory.
void ReserveOutput(String& out, std::size_t inSize) {
    out.clear();
    out.reserve(inSize + inSize / 2);
}

// Calls `f(line, first, last)` for each line of `text` (split at line feeds;
// a text ending in one has an empty last line).
template <class F>
void ForEachLine(StringView text, F&& f) {
    for (std::size_t ls = 0;;) {
        const std::size_t lf = FindUnit(text, ls, u'\n');
        const std::size_t le = lf == kNone ? text.size() : lf;
        f(text.substr(ls, le - ls), ls == 0, lf == kNone);
        if (lf == kNone) return;
        ls = lf + 1;
    }
}

// One line of ConvertLineBreaksAndSpaces (`line` holds no line feed),
// appended to `out`; `followsLineFeed` for every line but the first.
void AppendConvertedLine(String& out, StringView line, bool followsLineFeed) {
    // What the three replacements give one after the other: a space after a
    // line feed becomes "&nbsp;" first, so it starts no pair; every other run
    // of spaces is paired from its start.
    std::size_t i = 0;
    if (followsLineFeed && !line.empty() && line[0] == u' ') {
        out += u"&nbsp;";
        i = 1;
    }
    // A single space goes over with the text around it; only a run of two
    // or more ends the stretch copied as it is.
    std::size_t copied = i;
    const std::size_t n = line.size();
    while ((i = FindUnitPair(line, i, u' ', u' ')) != kNone) {
        out.append(line, copied, i - copied);
        while (i + 1 < n && line[i] == u' ' && line[i + 1] == u' ') {
            out += u" &nbsp;";
            i += 2;
        }
        copied = i;
    }
    out.append(line, copied);
}

// AppendConvertedLine into `out` (replacing it); `line` itself when there
// is nothing to convert, which is the usual case.
StringView ConvertedLine(StringView line, bool followsLineFeed, String& out) {
    const bool leadingSpace = followsLineFeed && !line.empty() && line[0] == u' ';
    if (!leadingSpace && FindUnitPair(line, 0, u' ', u' ') == kNone) return line;
    out.clear();
    // Room for the line and some pairs of spaces, so that a long line is not
    // moved as it grows.
    out.reserve(line.size() + line.size() / 4);
    AppendConvertedLine(out, line, followsLineFeed);
    return out;
}

void AppendAnchor(String& out, StringView targetPrefix, StringView target, StringView shown) {
    out += u"<A HREF=\"";
    out += targetPrefix;
    AppendEscapedAttribute(out, target);
    out += u"\">";
    AppendEscapedAttribute(out, shown);
    out += u"</A>";
}

// The word from `pos` up to the next space or line feed, appended to `word`:
// GetWord on escaped text, or the characters themselves on the message
// (`kRaw`), which has no entities to decode.
template <bool kRaw>
void AppendWord(StringView in, std::size_t pos, std::size_t& end, bool* endedByLineFeed,
                String& word) {
    if constexpr (kRaw) {
        if (endedByLineFeed != nullptr) *endedByLineFeed = false;
        end = pos >= in.size() ? in.size() : in.find_first_of(u" \n", pos);
        if (end == kNone) {
            end = in.size();
        } else if (end < in.size() && in[end] == u'\n' && endedByLineFeed != nullptr) {
            *endedByLineFeed = true;
        }
        if (pos < end) word.append(in, pos, end - pos);
    } else {
        word += GetWord(in, pos, end, false, endedByLineFeed);
    }
}

// Appends in[from, to) to `out`, escaped when it is the message (`kRaw`).
template <bool kRaw>
void AppendStretch(String& out, StringView in, std::size_t from, std::size_t to) {
    if constexpr (kRaw) {
        AppendEscapedText(out, in.substr(from, to - from));
    } else {
        out.append(in, from, to - from);
    }
}

// Pass 1: "scheme://..." for the four schemes, and "news:...", appended to
// `out`. `in` is escaped text, or with `kRaw` the message itself, which then
// comes out escaped: escaping changes only '&', '<' and '>', which are no
// word characters, no spaces and no part of a scheme, and an entity ends in
// ';', which is none either, so both give the same anchors in the same places.
template <bool kRaw>
void LinkSchemeAddresses(StringView in, String& out) {
    std::size_t copied = 0;
    std::size_t p = 0;
    String word;
    String leading;
    String trailing;
    for (std::size_t c; (c = FindUnit(in, p, u':')) != kNone;) {
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

            bool endedByLineFeed = false;
            word.assign(scheme);
            AppendWord<kRaw>(in, c, end, &endedByLineFeed, word);
            // A long address that a mail client wrapped goes on with the first
            // word of the next line when that looks like part of an address.
            if (word.size() >= kWrapJoinLength && endedByLineFeed) {
                String next;
                for (;;) {
                    std::size_t nextEnd = 0;
                    bool nextEndedByLineFeed = false;
                    next.clear();
                    AppendWord<kRaw>(in, end + 1, nextEnd, &nextEndedByLineFeed, next);
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
            word.clear();
            AppendWord<kRaw>(in, start, end, nullptr, word);
            SplitDelimiters(word, leading, trailing, true);
            // "news:<id@host>" links to the identifier without its brackets.
            if (std::erase(word, u'<') > 0) std::erase(trailing, u'>');
            // "the news: it was" has no address at all.
            if (!word.starts_with(u"news:") || !NamesSomething(word, 5)) continue;
        }
        AppendStretch<kRaw>(out, in, copied, start);
        AppendAnchor(out, u"", word, word);
        AppendEscapedText(out, trailing);
        copied = p = end;
    }
    AppendStretch<kRaw>(out, in, copied, in.size());
}

// Pass 2: "www." addresses of `in` (a line or a whole text). The result is
// `in` itself when nothing changed, else `out`.
StringView LinkWwwAddresses(StringView in, String& out, HtmlLineBuffers& buffers) {
    std::size_t copied = 0;
    std::size_t p = 0;
    String& word = buffers.word;
    // A candidate whose word runs into an anchor is refused; so is every later
    // "www." of the same word that still lies before the last such spot,
    // since its word is a tail of the first one. Remembering that spot keeps
    // a long word with many "www." from being read again for each.
    std::size_t refusedWordEnd = 0;
    std::size_t refusedUpTo = 0;
    AnchorTracker anchors(in);
    for (std::size_t w; (w = FindText(in, p, u"www.")) != kNone;) {
        p = w + 1;
        if (w > 0) {
            const char16_t before = in[w - 1];
            if (before == u'/' || before == u'.' || before == u'-' || IsWordChar(before)) continue;
        }
        if (anchors.Inside(w) || (w < refusedWordEnd && w <= refusedUpTo)) continue;

        std::size_t pos = w;
        std::size_t end = 0;
        word = GetWord(in, pos, end, false, nullptr, true);
        SplitDelimiters(word, buffers.leading, buffers.trailing, true);
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
        if (copied == 0) out.clear();
        out.append(in.substr(copied, w - copied));
        AppendAnchor(out, u"http://", word, word);
        AppendEscapedText(out, buffers.trailing);
        copied = p = end;
    }
    if (copied == 0) return in;
    out.append(in.substr(copied));
    return out;
}

// Pass 3: e-mail addresses of `in` (a line or a whole text). The result is
// `in` itself when nothing changed, else `out`.
StringView LinkMailAddresses(StringView in, String& out, HtmlLineBuffers& buffers) {
    std::size_t copied = 0;
    bool written = false;
    std::size_t p = 0;
    String& word = buffers.word;
    String& leading = buffers.leading;
    String& trailing = buffers.trailing;
    AnchorTracker anchors(in);
    for (std::size_t a; (a = FindUnit(in, p, u'@')) != kNone;) {
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
        if (!written) out.clear();
        written = true;
        out.append(in.substr(copied, start - copied));
        AppendEscapedText(out, leading);
        AppendAnchor(out, word.starts_with(u"mailto:") ? u"" : u"mailto:", word, word);
        AppendEscapedText(out, trailing);
        copied = end;
    }
    if (!written) return in;
    out.append(in.substr(copied));
    return out;
}

// The lines of `linked` (escaped text with scheme anchors) through the rest
// of the conversion, to `line`. `first`: the first line of the text is still
// to come (cleared once it has gone). Unless `ends`, more text follows and
// `linked` ends in a line feed, after which there is no line yet.
void ConvertLinkedLines(StringView linked, bool& first, bool ends, HtmlLineBuffers& buffers,
                        const HtmlLineFunction& line) {
    ForEachLine(linked, [&](StringView text, bool, bool last) {
        if (last && !ends) return;
        const StringView www = LinkWwwAddresses(text, buffers.www, buffers);
        const StringView mail = LinkMailAddresses(www, buffers.mail, buffers);
        const StringView converted = ConvertedLine(mail, !first, buffers.converted);
        first = false;
        line(converted, last);
    });
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
    String linked;
    ReserveOutput(linked, text.size());
    LinkSchemeAddresses<false>(text, linked);
    HtmlLineBuffers buffers;
    const StringView www = LinkWwwAddresses(linked, buffers.www, buffers);
    const StringView mail = LinkMailAddresses(www, buffers.mail, buffers);
    if (mail.data() == buffers.mail.data()) {
        text.swap(buffers.mail);
    } else if (mail.data() == buffers.www.data()) {
        text.swap(buffers.www);
    } else {
        text.swap(linked);
    }
}

void ConvertLineBreaksAndSpaces(String& text) {
    String out;
    out.reserve(text.size() + text.size() / 2);
    ForEachLine(text, [&out](StringView line, bool first, bool last) {
        AppendConvertedLine(out, line, !first);
        if (!last) out += u"<BR>";
    });
    text.swap(out);
}

String EscapeAndLinkSchemes(StringView text) {
    // Room for every entity and some anchors; room that is never written
    // costs no memory.
    std::size_t entities = 0;
    for (const char16_t c : text)
        entities += static_cast<std::size_t>(c == u'&') * 4 +
                    static_cast<std::size_t>(c == u'<' || c == u'>') * 3;
    String linked;
    linked.reserve(text.size() + entities + text.size() / 2);
    LinkSchemeAddresses<true>(text, linked);
    return linked;
}

void ForEachHtmlLine(StringView linked, const HtmlLineFunction& line) {
    HtmlLineBuffers buffers;
    bool first = true;
    ConvertLinkedLines(linked, first, true, buffers, line);
}

HtmlLineStream::HtmlLineStream(HtmlLineFunction line) : line_(std::move(line)) {}

void HtmlLineStream::Append(StringView text) {
    std::size_t taken = 0;  // text[0, taken) is converted or held
    std::size_t whole = 0;  // with nothing held, text[taken, whole) is lines to convert
    for (std::size_t pos = 0;;) {
        const std::size_t lf = FindUnit(text, pos, u'\n');
        if (lf == kNone) break;
        const bool joinable = EndsInLongWord(text, lf);
        pos = lf + 1;
        if (joinable) continue;
        if (!held_.empty()) {
            held_.append(text, taken, pos - taken);
            taken = whole = pos;
            heldLines_ = held_.size();
            if (heldLines_ >= kStretchLength) ConvertHeldLines();
        } else {
            whole = pos;
            if (whole - taken >= kStretchLength) {
                Convert(text.substr(taken, whole - taken), false);
                taken = whole;
            }
        }
    }
    // Whole lines are held until they make a stretch, with the start of the
    // next line.
    if (whole > taken) heldLines_ = whole - taken;
    held_.append(text, taken);
}

void HtmlLineStream::Finish() {
    Convert(held_, true);
    held_.clear();
    heldLines_ = 0;
}

void HtmlLineStream::ConvertHeldLines() {
    Convert(StringView(held_).substr(0, heldLines_), false);
    held_.erase(0, heldLines_);
    heldLines_ = 0;
}

bool HtmlLineStream::EndsInLongWord(StringView text, std::size_t lf) const {
    // The word is that of the scheme pass: it ends at a space or a line feed.
    std::size_t length = 0;
    for (std::size_t i = lf; i > 0 && length < kWrapJoinLength; --i, ++length) {
        if (text[i - 1] == u' ' || text[i - 1] == u'\n') return false;
    }
    if (length < kWrapJoinLength) {
        // The start of the line is held.
        for (std::size_t i = held_.size(); i > 0 && length < kWrapJoinLength; --i, ++length) {
            if (held_[i - 1] == u' ' || held_[i - 1] == u'\n') return false;
        }
    }
    return length >= kWrapJoinLength;
}

void HtmlLineStream::Convert(StringView text, bool final) {
    buffers_.linked.clear();
    LinkSchemeAddresses<true>(text, buffers_.linked);
    ConvertLinkedLines(buffers_.linked, first_, final, buffers_, line_);
}

String TextToHtml(StringView text) {
    const String linked = EscapeAndLinkSchemes(text);
    String html;
    // A line break grows by 3 ("<BR>"), a pair of spaces by 5 (" &nbsp;").
    html.reserve(linked.size() + linked.size() / 2);
    ForEachHtmlLine(linked, [&html](StringView line, bool last) {
        html += line;
        if (!last) html += u"<BR>";
    });
    return html;
}

}  // namespace nimbrel
