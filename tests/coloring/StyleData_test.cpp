#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "sim/SimDesktop.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

TEST(StyleCount, ParsedFromTheFourthCharacterOfTheFirstLine) {
    for (const std::vector<String>& c : LoadTable("style_count")) {
        EXPECT_EQ(CStyleSheetInfo::ParseStyleCount(Utf8(c.at(0))), std::stoll(Utf8(c.at(1))))
            << Utf8(c[0]);
    }
}

TEST(EmoticonTable, ParsesPiecesWithATab) {
    for (const std::vector<String>& c : LoadTable("emoticon_table")) {
        std::vector<EmoticonEntry> table;
        ParseEmoticonTable(Utf8(c.at(0)), table);
        std::vector<String> read;
        for (const EmoticonEntry& entry : table) {
            read.push_back(entry.code);
            read.push_back(entry.image);
        }
        EXPECT_EQ(read, std::vector<String>(c.begin() + 1, c.end())) << Utf8(c[0]);
    }
}

// A missing file warns only with displayWarnings; a style count of 0 (an
// empty file too) always warns and gives one style.
TEST(StyleData, WarningsOfMissingAndBrokenFiles) {
    TempDirectory dir;
    SimDesktop desktop;
    SimMessageBoxes& boxes = desktop.messageBoxes;
    std::vector<EmoticonEntry> table;
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    EXPECT_TRUE(LoadEmoticonTable(dir.Path(), false, boxes, table, AnsiToUtf16));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), true, boxes).styleCount, 1);
    EXPECT_TRUE(LoadEmoticonTable(dir.Path(), true, boxes, table, AnsiToUtf16));
    EXPECT_TRUE(table.empty());
    WriteFileBytes(dir / "styles.css", "/*4*/\n.q0 { color: black }\n");
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    WriteFileBytes(dir / "styles.css", "");
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    const String texts[] = {
        u"The style sheet (styles.css) could not be opened!\nColoring will not work.\n\n"
        u"Wrong working directory or file not found?",
        u"Emoticon data could not be loaded!\n\nVerify that emoticons.ini is found\n"
        u"in the Nimbrel directory and\nmake sure that you are using a\n"
        u"valid shortcut to start the program.",
        u"Number of style sheets in styles.css set to 0!\nMust be at least 1!\n"};
    ASSERT_EQ(boxes.Shown().size(), 4u);
    for (std::size_t i = 0; i < boxes.Shown().size(); ++i) {
        EXPECT_EQ(boxes.Shown()[i].text, texts[std::min<std::size_t>(i, 2)]) << i;
        EXPECT_EQ(boxes.Shown()[i].caption, u"Nimbrel Error");
        EXPECT_EQ(boxes.Shown()[i].flags, 0x1030u);
    }
    WriteFileBytes(dir / "emoticons.ini", ":-)\tsmile.gif\r\n");
    EXPECT_FALSE(LoadEmoticonTable(dir.Path(), true, boxes, table, AnsiToUtf16));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].image, u"smile.gif");
}

TEST(StyleData, BundledFilesDefineFourLevelsAndExistingImages) {
    SimDesktop desktop;
    SimMessageBoxes& boxes = desktop.messageBoxes;
    EXPECT_EQ(CStyleSheetInfo(RepoDataDir(), true, boxes).styleCount, 4);
    const std::string css = ReadFileBytes(RepoDataDir() + "/styles.css");
    for (const char* rule :
         {".q0", ".q1", ".q2", ".q3", ".sig", ".asig", "A.0", "A.1", "A.2", "A.3"})
        EXPECT_NE(css.find(rule), std::string::npos) << rule;
    std::vector<EmoticonEntry> table;
    ASSERT_FALSE(LoadEmoticonTable(RepoDataDir(), true, boxes, table, AnsiToUtf16));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_GE(table.size(), 6u);
    bool smile = false;
    for (const EmoticonEntry& entry : table) {
        EXPECT_FALSE(entry.code.empty());
        EXPECT_TRUE(fs::is_regular_file(fs::path(RepoDataDir()) / "emoticons" / Utf8(entry.image)))
            << Utf8(entry.image);
        smile = smile || entry.code == u":-)";
    }
    EXPECT_TRUE(smile);
}

}  // namespace
}  // namespace nimbrel
