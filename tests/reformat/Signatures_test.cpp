#include "reformat/Signatures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CrtRandom.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

std::vector<std::string> Parsed(std::string_view bytes) {
    std::vector<std::string> out;
    for (const String& signature : ParseSignatures(bytes))
        out.push_back(Utf8(signature));
    return out;
}

using Lines = std::vector<std::string>;

TEST(Signatures, LinesTrimmedAndSkipped) {
    EXPECT_EQ(Parsed("Regards\\nSecond line\n\nCheers\n"),
              (Lines{"Regards\nSecond line", "Cheers"}));
    EXPECT_EQ(Parsed("Bob   \n    \n\tTabbed\t\nlast without break"),
              (Lines{"Bob", "\tTabbed\t", "last without break"}));
    EXPECT_EQ(Parsed("one\r\ntwo\r\n\r\n \r\n"), (Lines{"one", "two"}));
    EXPECT_EQ(Parsed("lone\rcarriage return\r\r\n"), (Lines{"lone\rcarriage return"}));
    EXPECT_EQ(Parsed("a\\\\nb\\n\\nc\\"), (Lines{"a\\\nb\n\nc\\"}));
    EXPECT_EQ(Parsed(std::string("nul\0byte", 8)), (Lines{"nulbyte"}));
    EXPECT_EQ(Parsed(""), Lines{});
}

TEST(Signatures, LongLinesComeInPiecesOf1023Bytes) {
    const std::string line(2500, 'a');
    const Lines pieces = Parsed(line + "\nshort\n");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].size(), 1023u);
    EXPECT_EQ(pieces[1].size(), 1023u);
    EXPECT_EQ(pieces[2].size(), 454u);
    EXPECT_EQ(pieces[3], "short");
    // Exactly 1023 bytes and its line break: one piece.
    EXPECT_EQ(Parsed(std::string(1023, 'b') + "\r\nnext").size(), 2u);
    // A piece that would end in spaces loses them like a line.
    EXPECT_EQ(Parsed(std::string(1020, 'c') + "      d")[0].size(), 1020u);
}

TEST(Signatures, PiecesNeverSplitACharacter) {
    // Two- and four-byte UTF-8 sequences straddling byte 1023.
    for (const char* character : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        for (std::size_t before = 1019; before <= 1023; ++before) {
            const std::string line = std::string(before, 'x') + character + "yz";
            const std::vector<String> pieces = ParseSignatures(line);
            String joined;
            for (const String& piece : pieces) {
                EXPECT_LE(Utf8(piece).size(), 1023u);
                joined += piece;
            }
            EXPECT_EQ(joined, Utf16(line)) << before << " bytes before the character";
        }
    }
}

TEST(Signatures, RandomSignatureUsesTheProcessGenerator) {
    ResetSignatures();
    EXPECT_EQ(RandomSignature(), kNoSignaturesText);
    signatureList = {u"zero", u"one", u"two"};
    crtRandom.Seed(1);  // 41, 18467, 6334, 26500 -> 2, 2, 1, 1
    EXPECT_EQ(RandomSignature(), u"two");
    EXPECT_EQ(RandomSignature(), u"two");
    EXPECT_EQ(RandomSignature(), u"one");
    EXPECT_EQ(RandomSignature(), u"one");
    ResetSignatures();
}

TEST(Signatures, LoadedOncePerRun) {
    TempDirectory first;
    TempDirectory second;
    WriteFileBytes(first / kSignaturesFileName, "First\\nsignature\n");
    WriteFileBytes(second / kSignaturesFileName, "Other\n");
    ResetSignatures();
    LoadSignatures(first.Path());
    EXPECT_EQ(signaturesLoaded, 1);
    LoadSignatures(second.Path());
    ASSERT_EQ(signatureList.size(), 1u);
    EXPECT_EQ(RandomSignature(), u"First\nsignature");

    ResetSignatures();
    TempDirectory empty;
    LoadSignatures(empty.Path());  // no file: not an error, just no signatures
    EXPECT_EQ(signaturesLoaded, 1);
    EXPECT_EQ(RandomSignature(), kNoSignaturesText);
    ResetSignatures();
}

TEST(Signatures, BundledFileHasSignatures) {
    ResetSignatures();
    LoadSignatures(RepoDataDir());
    EXPECT_GE(signatureList.size(), 3u);
    bool multiLine = false;
    for (const String& signature : signatureList)
        multiLine = multiLine || signature.find(u'\n') != String::npos;
    EXPECT_TRUE(multiLine);
    ResetSignatures();
}

}  // namespace
}  // namespace nimbrel
