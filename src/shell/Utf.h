// Conversions between the program's UTF-16 text and 8-bit text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel {

// Strict UTF-8 to UTF-16 (used at the command line tool's edge). Returns
// false on invalid UTF-8 (overlong forms, surrogates, code points above
// U+10FFFF, truncated sequences) and sets `errorOffset` to the byte offset of
// the first bad sequence; `out` is then unspecified. With `crLfBreaks`
// every LF that does not follow a CR is written as CR LF (the line breaks of
// a window's text), in the same pass.
bool Utf8ToUtf16(std::string_view in, String& out, std::size_t& errorOffset,
                 bool crLfBreaks = false);

// Strict UTF-8 to UTF-16 of one piece of a longer text, appended to `out`
// as it stands (no line break conversion). Decodes the longest start of `in`
// that does not end inside a sequence and returns its length: the caller
// keeps the rest (at most three bytes) in front of the next piece, and with
// `last` set the whole piece is decoded. On invalid UTF-8 returns
// std::string_view::npos and sets `errorOffset` to the offset of the bad
// sequence within `in`; `out` then holds the text before it.
std::size_t AppendUtf8PieceAsUtf16(std::string_view in, bool last, String& out,
                                   std::size_t& errorOffset);

// UTF-16 to UTF-8; an unpaired surrogate is written as U+FFFD.
std::string Utf16ToUtf8(StringView in);
// The same, appended to `out` (without reserving: the caller reserves once).
void AppendUtf16AsUtf8(std::string& out, StringView in);

// The encoders' fast path: copies the leading blocks of 16 units of `in`
// that are all ASCII (and, with `stopAtCr`, hold no CR) to `out` as bytes
// and returns the units copied, a multiple of 16.
std::size_t NarrowAsciiBlocks(const char16_t* in, std::size_t size, char* out, bool stopAtCr);

// The 8-bit reading of the command line tool (and of a simulated desktop
// whose code page is UTF-8): UTF-8 where the bytes are valid UTF-8, and every
// byte of an invalid sequence taken as the code point of the same value
// (Latin-1), so nothing is ever lost and byte 0x81 gives U+0081 as it does
// under Windows-1252. The tray program reads its 8-bit files with the
// thread's ANSI code page instead, through the platform seam
// (SystemServices::MultiByteToWideChar), which is no guess.
String AnsiToUtf16(std::string_view in);

// How a reader of an 8-bit data file (lang.ini, signatures.ini,
// emoticons.ini) turns a piece of its bytes into UTF-16: AnsiToUtf16, or the
// platform's code page. Called once per value or line.
using AnsiDecoder = std::function<String(std::string_view)>;
// Off Windows the result is UTF-8, with '?' for an unpaired surrogate (the
// Windows conversion's default character), so AnsiToUtf16(Utf16ToAnsi(s))
// gives back every text without unpaired surrogates. Text that came in through
// the Latin-1 fallback goes out as UTF-8, not as the original bytes.
std::string Utf16ToAnsi(StringView in);

}  // namespace nimbrel
