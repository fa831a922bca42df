#include "support/GoldenCase.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "shell/SettingsFields.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

template <typename Char>
std::basic_string<Char> WithoutCr(std::basic_string_view<Char> text) {
    std::basic_string<Char> out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') out += text[i];
    return out;
}

[[noreturn]] void Malformed(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

GoldenCase ParseCase(const std::string& file, const std::string& bytes) {
    GoldenCase golden;
    golden.file = file;
    golden.name = std::filesystem::path(file).stem().string();

    std::string* section = nullptr;
    bool firstLine = true;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        const bool last = lf == std::string::npos;
        if (last) lf = bytes.size();
        const std::string_view line(bytes.data() + pos, lf - pos);
        ++lineNumber;
        if (last && line.empty()) break;  // the file's final line break

        if (line.starts_with("=== ")) {
            const std::string name(Trim(line.substr(4)));
            if (golden.sections.count(name) != 0) Malformed(file, lineNumber, "duplicate section");
            section = &golden.sections[name];
            firstLine = true;
        } else if (section != nullptr) {
            if (!firstLine) section->push_back('\n');
            section->append(line);
            firstLine = false;
        } else if (!Trim(line).empty() && !line.starts_with("#")) {
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos) Malformed(file, lineNumber, "expected key = value");
            const std::string key(Trim(line.substr(0, eq)));
            const std::string value(Trim(line.substr(eq + 1)));
            if (FindSettingsField(key) != nullptr) {
                const std::string error = SetSettingsField(golden.settings, key, value);
                if (!error.empty()) Malformed(file, lineNumber, error);
            } else {
                golden.params[key] = value;
            }
        }
        if (last) break;
        pos = lf + 1;
    }
    return golden;
}

}  // namespace

const std::string& GoldenCase::Section(const std::string& section) const {
    static const std::string kEmpty;
    const auto it = sections.find(section);
    if (it == sections.end()) {
        ADD_FAILURE() << file << ": no section '" << section << "'";
        return kEmpty;
    }
    return it->second;
}

int GoldenCase::IntParam(const std::string& key) const {
    const auto it = params.find(key);
    if (it == params.end()) {
        ADD_FAILURE() << file << ": no parameter '" << key << "'";
        return 0;
    }
    try {
        return std::stoi(it->second);
    } catch (const std::exception&) {
        ADD_FAILURE() << file << ": parameter '" << key << "' is not a number";
        return 0;
    }
}

std::string TestDataDir() {
    return NIMBREL_TEST_DATA_DIR;
}

std::string RepoDataDir() {
    return NIMBREL_DATA_DIR;
}

std::vector<GoldenCase> LoadGoldenCases(const std::string& subdir) {
    const std::filesystem::path dir = std::filesystem::path(TestDataDir()) / subdir;
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() == ".case") files.push_back(entry.path().string());
    }
    if (ec || files.empty()) {
        throw std::runtime_error("no .case files in " + dir.string());
    }
    std::sort(files.begin(), files.end());
    std::vector<GoldenCase> cases;
    for (const std::string& file : files)
        cases.push_back(ParseCase(file, ReadFileBytes(file)));
    return cases;
}

std::vector<std::vector<String>> LoadTable(const std::string& name) {
    const std::string file = TestDataDir() + "/tables/" + name + ".tsv";
    const String text = Utf16(ReadFileBytes(file));
    std::vector<std::vector<String>> rows;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find(u'\n', pos);
        if (lf == String::npos) lf = text.size();
        const StringView line = StringView(text).substr(pos, lf - pos);
        pos = lf + 1;
        if (line.empty() || line == u"#" || line.starts_with(u"# ")) continue;
        std::vector<String>& row = rows.emplace_back(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char16_t c = line[i];
            if (c == u'\t') {
                row.emplace_back();
            } else if (c != u'\\' || i + 1 == line.size()) {
                row.back() += c;
            } else if (const char16_t e = line[++i]; e == u'<') {
                const std::size_t close = line.find(u'>', i);
                if (close == StringView::npos || close + 1 >= line.size())
                    throw std::runtime_error(file + ": bad \\<N>c in " + Utf8(line));
                row.back().append(ToInt(line.substr(i + 1, close - i - 1)), line[close + 1]);
                i = close + 1;
            } else if ((e == u'x' || e == u'u') && i + (e == u'x' ? 2 : 4) < line.size()) {
                const std::size_t digits = e == u'x' ? 2 : 4;
                row.back() += static_cast<char16_t>(ToInt(line.substr(i + 1, digits), 16));
                i += digits;
            } else if (e != u'e') {
                static const StringView kEscapes = u"n\nr\rt\tv\vf\fs ";
                const std::size_t k = kEscapes.find(e);
                row.back() += k != StringView::npos && k % 2 == 0 ? kEscapes[k + 1] : e;
            }
        }
    }
    if (rows.empty()) throw std::runtime_error("no rows in " + file);
    return rows;
}

int ToInt(StringView field, int base) {
    return std::stoi(Utf8(field), nullptr, base);
}

std::string Bytes(StringView field) {
    std::string bytes;
    for (const char16_t unit : field)
        bytes += static_cast<char>(unit);
    return bytes;
}

std::string GoldenCaseName(const testing::TestParamInfo<GoldenCase>& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

String Utf16(std::string_view utf8) {
    String out;
    std::size_t offset = 0;
    if (!Utf8ToUtf16(utf8, out, offset)) ADD_FAILURE() << "bad UTF-8 at byte " << offset;
    return out;
}

std::string Utf8(StringView text) {
    return Utf16ToUtf8(text);
}

std::string ToCrLf(std::string_view lf) {
    std::string out;
    out.reserve(lf.size() + lf.size() / 16);
    for (const char c : lf) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

String Repeat(StringView piece, std::size_t times) {
    String text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string FromCrLf(std::string_view crlf) {
    return WithoutCr(crlf);
}

String FromCrLf(StringView crlf) {
    return WithoutCr(crlf);
}

void PrintTo(const GoldenCase& golden, std::ostream* os) {
    *os << golden.file;
}

}  // namespace nimbrel
