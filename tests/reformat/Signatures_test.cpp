#include "reformat/Signatures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CrtRandom.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"

namespace nimbrel {
namespace {

TEST(Signatures, LinesTrimmedSkippedAndCutIntoPieces) {
    for (const std::vector<String>& c : LoadTable("signatures_parse")) {
        EXPECT_EQ(ParseSignatures(Utf8(c.at(0))), std::vector<String>(c.begin() + 1, c.end()))
            << Utf8(c[0]).substr(0, 60);
    }
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

TEST(CrtRandom, SequenceOfTheCRuntime) {
    // The sequence every C runtime of this family gives for srand(1) / srand(0).
    CrtRandom random;
    for (const int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(random.Next(), expected);
    random.Seed(0);
    EXPECT_EQ(random.Next(), 38);
    EXPECT_EQ(random.Next(), 7719);
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

}  // namespace
}  // namespace nimbrel
