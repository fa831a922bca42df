#include "shell/Utf.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace nimbrel {
namespace {

using namespace std::string_literals;

TEST(Utf, Utf8ToUtf16DecodesEveryLength) {
    const struct {
        std::string in;
        String out;
    } cases[] = {
        {"", u""},
        {"plain", u"plain"},
        {"a\0b"s, u"a\0b"s},
        {"\x7F", u"\x7F"},
        {"\xC2\x80", u"\u0080"},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xDF\xBF", u"\u07FF"},
        {"\xE0\xA0\x80", u"\u0800"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xEE\x80\x80", u"\uE000"},
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xF0\x90\x80\x80", u"\U00010000"},
        {"\xF0\x9F\x98\x80!", u"\U0001F600!"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& c : cases) {
        String out = u"stale";
        std::size_t offset = 99;
        EXPECT_TRUE(Utf8ToUtf16(c.in, out, offset)) << c.in;
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(Utf, Utf8ToUtf16RejectsBadSequencesAtTheirStart) {
    const struct {
        std::string in;
        std::size_t offset;
    } cases[] = {
        {"\x80", 0},                      // continuation byte without a lead
        {"ab\xBF", 2},                    //
        {"\xC0\xAF", 0},                  // overlong '/'
        {"\xC1\xBF", 0},                  // overlong
        {"ab\xE0\x80\xAF", 2},            // overlong three-byte form
        {"\xE0\x9F\xBF", 0},              // overlong just below U+0800
        {"\xF0\x80\x80\xAF", 0},          // overlong four-byte form
        {"\xF0\x8F\xBF\xBF", 0},          // overlong just below U+10000
        {"\xED\xA0\x80", 0},              // high surrogate D800
        {"x\xED\xBF\xBF", 1},             // low surrogate DFFF
        {"\xED\xA0\xBD\xED\xB8\x80", 0},  // surrogate pair written as two sequences
        {"\xF4\x90\x80\x80", 0},          // U+110000
        {"\xF5\x80\x80\x80", 0},          // lead byte beyond U+10FFFF
        {"\xFF", 0},
        {"abc\xE2\x82", 3},  // cut short by the end
        {"\xC2", 0},
        {"\xF0\x9F\x98", 0},
        {"\xE2\x82x", 0},     // cut short by an ASCII byte
        {"\xC3\xC3\xA9", 0},  // a lead byte where a continuation belongs
        {"ok\xC3\xA9\xF0\x9F\x98\x80\xC3", 8},
    };
    for (const auto& c : cases) {
        String out;
        std::size_t offset = 99;
        EXPECT_FALSE(Utf8ToUtf16(c.in, out, offset)) << ::testing::PrintToString(c.in);
        EXPECT_EQ(offset, c.offset) << ::testing::PrintToString(c.in);
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
            for (const auto [from, to, last] :
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
    const struct {
        String in;
        std::string out;
    } cases[] = {
        {u"", ""},
        {u"caf\u00E9 \u20AC", "caf\xC3\xA9 \xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {u"a\xD83D", "a\xEF\xBF\xBD"},                            // high surrogate at the end
        {u"\xDE00x", "\xEF\xBF\xBDx"},                            // low surrogate alone
        {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},            // pair in the wrong order
        {u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},  // second high pairs
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf16ToUtf8(c.in), c.out);
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
    const struct {
        std::string in;
        String out;
    } cases[] = {
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"caf\xE9", u"caf\u00E9"},
        {"\x81", u"\u0081"},
        {"\xFF\xFE", u"\u00FF\u00FE"},
        {"\xE2\x82x", u"\u00E2\u0082x"},                  // cut short: both bytes kept
        {"\xE2\x82\xE2\x82\xAC", u"\u00E2\u0082\u20AC"},  // resumes at the next byte
        {"\xC0\xAF", u"\u00C0\u00AF"},                    // overlong
        {"\xED\xA0\x80", u"\u00ED\u00A0\u0080"},          // surrogate
        {"\xF4\x90\x80\x80", u"\u00F4\u0090\u0080\u0080"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\0b"s, u"a\0b"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiToUtf16(c.in), c.out) << c.in;
}

TEST(Utf, Utf16ToAnsiWritesUtf8WithQuestionMarks) {
    EXPECT_EQ(Utf16ToAnsi(u"caf\u00E9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf16ToAnsi(u"a\xD83D"
                          u"b\xDC00"),
              "a?b?");
    EXPECT_EQ(Utf16ToAnsi(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace nimbrel
