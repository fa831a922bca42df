// Text-to-HTML conversion of a plain-text message: escaping, links, line
// breaks and runs of spaces.
//
// The text has single LF line breaks and no CR (as the view reformat returns
// it). Positions are indexes of UTF-16 code units. Every text gives a result;
// nothing here fails, and every step is linear in the length of the text.
#pragma once

#include <cstddef>
#include <functional>

#include "reformat/TextSink.h"
#include "shell/Text.h"

namespace nimbrel {

// The whole conversion: escape ('&', '>', '<'), InsertLinks, then
// ConvertLineBreaksAndSpaces. The same as EscapeAndLinkSchemes followed by
// ForEachHtmlLine, with the lines joined by "<BR>".
String TextToHtml(StringView text);

// The first part of TextToHtml: the text escaped, with the scheme addresses
// (the first pass of InsertLinks) made anchors. Its line feeds are those of
// the text, less the ones inside a wrapped address that was joined.
String EscapeAndLinkSchemes(StringView text);

// Receives one line of HTML (without "<BR>") and whether it is the last.
using HtmlLineFunction = std::function<void(StringView line, bool last)>;

// The rest of TextToHtml, one line at a time: for each line of `linked`
// (EscapeAndLinkSchemes's result, split at line feeds) the "www." and e-mail
// passes of InsertLinks and ConvertLineBreaksAndSpaces, handed to `line` in
// order. The lines joined by "<BR>" are TextToHtml's result: no word of those
// passes reaches past a line feed, and no anchor holds one.
void ForEachHtmlLine(StringView linked, const HtmlLineFunction& line);

// The working texts of the conversion, kept from one line to the next so
// that each gets its room once.
struct HtmlLineBuffers {
    String linked;
    String www;
    String mail;
    String word;
    String leading;
    String trailing;
    String converted;
};

// TextToHtml on a text that comes in pieces of any size (LF breaks): the
// lines of HTML go to `line` as ForEachHtmlLine hands them, a stretch of
// lines at a time. Held back are a stretch of whole lines, the piece of a
// line whose line feed has not come yet, and lines that end in a word long
// enough to be a wrapped address, which may be joined to the next line; so
// a text is never held whole, nor its HTML.
class HtmlLineStream final : public TextSink {
  public:
    explicit HtmlLineStream(HtmlLineFunction line);
    void Append(StringView text) override;
    // The end of the text: what is held, the last line with `last` set.
    void Finish();

  private:
    // Whether the line that ends at text[lf] (begun in held_ when text has
    // no line feed before lf) ends in a word that may go on on the next line.
    bool EndsInLongWord(StringView text, std::size_t lf) const;
    // Converts whole lines; with `final` the end of the text.
    void Convert(StringView text, bool final);
    void ConvertHeldLines();

    HtmlLineFunction line_;
    HtmlLineBuffers buffers_;
    String held_;
    std::size_t heldLines_ = 0;  // held_[0, heldLines_) is whole lines to convert
    bool first_ = true;
};

// True for the 24 characters that SplitDelimiters cuts off a word:
// space ( ) [ ] < > . ! ? , & = + * - # ' " | : ; { }
bool IsLinkDelimiter(char16_t c);

// The word at `pos` in escaped text: the characters from `pos` up to (not
// including) the next space or line feed, or the end of the text, with
// "&lt;", "&gt;" and "&amp;" decoded to '<', '>' and '&'.
// - `end` receives the index one past the word's last character, that is the
//   index of the space or line feed that ended it, or text.size().
// - With `backToWordStart`, `pos` is first moved back to the start of the
//   word (just after the previous space or line feed, or 0).
// - `endedByLineFeed`, when given, tells whether a line feed ended the word.
// - With `stopAtTags`, a raw '<' also ends the word and a raw '>' also
//   starts it: in escaped text these belong only to anchors that an earlier
//   link pass wrote, which a word must not run into.
// A `pos` at or past the end of the text gives an empty word, `end` =
// text.size() and `pos` unchanged (unless moved back).
String GetWord(StringView text, std::size_t& pos, std::size_t& end, bool backToWordStart,
               bool* endedByLineFeed = nullptr, bool stopAtTags = false);

// Cuts the run of delimiters (IsLinkDelimiter) off the end of `word` into
// `trailing` and, unless `trailingOnly`, the run at its start into `leading`.
// Both are emptied first. A word of delimiters only leaves an empty word (its
// characters go to `trailing`).
void SplitDelimiters(String& word, String& leading, String& trailing, bool trailingOnly);

// Turns the addresses of escaped text into anchors written exactly
// `<A HREF="target">shown</A>`, in three passes: scheme addresses (http://,
// https://, ftp://, news:// and news:), then "www." addresses (target
// "http://" + address), then e-mail addresses (target "mailto:" + address
// unless written with it). Everything taken from the message into an anchor
// or around it is escaped exactly once (HtmlEscape). An address that names
// nothing after its scheme or "www." is left as text. The later passes leave
// the anchors of the earlier ones whole: they look for no address inside one
// and end a word where one begins.
void InsertLinks(String& text);

// In this order, each replacing non-overlapping occurrences left to right:
// LF + space by LF + "&nbsp;", two spaces by " &nbsp;", LF by "<BR>".
void ConvertLineBreaksAndSpaces(String& text);

}  // namespace nimbrel
