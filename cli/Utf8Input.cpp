#include "Utf8Input.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>

#include "CommandLine.h"
#include "shell/Utf.h"

#if defined(__linux__)
#include <sys/mman.h>

#include <cstdint>
#endif

namespace nimbrel {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 18;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A large text is written into memory that is new to the process, and
// faulting it in page by page costs more than decoding into it (most of a
// 10 MB reformat's time went there). Where the system offers it, the room is
// asked for in huge pages; this changes nothing but speed.
void AdviseHugePages([[maybe_unused]] const char16_t* data, [[maybe_unused]] std::size_t units) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + units * sizeof(char16_t)) & ~(kHugePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

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
            text.reserve(static_cast<std::size_t>(size));
            AdviseHugePages(text.data(), text.capacity());
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
