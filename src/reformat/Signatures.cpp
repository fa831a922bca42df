#include "reformat/Signatures.h"

#include <fstream>
#include <iterator>
#include <string>

#include "shell/CrtRandom.h"
#include "shell/Utf.h"

namespace nimbrel {

std::vector<String> signatureList;
std::uint8_t signaturesLoaded = 0;

namespace {

// The program's source of signatures.ini (SetSignatureSource).
struct SignatureSource {
    std::vector<std::filesystem::path> files{kSignaturesFileName};
    AnsiDecoder decode = AnsiToUtf16;
};
SignatureSource signatureSource;

// True when cutting `line` at `cut` splits no character of the ANSI
// conversion: the bytes around the cut convert to the same text whether they
// are converted apart or together. Three bytes on each side cover the longest
// multi-byte sequence.
bool IsCharacterBoundary(std::string_view line, std::size_t cut, const AnsiDecoder& decode) {
    const std::size_t from = cut >= 3 ? cut - 3 : 0;
    const std::size_t to = std::min(line.size(), cut + 3);
    const std::string_view left = line.substr(from, cut - from);
    const std::string_view right = line.substr(cut, to - cut);
    return decode(left) + decode(right) == decode(line.substr(from, to - from));
}

void AppendSignature(std::string_view piece, std::vector<String>& list, const AnsiDecoder& decode) {
    String text = decode(piece);
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == u'\n' || text[end - 1] == u'\r' || text[end - 1] == u' '))
        --end;
    if (end == 0) return;
    String signature;
    signature.reserve(end);
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == u'\\' && i + 1 < end && text[i + 1] == u'n') {
            signature += u'\n';
            ++i;
        } else {
            signature += text[i];
        }
    }
    list.push_back(std::move(signature));
}

// Reads the first of `files` that can be opened into signatureList, once.
void LoadSignatureFile(const std::vector<std::filesystem::path>& files, const AnsiDecoder& decode) {
    if (signaturesLoaded) return;
    signaturesLoaded = 1;
    for (const std::filesystem::path& path : files) {
        std::ifstream file(path, std::ios::binary);
        if (!file) continue;
        const std::string bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        signatureList = ParseSignatures(bytes, decode);
        return;
    }
}

}  // namespace

std::vector<String> ParseSignatures(std::string_view bytes, const AnsiDecoder& decode) {
    std::vector<String> list;
    std::string line;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        const bool hasLf = lf != std::string_view::npos;
        if (!hasLf) lf = bytes.size();
        std::string_view raw = bytes.substr(pos, lf - pos);
        if (hasLf && !raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        line.clear();
        for (const char c : raw)
            if (c != '\0') line += c;
        pos = hasLf ? lf + 1 : lf;

        std::string_view rest = line;
        while (rest.size() > kSignaturePieceBytes) {
            std::size_t cut = kSignaturePieceBytes;
            for (std::size_t back = 0; back <= 3; ++back) {
                if (IsCharacterBoundary(rest, kSignaturePieceBytes - back, decode)) {
                    cut = kSignaturePieceBytes - back;
                    break;
                }
            }
            AppendSignature(rest.substr(0, cut), list, decode);
            rest.remove_prefix(cut);
        }
        AppendSignature(rest, list, decode);
    }
    return list;
}

void LoadSignatures(const std::filesystem::path& directory) {
    LoadSignatureFile({directory / kSignaturesFileName}, AnsiToUtf16);
}

void SetSignatureSource(std::vector<std::filesystem::path> files, AnsiDecoder decode) {
    signatureSource = {std::move(files), std::move(decode)};
}

void LoadSignatures() {
    LoadSignatureFile(signatureSource.files, signatureSource.decode);
}

String RandomSignature() {
    if (signatureList.empty()) return String(kNoSignaturesText);
    const auto index = static_cast<std::size_t>(crtRandom.Next()) % signatureList.size();
    return signatureList[index];
}

void ResetSignatures() {
    signatureList.clear();
    signaturesLoaded = 0;
    signatureSource = SignatureSource{};
}

}  // namespace nimbrel
