#include "Utf8Input.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>

#include "CommandLine.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 18;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

String ReadUtf8Input(const std::string& path, bool& byteOrderMark) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : "'" + path + "'";
    std::ifstream file;
    if (!standardInput) {
        file.open(path, std::ios::binary);
        if (!file.is_open()) throw CommandError("cannot read " + name);
    }
    std::istream& in = standardInput ? std::cin : file;

    String text;
    if (!standardInput) {
        // Room for the whole text at once: a byte gives at most one unit.
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (!error) {
            // Large blocks are on huge pages (HugePages.cpp).
            text.reserve(static_cast<std::size_t>(size));
        }
    }
    // Each piece is read behind the few bytes of a sequence that the last
    // one cut off.
    const std::unique_ptr<char[]> piece(new char[kPieceBytes + 4]);
    std::size_t carried = 0;
    std::size_t offset = 0;  // of piece[0] in the input
    byteOrderMark = false;
    bool first = true;
    for (;;) {
        in.read(piece.get() + carried, static_cast<std::streamsize>(kPieceBytes));
        if (in.bad()) throw CommandError("cannot read " + name);
        const auto got = static_cast<std::size_t>(in.gcount());
        const bool last = got < kPieceBytes;
        std::string_view bytes(piece.get(), carried + got);
        std::size_t skipped = 0;
        if (first && bytes.starts_with(kByteOrderMark)) {
            byteOrderMark = true;
            skipped = kByteOrderMark.size();
        }
        first = false;
        std::size_t errorOffset = 0;
        const std::size_t done =
            AppendUtf8PieceAsUtf16(bytes.substr(skipped), last, text, errorOffset);
        if (done == std::string_view::npos) {
            throw CommandError(name + ": invalid UTF-8 at byte " +
                               std::to_string(offset + skipped + errorOffset));
        }
        if (last) break;
        carried = bytes.size() - skipped - done;
        std::copy(bytes.end() - static_cast<std::ptrdiff_t>(carried), bytes.end(), piece.get());
        offset += bytes.size() - carried;
    }
    return text;
}

}  // namespace nimbrel
