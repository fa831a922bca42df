// The language file lang.ini: every text a user reads in Nimbrel's windows,
// looked up by key.
//
// The file is read once, whole, into one byte buffer; every lookup is a
// search in memory. Its format, as the lookups read it:
//
//   #Wrap at column\r\n          <- a key line: "#" and the key; the rest of
//   Wrap at column\r\n              the line is ignored
//   #First Time\r\n
//   Welcome to Nimbrel ...\r\n   <- a block value: every line up to the next
//   ... more lines ...\r\n          "#" byte
//   #End\r\n                     <- a closing key line behind the last block
//
// - Bytes are in the user's 8-bit code page, converted by the decoder the
//   object was made with: the program's is the thread's ANSI code page.
// - The text ends at the first zero byte; bytes behind it are never found.
// - A key is found at the first place where its bytes occur, anywhere in the
//   text (case-sensitive, not tied to a line start, not tied to the end of a
//   line): "#Hide" is found inside "#Hide tray icon" if that line comes first,
//   so where one key begins another, the shorter key's entry must come first.
// - The value starts behind the first LF at or after the found key.
// - A single-line value (and each list item) ends at its CR; one LF directly
//   behind the CR belongs to the same line end. A bare LF does not end a
//   single-line value.
// - A block value ends at the next "#" byte; a "#" inside a single-line value
//   is part of it.
// - There is no escape syntax: "\n" in a value stays a backslash and an "n".
//
// Results for a damaged or truncated file (no lookup ever reads past the text):
// - no file: every lookup reports "not found";
// - a key with no LF behind it (the key line is the file's last line and has
//   no line end): not found, whatever the lookup;
// - a single-line value with no CR behind it: not found;
// - a list whose key was found: found, with the items up to the last line
//   that has a CR (possibly none);
// - a block value with no "#" behind it: found, running to the end of the
//   text (so a forgotten closing key line loses nothing);
// - an empty key: never found.
//
// Used only on the user-interface thread.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shell/LanguageTexts.h"
#include "shell/Text.h"
#include "shell/Utf.h"

namespace nimbrel {

class CLangFile : public LanguageTexts {
  public:
    // Reads the whole file `path` in binary mode; its values are converted
    // with `decode`. A file that cannot be opened or read gives an object
    // without a buffer (every lookup fails); no message is shown. The program
    // passes "lang.ini", so the file is looked for in the current directory.
    CLangFile(const std::filesystem::path& path, AnsiDecoder decode);

    // An object over `bytes`, as if they were the file's content.
    static CLangFile FromBytes(std::string_view bytes, AnsiDecoder decode = AnsiToUtf16);

    ~CLangFile() override;
    CLangFile(CLangFile&&) = default;
    CLangFile& operator=(CLangFile&&) = default;

    // Whether the file was read (an empty file still has a buffer).
    bool HasBuffer() const { return hasBuffer; }

    // Single-line value of `key`. When found, `out` receives the value (with
    // `trim`, without white space at both ends: TAB, LF, VT, FF, CR, space and
    // the Unicode space characters U+0085, U+00A0, U+1680, U+2000-U+200A,
    // U+2028, U+2029, U+202F, U+205F, U+3000) and the result points into the
    // buffer behind the value's line end. Returns nullptr when not found, and
    // then `out` is unchanged.
    const char* GetLine(std::string_view key, String& out, bool trim) override;

    // Block value of `key`: the text from the value's start up to the next "#"
    // byte, with every CR and LF at its end removed (inner line breaks,
    // leading text and trailing spaces stay). Returns whether the key was
    // found; `out` is unchanged when not.
    bool GetBlock(std::string_view key, String& out) override;

    // `GetBlock` into the object's work string. Returns the work string when
    // found, nullptr when not. It stays valid until the next `GetText` call
    // or the object's destruction.
    const String* GetText(std::string_view key) override;

    // List value of `key`: appends one item per line, from the value's first
    // line, each the line's text up to its CR, untrimmed (an empty line is an
    // empty item). Stops before the first line that begins with the key's
    // first character, or where no further CR follows. Returns whether the key
    // was found; a found key with no items still counts as found.
    bool GetList(std::string_view key, std::vector<String>& out) override;

    // TranslateControl and TranslateTitle come from LanguageTexts.

  private:
    CLangFile() = default;

    // Offset of the value of `key` in `buffer`, or npos.
    std::size_t FindValue(std::string_view key) const;
    // Reads the single-line value at `pos`. Returns the offset behind its line
    // end, or npos when no CR follows.
    std::size_t ReadLine(std::size_t pos, String& out, bool trim) const;
    std::string_view Text() const { return std::string_view(buffer).substr(0, textLength); }

    bool hasBuffer = false;
    AnsiDecoder decode = AnsiToUtf16;
    std::string buffer;          // the file's bytes
    std::size_t textLength = 0;  // up to the first zero byte
    String work;                 // the result of the last GetText
};

}  // namespace nimbrel
