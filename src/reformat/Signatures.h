// The random signatures: signatures.ini read once per run into a list, and a
// signature drawn from it for every "<nimbrel-sig>" marker.
//
// signatures.ini is 8-bit text in the user's ANSI code page, one
// signature per line, backslash-n for a line break inside a signature. LF,
// CR and space at the end of a line are ignored and a line that is empty
// after that is skipped. A line longer than 1023 bytes is read in pieces of
// at most 1023 bytes, each a signature of its own; a piece never ends inside
// a multi-byte character (the boundary moves back by up to three bytes).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "shell/Text.h"
#include "shell/Utf.h"

namespace nimbrel {

constexpr const char* kSignaturesFileName = "signatures.ini";
constexpr std::size_t kSignaturePieceBytes = 1023;
constexpr std::u16string_view kNoSignaturesText =
    u"Nimbrel Error: No signatures could be read from signatures.ini!";

// Process-wide: filled once by LoadSignatures, then only read.
extern std::vector<String> signatureList;
extern std::uint8_t signaturesLoaded;

// Reads signatures.ini from `directory` into signatureList as UTF-8
// (AnsiToUtf16, the command line tool's reading), unless signaturesLoaded is
// already set; sets it either way. A missing or unreadable file leaves the
// list empty and is not reported here (the marker then becomes
// kNoSignaturesText).
void LoadSignatures(const std::filesystem::path& directory);

// Where LoadSignatures() reads: the first of `files` that can be opened, its
// bytes converted with `decode`. Start-up sets the user's signatures.ini,
// then the install directory's, in the thread's code page; ResetSignatures
// puts back the default: "signatures.ini" of the current directory, read as
// UTF-8.
void SetSignatureSource(std::vector<std::filesystem::path> files, AnsiDecoder decode);
// Run by the construction of every ReplyFormatter: reads that source into
// signatureList unless signaturesLoaded is already set; sets it either way.
void LoadSignatures();

// The signatures in the bytes of a signatures.ini, in file order. Lines end
// at LF; a CR directly before the LF is dropped, as reading in text mode on
// Windows does. NUL bytes are ignored. Each piece is converted with `decode`.
std::vector<String> ParseSignatures(std::string_view bytes,
                                    const AnsiDecoder& decode = AnsiToUtf16);

// A copy of a signature chosen with the process-wide generator (crtRandom),
// or kNoSignaturesText when the list is empty.
String RandomSignature();

// Empties the list, clears signaturesLoaded and puts back the default source
// (for tests and tools).
void ResetSignatures();

}  // namespace nimbrel
