// The emoticon table: emoticons.ini read into code / image file name pairs.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "coloring/EmoticonEntry.h"
#include "platform/MessageBoxes.h"
#include "shell/Utf.h"

namespace nimbrel {

// Longest piece of a line of emoticons.ini that is read as one line; a longer
// physical line is read in several pieces, each taken as a line of its own.
constexpr std::size_t kEmoticonPieceBytes = 519;

// Appends the entries of emoticons.ini content (bytes in the ANSI code page):
// every piece (up to and including a line feed, at most 519 bytes) that holds
// a TAB gives the code (the bytes before the first TAB, nothing trimmed) and
// the image file name (the bytes after it without trailing CRs and LFs), each
// converted with `decode`. Pieces without a TAB are ignored. File order;
// duplicates stay.
void ParseEmoticonTable(std::string_view bytes, std::vector<EmoticonEntry>& table,
                        const AnsiDecoder& decode = AnsiToUtf16);

// Reads `directory`/emoticons.ini into `table`, converted with `decode`.
// When the file cannot be opened the table is left as it is and, with
// `displayWarnings`, the box "Emoticon data could not be loaded!..."
// ("Nimbrel Error", exclamation, system-modal) is shown. Returns true when
// the file could not be read.
bool LoadEmoticonTable(const std::filesystem::path& directory, bool displayWarnings,
                       MessageBoxes& boxes, std::vector<EmoticonEntry>& table,
                       const AnsiDecoder& decode);

}  // namespace nimbrel
