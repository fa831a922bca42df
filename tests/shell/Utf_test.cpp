// The text conversions (UTF-8, UTF-16, ANSI) and the block text searches.
#include "shell/Utf.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "shell/TextSearch.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(Utf, Utf8ToUtf16RejectsBadSequencesAtTheirStart) {
    for (const std::vector<String>& c : LoadTable("utf8_refused")) {
        String out;
        std::size_t offset = 99;
        EXPECT_FALSE(Utf8ToUtf16(Bytes(c.at(0)), out, offset)) << Utf8(c.at(2));
        EXPECT_EQ(offset, static_cast<std::size_t>(ToInt(c[1]))) << Utf8(c[2]);
    }
}

// Any text cut into pieces anywhere decodes as it does whole; a bad
// sequence is reported at its offset within the piece that holds it.
TEST(Utf, PiecesDecodeAsTheWholeText) {
    const std::string whole = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z\r\n";
    String expected;
    std::size_t offset = 0;
    ASSERT_TRUE(Utf8ToUtf16(whole, expected, offset));
    for (std::size_t cut1 = 0; cut1 <= whole.size(); ++cut1) {
        for (std::size_t cut2 = cut1; cut2 <= whole.size(); ++cut2) {
            String out = u"<";
            std::string carried;
            for (const auto& [from, to, last] :
                 {std::tuple{std::size_t{0}, cut1, false}, std::tuple{cut1, cut2, false},
                  std::tuple{cut2, whole.size(), true}}) {
                const std::string piece = carried + whole.substr(from, to - from);
                const std::size_t done = AppendUtf8PieceAsUtf16(piece, last, out, offset);
                ASSERT_NE(done, std::string::npos) << cut1 << " " << cut2;
                ASSERT_LE(piece.size() - done, 3u);
                carried = piece.substr(done);
            }
            EXPECT_EQ(out, u"<" + expected) << cut1 << " " << cut2;
        }
    }
    String out;
    EXPECT_EQ(AppendUtf8PieceAsUtf16("ab\xE2\x82", false, out, offset), 2u);  // held back
    EXPECT_EQ(AppendUtf8PieceAsUtf16("ab\xE2\x82", true, out, offset), std::string::npos);
    EXPECT_EQ(offset, 2u);
    EXPECT_EQ(AppendUtf8PieceAsUtf16("abc\x80", false, out, offset), std::string::npos);
    EXPECT_EQ(offset, 3u);
}

TEST(Utf, Utf16ToUtf8ReplacesUnpairedSurrogates) {
    for (const std::vector<String>& c : LoadTable("utf16_encode"))
        EXPECT_EQ(Utf16ToUtf8(c.at(0)), Bytes(c.at(1))) << ::testing::PrintToString(Bytes(c[1]));
}

TEST(Utf, EveryCodePointRoundTrips) {
    String all;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c < 0x10000) {
            all += static_cast<char16_t>(c);
        } else {
            all += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            all += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    const std::string utf8 = Utf16ToUtf8(all);
    // 128 one-byte, 1920 two-byte, 61440 three-byte, 1048576 four-byte code points.
    EXPECT_EQ(utf8.size(), 128u + 1920u * 2 + 61440u * 3 + 1048576u * 4);
    String back;
    std::size_t offset = 0;
    ASSERT_TRUE(Utf8ToUtf16(utf8, back, offset)) << offset;
    EXPECT_TRUE(back == all);
    EXPECT_TRUE(AnsiToUtf16(utf8) == all);
    EXPECT_TRUE(Utf16ToAnsi(all) == utf8);
}

TEST(Utf, AnsiFallsBackToLatin1ByteByByte) {
    for (const std::vector<String>& c : LoadTable("ansi_decode"))
        EXPECT_EQ(AnsiToUtf16(Bytes(c.at(0))), c.at(1)) << ::testing::PrintToString(Bytes(c[0]));
}

// Valid text is UTF-8 (every code point round trips above).
TEST(Utf, Utf16ToAnsiWritesUnpairedSurrogatesAsQuestionMarks) {
    EXPECT_EQ(Utf16ToAnsi(u"a\xD83D"
                          u"b\xDC00"),
              "a?b?");
}

// The block searches against the plain ones of the standard library, on
// every start position of texts of every length around the block size,
// made of a few units so that matches fall everywhere in a block.
TEST(TextSearch, FindsWhatTheStandardSearchesFind) {
    std::mt19937 random(7);
    const StringView alphabet = u"ab<w. \n";
    for (std::size_t length = 0; length <= 70; ++length) {
        for (int round = 0; round < 20; ++round) {
            String text;
            // Some texts hold few matches, others many.
            const std::size_t spread = round % 2 == 0 ? alphabet.size() : 2;
            for (std::size_t i = 0; i < length; ++i)
                text += alphabet[random() % spread == 0 ? random() % alphabet.size() : 0];
            const StringView view = text;
            for (std::size_t from = 0; from <= length + 1; ++from) {
                SCOPED_TRACE(testing::Message()
                             << "text \"" << std::string(text.begin(), text.end()) << "\" from "
                             << from);
                EXPECT_EQ(FindUnit(view, from, u'<'), view.find(u'<', from));
                EXPECT_EQ(FindAnyUnit(view, from, std::array<char16_t, 3>{u'w', u'\n', u'.'}),
                          view.find_first_of(u"w\n.", from));
                EXPECT_EQ(FindUnitPair(view, from, u'w', u'w'), view.find(u"ww", from));
                EXPECT_EQ(FindText(view, from, u"www."), view.find(u"www.", from));
                EXPECT_EQ(FindText(view, from, u"b"), view.find(u"b", from));
            }
        }
    }
}

}  // namespace
}  // namespace nimbrel
