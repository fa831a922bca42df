#include "ui/CLangFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "shell/LanguageTexts.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

using namespace std::string_literals;

CLangFile Lang(std::string_view bytes) {
    return CLangFile::FromBytes(bytes);
}

TEST(CLangFile, GetLine) {
    const struct {
        const char* what;
        std::string file;
        const char* key;
        bool trim;
        bool found;
        const char* value;
    } cases[] = {
        {"plain value", "#A\r\nalpha\r\n#B\r\nbeta\r\n", "#B", true, true, "beta"},
        {"shorter key found inside an earlier key line",
         "#Hide tray icon\r\nHide tray icon\r\n#Hide\r\nHide\r\n", "#Hide", true, true,
         "Hide tray icon"},
        {"shorter key first", "#Hide\r\nHide\r\n#Hide tray icon\r\nIcon\r\n", "#Hide", true, true,
         "Hide"},
        {"trimmed label", "#Wrap at column\r\n  Wrap at   \r\n", "#Wrap at column", true, true,
         "Wrap at"},
        {"untrimmed word", "#top\r\n  Wrap at   \r\n", "#top", false, true, "  Wrap at   "},
        {"trim removes tabs and no-break spaces", "#K\r\n\t\xC2\xA0word\xE3\x80\x80 \r\n", "#K",
         true, true, "word"},
        {"words behind the key on its line are ignored", "#First Time (shown once)\r\nHello\r\n",
         "#First Time", true, true, "Hello"},
        {"key in the middle of a line", "x #Key y\r\nvalue\r\n", "#Key", true, true, "value"},
        {"key without the #", "#MSAA Error\r\nNo OLEACC\r\n", "MSAA Error", true, true,
         "No OLEACC"},
        {"# inside a single-line value", "#K\r\na#b\r\n", "#K", true, true, "a#b"},
        {"backslash-n stays", "#K\r\na\\nb\r\n", "#K", true, true, "a\\nb"},
        {"empty value", "#K\r\n\r\n", "#K", true, true, ""},
        {"value ending in CR without LF", "#K\r\nvalue\r", "#K", true, true, "value"},
        {"bare LF does not end a value", "#K\nvalue\nmore\r\n", "#K", false, true, "value\nmore"},
        {"bare LF file has no values", "#K\nvalue\n#L\nx\n", "#K", true, false, ""},
        {"value without CR at the end of the file", "#K\r\nvalue", "#K", true, false, ""},
        {"key at the very end", "#A\r\na\r\n#K", "#K", true, false, ""},
        {"key line without line end", "#A\r\na\r\n#K tail", "#K", true, false, ""},
        {"case-sensitive", "#hide\r\nx\r\n", "#Hide", true, false, ""},
        {"missing key", "#A\r\na\r\n", "#B", true, false, ""},
        {"empty key", "#A\r\na\r\n", "", true, false, ""},
        {"bytes behind a zero byte are not found", "#A\r\na\r\n\0#B\r\nb\r\n"s, "#B", true, false,
         ""},
        {"a zero byte cuts the value's line end off", "#A\r\na\0b\r\n"s, "#A", true, false, ""},
        {"Latin-1 byte",
         "#K\r\nSchlie\xDF"
         "en\r\n",
         "#K", true, true,
         "Schlie\xC3\x9F"
         "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CLangFile lang = Lang(c.file);
        String out = u"unchanged";
        const char* next = lang.GetLine(c.key, out, c.trim);
        EXPECT_EQ(next != nullptr, c.found);
        EXPECT_EQ(Utf8(out), c.found ? c.value : "unchanged");
    }
}

TEST(CLangFile, GetLineReturnsThePositionBehindTheLineEnd) {
    const std::string file = "#A\r\none\r\ntwo\r\r\nthree\r";
    CLangFile lang = Lang(file);
    String out;
    const char* next = lang.GetLine("#A", out, false);
    ASSERT_NE(next, nullptr);
    // Behind the CR and exactly one LF.
    EXPECT_EQ(*next, 't');
    EXPECT_EQ(std::string(next, 3), "two");
}

TEST(CLangFile, GetBlock) {
    const struct {
        const char* what;
        std::string file;
        const char* key;
        bool found;
        const char* value;
    } cases[] = {
        {"three lines keep their inner line breaks", "#B\r\nl1\r\nl2\r\nl3\r\n#Next\r\n", "#B",
         true, "l1\r\nl2\r\nl3"},
        {"leading text and trailing spaces stay", "#B\r\n  a  \r\n#", "#B", true, "  a  "},
        {"a # inside ends the block", "#B\r\na#b\r\n#", "#B", true, "a"},
        {"every trailing CR and LF goes", "#B\r\na\r\n\r\n\n\r#", "#B", true, "a"},
        {"empty block counts as found", "#B\r\n#C\r\n", "#B", true, ""},
        {"bare LF file", "#B\nx\ny\n#", "#B", true, "x\ny"},
        {"no closing # runs to the end", "#B\r\nlast line\r\n", "#B", true, "last line"},
        {"no closing # stops at a zero byte", "#B\r\nab\0cd#"s, "#B", true, "ab"},
        {"key at the very end", "#A\r\n#B", "#B", false, ""},
        {"missing key", "#A\r\na\r\n#", "#B", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CLangFile lang = Lang(c.file);
        String out = u"unchanged";
        EXPECT_EQ(lang.GetBlock(c.key, out), c.found);
        EXPECT_EQ(Utf8(out), c.found ? c.value : "unchanged");
    }
}

TEST(CLangFile, GetTextKeepsTheLastResult) {
    CLangFile lang = Lang("#A\r\nfirst\r\n#B\r\nsecond\r\n#");
    const String* a = lang.GetText("#A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(*a, u"first");
    const String* b = lang.GetText("#B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(*b, u"second");
    EXPECT_EQ(lang.GetText("#C"), nullptr);
}

TEST(CLangFile, GetList) {
    const struct {
        const char* what;
        std::string file;
        const char* key;
        bool found;
        std::vector<std::string> items;
    } cases[] = {
        {"six items",
         "#M\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n#N\r\n",
         "#M",
         true,
         {"a", "b", "c", "d", "e", "f"}},
        {"five items",
         "#M\r\na\r\nb\r\nc\r\nd\r\ne\r\n#N\r\n",
         "#M",
         true,
         {"a", "b", "c", "d", "e"}},
        {"empty line is an item", "#M\r\na\r\n\r\nc\r\n#", "#M", true, {"a", "", "c"}},
        {"items are not trimmed", "#M\r\n a \r\n#", "#M", true, {" a "}},
        {"# inside an item", "#M\r\na#b\r\n#", "#M", true, {"a#b"}},
        {"found with no items", "#M\r\n#N\r\n", "#M", true, {}},
        {"stops where no CR follows", "#M\r\na\r\nb", "#M", true, {"a"}},
        {"found key, nothing behind it", "#M\r\n", "#M", true, {}},
        {"stops at the key's own first character", "Key\r\na\r\nKb\r\nc\r\n", "Key", true, {"a"}},
        {"bare LF lines run together", "#M\na\nb\r\n#", "#M", true, {"a\nb"}},
        {"key at the very end", "#A\r\n#M", "#M", false, {}},
        {"missing key", "#A\r\na\r\n", "#M", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CLangFile lang = Lang(c.file);
        std::vector<String> list = {u"kept"};
        EXPECT_EQ(lang.GetList(c.key, list), c.found);
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.items.begin(), c.items.end());
        std::vector<std::string> got;
        for (const String& item : list)
            got.push_back(Utf8(item));
        EXPECT_EQ(got, expected);
    }
}

TEST(CLangFile, WithoutAFileNothingIsFound) {
    CLangFile lang("no-such-directory/lang.ini");
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
    const auto path = std::filesystem::temp_directory_path() / "nimbrel-langfile-test.ini";
    {
        std::ofstream file(path, std::ios::binary);
        file << "#A\r\nalpha\r\n#B\r\nbeta\r\n\x1A#C\r\ngamma\r\n";  // ^Z is just a byte
    }
    CLangFile lang(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(lang.HasBuffer());
    String out;
    EXPECT_NE(lang.GetLine("#B", out, true), nullptr);
    EXPECT_EQ(out, u"beta");
    EXPECT_NE(lang.GetLine("#C", out, true), nullptr);
    EXPECT_EQ(out, u"gamma");
}

// A dialog that records what the language file does to it.
class FakeDialog : public DialogTexts {
  public:
    bool HasControl(int id) const override { return id == 1 || id == 1004; }
    void SetControlText(int id, StringView text) override { texts[id] = String(text); }
    void SetTitle(StringView text) override { title = String(text); }
    std::map<int, String> texts;
    std::optional<String> title;
};

TEST(CLangFile, TranslateControl) {
    CLangFile lang =
        Lang("#Hide\r\n  Verbergen \r\n#Empty\r\n   \r\n#OK\r\nJa\r\n#Missing line end\r\nx");
    FakeDialog dialog;
    lang.TranslateControl(dialog, 1004, "#Hide");
    lang.TranslateControl(dialog, 1, "#Empty");             // blank: resource text stays
    lang.TranslateControl(dialog, 1, "#Missing line end");  // not found
    lang.TranslateControl(dialog, 1, "#Nothing");           // not found
    lang.TranslateControl(dialog, 2, "#OK");                // the dialog has no control 2
    EXPECT_EQ(dialog.texts, (std::map<int, String>{{1004, u"Verbergen"}}));
}

TEST(CLangFile, TranslateTitle) {
    FakeDialog dialog;
    Lang("#T\r\n Titel \r\n").TranslateTitle(dialog, "#T");
    EXPECT_EQ(dialog.title, u" Titel ");

    FakeDialog emptied;
    Lang("#T\r\n\r\n").TranslateTitle(emptied, "#T");
    EXPECT_EQ(emptied.title, u"");

    FakeDialog untouched;
    Lang("#T\r\nno line end").TranslateTitle(untouched, "#T");
    EXPECT_FALSE(untouched.title.has_value());
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
