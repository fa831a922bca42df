// The shipped language files: every key the program asks for resolves, as
// the kind of lookup it is used with, to the text meant for it.
#include <gtest/gtest.h>

#include "support/GoldenCase.h"
#include "ui/CLangFile.h"

namespace nimbrel {
namespace {

// tables/lang_keys.tsv: key, kind of lookup, dialog:control, English, German.
const std::vector<std::vector<String>>& Keys() {
    static const std::vector<std::vector<String>> keys = LoadTable("lang_keys");
    return keys;
}

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        parts.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) return parts;
        start = bar + 1;
    }
}

class LangData : public testing::TestWithParam<const char*> {
  protected:
    std::string Path() const { return std::string(NIMBREL_DATA_DIR) + "/" + GetParam(); }
    bool German() const { return std::string_view(GetParam()) == "lang-de.ini"; }
};

TEST_P(LangData, LinesEndWithCrLfAndAClosingKeyLineEndsTheFile) {
    const std::string bytes = ReadFileBytes(Path());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << i;
        }
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
        }
    }
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    const std::size_t lastLine = bytes.rfind('\n', bytes.size() - 3) + 1;
    EXPECT_EQ(bytes[lastLine], '#');
}

// The first occurrence of each key is its own key line, so no lookup lands
// inside an earlier key line or value.
TEST_P(LangData, EveryKeyIsFirstFoundOnItsOwnKeyLine) {
    const std::string bytes = ReadFileBytes(Path());
    for (const std::vector<String>& row : Keys()) {
        const std::string key = Utf8(row.at(0));
        const std::size_t at = bytes.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        std::size_t lineStart = at;
        if (key.front() != '#') {  // "MSAA Error" stands on the key line "#MSAA Error"
            ASSERT_GT(at, 0u) << key;
            EXPECT_EQ(bytes[at - 1], '#') << key;
            lineStart = at - 1;
        }
        EXPECT_TRUE(lineStart == 0 || bytes[lineStart - 1] == '\n') << key;
        EXPECT_EQ(bytes.substr(at + key.size(), 2), "\r\n") << key;
    }
}

TEST_P(LangData, EveryKeyResolvesToItsText) {
    CLangFile lang(Path(), AnsiToUtf16);
    ASSERT_TRUE(lang.HasBuffer());
    for (const std::vector<String>& row : Keys()) {
        const std::string key = Utf8(row.at(0));
        SCOPED_TRACE(key + " as " + Utf8(row.at(1)));
        const std::vector<std::string> expected = Split(Utf8(row.at(German() ? 4 : 3)));
        String text;
        switch (row[1].at(0)) {
            case 'L':
                ASSERT_NE(lang.GetLine(key, text, true), nullptr);
                EXPECT_FALSE(text.empty());
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'T':
            case 'R':
                ASSERT_NE(lang.GetLine(key, text, false), nullptr);
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'B':
                ASSERT_TRUE(lang.GetBlock(key, text));
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'X': {
                const String* message = lang.GetText(key);
                ASSERT_NE(message, nullptr);
                const StringView got(*message);
                EXPECT_TRUE(got.starts_with(Utf16(expected[0] + "\r\n"))) << Utf8(got);
                EXPECT_TRUE(got.ends_with(Utf16(expected[1]))) << Utf8(got);
                EXPECT_EQ(got.find(u'#'), StringView::npos);
                break;
            }
            case 'N': {
                std::vector<String> items;
                ASSERT_TRUE(lang.GetList(key, items));
                ASSERT_EQ(items.size(), expected.size());
                for (std::size_t i = 0; i < items.size(); ++i)
                    EXPECT_EQ(items[i], Utf16(expected[i])) << i;
                break;
            }
            default:
                FAIL() << "unknown kind";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LangData, testing::Values("lang.ini", "lang-de.ini"),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.index == 0 ? "English" : "German");
                         });

}  // namespace
}  // namespace nimbrel
