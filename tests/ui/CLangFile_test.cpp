#include "ui/CLangFile.h"

#include <gtest/gtest.h>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

CLangFile Lang(std::string_view bytes) {
    return CLangFile::FromBytes(bytes);
}

TEST(CLangFile, GetLine) {
    for (const std::vector<String>& c : LoadTable("lang_get_line")) {
        SCOPED_TRACE(Utf8(c.at(0)));
        CLangFile lang = Lang(Bytes(c.at(1)));
        String out = u"unchanged";
        const char* next = lang.GetLine(Utf8(c.at(2)), out, ToInt(c.at(3)) != 0);
        EXPECT_EQ(next != nullptr, ToInt(c.at(4)) != 0);
        EXPECT_EQ(out, next != nullptr ? c.at(5) : u"unchanged");
    }
}

TEST(CLangFile, GetBlock) {
    for (const std::vector<String>& c : LoadTable("lang_get_block")) {
        SCOPED_TRACE(Utf8(c.at(0)));
        CLangFile lang = Lang(Bytes(c.at(1)));
        String out = u"unchanged";
        EXPECT_EQ(lang.GetBlock(Utf8(c.at(2)), out), ToInt(c.at(3)) != 0);
        EXPECT_EQ(out, ToInt(c[3]) != 0 ? c.at(4) : u"unchanged");
    }
}

TEST(CLangFile, GetList) {
    for (const std::vector<String>& c : LoadTable("lang_get_list")) {
        SCOPED_TRACE(Utf8(c.at(0)));
        CLangFile lang = Lang(Bytes(c.at(1)));
        std::vector<String> list = {u"kept"};
        EXPECT_EQ(lang.GetList(Utf8(c.at(2)), list), ToInt(c.at(3)) != 0);
        std::vector<String> expected = {u"kept"};
        expected.insert(expected.end(), c.begin() + 4, c.end());
        EXPECT_EQ(list, expected);
    }
}

TEST(CLangFile, WithoutAFileNothingIsFound) {
    CLangFile lang("no-such-directory/lang.ini", AnsiToUtf16);
    EXPECT_FALSE(lang.HasBuffer());
    String out = u"x";
    std::vector<String> list;
    EXPECT_EQ(lang.GetLine("#A", out, true), nullptr);
    EXPECT_FALSE(lang.GetBlock("#A", out));
    EXPECT_EQ(lang.GetText("#A"), nullptr);
    EXPECT_FALSE(lang.GetList("#A", list));
    EXPECT_EQ(out, u"x");
    EXPECT_TRUE(list.empty());
}

TEST(CLangFile, ReadsTheWholeFileAsBytes) {
    TempDirectory dir;
    // ^Z is just a byte.
    WriteFileBytes(dir / "lang.ini", "#A\r\nalpha\r\n#B\r\nbeta\r\n\x1A#C\r\ngamma\r\n");
    CLangFile lang(dir / "lang.ini", AnsiToUtf16);
    ASSERT_TRUE(lang.HasBuffer());
    String out;
    EXPECT_NE(lang.GetLine("#B", out, true), nullptr);
    EXPECT_EQ(out, u"beta");
    EXPECT_NE(lang.GetLine("#C", out, true), nullptr);
    EXPECT_EQ(out, u"gamma");
}

// Every lookup on every prefix of a file (as if it were cut off anywhere)
// stays inside the text and finds either nothing or what the whole file
// holds for that key, up to the cut.
TEST(CLangFile, TruncatedFilesAreReadSafely) {
    const std::string whole =
        "#Hide\r\nHide\r\n#Hide tray icon\r\nHide tray icon\r\n#TrayMenu\r\na\r\n\r\nc\r\n"
        "#First Time\r\nWelcome\r\nto Nimbrel\r\n#End\r\n";
    const char* keys[] = {"#Hide", "#Hide tray icon", "#TrayMenu", "#First Time", "#End"};
    CLangFile full = Lang(whole);
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        CLangFile lang = Lang(std::string_view(whole).substr(0, cut));
        for (const char* key : keys) {
            SCOPED_TRACE(std::to_string(cut) + " " + key);
            String line, fullLine;
            if (lang.GetLine(key, line, false) != nullptr) {
                ASSERT_NE(full.GetLine(key, fullLine, false), nullptr);
                EXPECT_EQ(line, fullLine);
            }
            String block, fullBlock;
            if (lang.GetBlock(key, block)) {
                ASSERT_TRUE(full.GetBlock(key, fullBlock));
                EXPECT_TRUE(fullBlock.starts_with(block) || block.starts_with(fullBlock));
            }
            std::vector<String> list, fullList;
            if (lang.GetList(key, list)) {
                ASSERT_TRUE(full.GetList(key, fullList));
                ASSERT_LE(list.size(), fullList.size());
                EXPECT_TRUE(std::equal(list.begin(), list.end(), fullList.begin()));
            }
        }
    }
}

}  // namespace
}  // namespace nimbrel
