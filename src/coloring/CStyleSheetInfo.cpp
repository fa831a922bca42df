#include "coloring/CStyleSheetInfo.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

#include "coloring/LineMarkup.h"

namespace nimbrel {

namespace {

constexpr std::size_t kFirstLineLimit = 19;
constexpr std::uint32_t kErrorBoxFlags = mb::kSystemModal | mb::kIconExclamation;

bool IsCWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

CStyleSheetInfo::CStyleSheetInfo(std::int32_t count) : styleCount(count == 0 ? 1 : count) {}

CStyleSheetInfo::CStyleSheetInfo(const std::filesystem::path& directory, bool displayWarnings,
                                 MessageBoxes& boxes) {
    std::ifstream file(directory / "styles.css", std::ios::binary);
    if (!file) {
        if (displayWarnings) {
            boxes.MessageBoxW(
                u"The style sheet (styles.css) could not be opened!\nColoring will not work.\n\n"
                u"Wrong working directory or file not found?",
                u"Nimbrel Error", kErrorBoxFlags);
        }
        return;
    }
    char start[kFirstLineLimit] = {};
    file.read(start, kFirstLineLimit);
    const std::int32_t count =
        ParseStyleCount(std::string_view(start, static_cast<std::size_t>(file.gcount())));
    if (count == 0) {
        boxes.MessageBoxW(u"Number of style sheets in styles.css set to 0!\nMust be at least 1!\n",
                          u"Nimbrel Error", kErrorBoxFlags);
        return;
    }
    styleCount = count;
}

CStyleSheetInfo::~CStyleSheetInfo() = default;

std::int32_t CStyleSheetInfo::ParseStyleCount(std::string_view fileStart) {
    std::string_view line = fileStart.substr(0, kFirstLineLimit);
    const std::size_t lf = line.find('\n');
    if (lf != std::string_view::npos) line = line.substr(0, lf + 1);
    if (line.size() < 4) return 0;
    std::size_t i = 3;
    while (i < line.size() && IsCWhiteSpace(line[i]))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    std::int64_t value = 0;  // at most 16 digits fit in the line
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = value * 10 + (line[i] - '0');
    if (negative) value = -value;
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

void CStyleSheetInfo::MarkupLines(String& html, bool isCompose, const Settings& options,
                                  std::span<const EmoticonEntry> emoticons) const {
    String out;
    // Generous room, so that the text is not moved as it grows: room that is
    // never written costs no memory.
    out.reserve(html.size() + html.size() / 2 + 32);
    LineMarkup(styleCount, isCompose, options, emoticons).AppendLines(out, html);
    html.swap(out);
}

}  // namespace nimbrel
