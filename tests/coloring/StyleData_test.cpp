#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "coloring/RecordingMessageBoxes.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kErrorFlags = 0x1030;

TEST(StyleCount, ParsedFromTheFourthCharacterOfTheFirstLine) {
    for (const std::vector<String>& c : LoadTable("style_count")) {
        EXPECT_EQ(CStyleSheetInfo::ParseStyleCount(Utf8(c.at(0))), std::stoll(Utf8(c.at(1))))
            << Utf8(c[0]);
    }
}

TEST(StyleCount, MissingFileWarnsOnlyWithDisplayWarnings) {
    TempDirectory dir;
    RecordingMessageBoxes boxes;
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), true, boxes).styleCount, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"The style sheet (styles.css) could not be opened!\nColoring will not work.\n\n"
              u"Wrong working directory or file not found?");
    EXPECT_EQ(boxes.boxes[0].caption, u"Nimbrel Error");
    EXPECT_EQ(boxes.boxes[0].flags, kErrorFlags);
}

TEST(StyleCount, ZeroAlwaysWarnsAndGivesOne) {
    TempDirectory dir;
    WriteFileBytes(dir / "styles.css", "/*4*/\n.q0 { color: black }\n");
    RecordingMessageBoxes boxes;
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Number of style sheets in styles.css set to 0!\nMust be at least 1!\n");
    EXPECT_EQ(boxes.boxes[0].caption, u"Nimbrel Error");
    EXPECT_EQ(boxes.boxes[0].flags, kErrorFlags);

    WriteFileBytes(dir / "styles.css", "");
    EXPECT_EQ(CStyleSheetInfo(dir.Path(), false, boxes).styleCount, 1);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST(StyleCount, BundledStyleSheetDefinesFourLevels) {
    RecordingMessageBoxes boxes;
    const CStyleSheetInfo info(RepoDataDir(), true, boxes);
    EXPECT_EQ(info.styleCount, 4);
    EXPECT_TRUE(boxes.boxes.empty());
    const std::string css = ReadFileBytes(RepoDataDir() + "/styles.css");
    for (const char* rule :
         {".q0", ".q1", ".q2", ".q3", ".sig", ".asig", "A.0", "A.1", "A.2", "A.3"})
        EXPECT_NE(css.find(rule), std::string::npos) << rule;
}

TEST(EmoticonTable, ParsesPiecesWithATab) {
    std::vector<EmoticonEntry> table;
    ParseEmoticonTable(
        "A\tB\r\n"
        "no tab here\n"
        "x\ty\tz\n"
        "\tempty-code.gif\n"
        " :-) \tspaced.gif\r\r\n"
        "caf\xc3\xa9\t\xe2\x98\xba.png\n"
        "last\tno-line-feed.gif",
        table);
    const std::vector<std::pair<String, String>> expected = {
        {u"A", u"B"},
        {u"x", u"y\tz"},
        {u"", u"empty-code.gif"},
        {u" :-) ", u"spaced.gif"},
        {u"caf\u00e9", u"\u263a.png"},
        {u"last", u"no-line-feed.gif"},
    };
    ASSERT_EQ(table.size(), expected.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].code, expected[i].first) << i;
        EXPECT_EQ(table[i].image, expected[i].second) << i;
    }
}

TEST(EmoticonTable, LongLinesAreReadIn519BytePieces) {
    std::vector<EmoticonEntry> table;
    // 518 bytes and a line feed: one piece.
    ParseEmoticonTable(std::string(300, 'c') + "\t" + std::string(217, 'i') + "\n", table);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].code.size(), 300u);
    EXPECT_EQ(table[0].image.size(), 217u);
    // 600 bytes with the TAB at 550: the second piece starts at byte 519.
    table.clear();
    ParseEmoticonTable(std::string(550, 'c') + "\t" + std::string(49, 'i') + "\nq\tr\n", table);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].code, String(31, u'c'));
    EXPECT_EQ(table[0].image, String(49, u'i'));
    EXPECT_EQ(table[1].code, u"q");
}

TEST(EmoticonTable, MissingFileWarnsOnlyWithDisplayWarnings) {
    TempDirectory dir;
    RecordingMessageBoxes boxes;
    std::vector<EmoticonEntry> table;
    EXPECT_TRUE(LoadEmoticonTable(dir.Path(), false, boxes, table));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(LoadEmoticonTable(dir.Path(), true, boxes, table));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Emoticon data could not be loaded!\n\nVerify that emoticons.ini is found\n"
              u"in the Nimbrel directory and\nmake sure that you are using a\n"
              u"valid shortcut to start the program.");
    EXPECT_EQ(boxes.boxes[0].caption, u"Nimbrel Error");
    EXPECT_EQ(boxes.boxes[0].flags, kErrorFlags);
    EXPECT_TRUE(table.empty());

    WriteFileBytes(dir / "emoticons.ini", ":-)\tsmile.gif\r\n");
    EXPECT_FALSE(LoadEmoticonTable(dir.Path(), true, boxes, table));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].image, u"smile.gif");
}

TEST(EmoticonTable, BundledTableNamesExistingImages) {
    RecordingMessageBoxes boxes;
    std::vector<EmoticonEntry> table;
    ASSERT_FALSE(LoadEmoticonTable(RepoDataDir(), true, boxes, table));
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
