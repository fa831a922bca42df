// Nasty inputs repeated many times. These assert on the output only; the
// time they take is the benchmark's business (bench/reply_reformat_bench.cpp),
// but a quadratic loop makes them crawl.
#include <gtest/gtest.h>

#include <string>

#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

constexpr int kMany = 100000;

const std::string kBlock =
    "----- Original Message -----\n"
    "From: \"Jane Doe\" <jane@example.com>\n"
    "To: \"Bob Smith\" <bob@example.org>\n"
    "Sent: Tuesday, March 04, 2003 2:05 PM\n"
    "Subject: Re: lunch on Thursday\n"
    "\n";

struct Outcome {
    std::int32_t result;
    std::int32_t caretCount;
    std::string text;
};

Outcome ReformatLf(const std::string& lf, const Settings& options = Settings::Defaults()) {
    String text = Utf16(ToCrLf(lf));
    ReplyFormatter formatter(options);
    Outcome outcome{0, -1, {}};
    outcome.result = formatter.Reformat(text, outcome.caretCount);
    outcome.text = Utf8(text);
    return outcome;
}

class ReplyPathological : public testing::Test {
  protected:
    void SetUp() override {
        ResetSignatures();
        signaturesLoaded = 1;
    }
    void TearDown() override { ResetSignatures(); }
};

TEST_F(ReplyPathological, ThousandsOfUserLinesMoveBelowTheQuote) {
    std::string user;
    std::string moved;
    for (int i = 0; i < kMany; ++i) {
        user += "line " + std::to_string(i) + "\n";
        moved += "\nline " + std::to_string(i);
    }
    Settings options = Settings::Defaults();
    options.cursorAtTop = 0;
    const Outcome out = ReformatLf("\n\n" + user + kBlock + "> quoted", options);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.text, "Jane Doe wrote:\n> quoted\n\n\n" + moved);
    EXPECT_EQ(out.caretCount, kMany + 1);
}

TEST_F(ReplyPathological, ThousandsOfQuotedSeparators) {
    const std::string quote = Repeat("> -- \n", kMany) + "> Jane";
    const Outcome stripped = ReformatLf("\n\n" + kBlock + quote);
    EXPECT_EQ(stripped.result, 0);
    EXPECT_EQ(stripped.text,
              "\nJane Doe wrote:\n" + Repeat("> --\n", kMany - 1).substr(0, 5 * (kMany - 1) - 1));
    Settings keep = Settings::Defaults();
    keep.stripQuotedSignature = 0;
    const Outcome kept = ReformatLf("\n\n" + kBlock + quote, keep);
    EXPECT_EQ(kept.text, "\nJane Doe wrote:\n" + Repeat("> --\n", kMany) + "> Jane");
}

TEST_F(ReplyPathological, ThousandsOfEmptyQuotedLinesBelowTheHeader) {
    const Outcome out = ReformatLf("\n\n" + kBlock + Repeat(">\n> >\n", kMany) + "> text");
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.text, "\nJane Doe wrote:\n> text");
}

TEST_F(ReplyPathological, ThousandsOfHeaderLookalikes) {
    const std::string text =
        "Hello\n" +
        Repeat(
            "> \"Jane\" <j@x.org> wrote in message news:a@b...\n------ not a header -----\n"
            "----- too close\n",
            kMany / 4) +
        "----- Original Message -----\nFrom: <j@x.org>\n";
    const Outcome out = ReformatLf(text);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.text, ToCrLf(text));
}

TEST_F(ReplyPathological, HugeSenderNameInATemplate) {
    const std::string name = Repeat("Jane %m%n\\n ", kMany);
    std::string block = kBlock;
    block.replace(block.find("Jane Doe"), 8, name);
    Settings options = Settings::Defaults();
    options.emailHeader.style = 4;
    std::copy_n(u"%n|%n\\n%m", 10, options.emailHeader.text);
    const Outcome out = ReformatLf("\n\n" + block + "> text", options);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.text, "\n" + name + "|" + name + "\njane@example.com\n> text");
}

TEST_F(ReplyPathological, ThousandsOfSignatureMarkers) {
    signatureList = {u"Bob\nExample Ltd."};
    Settings options = Settings::Defaults();
    options.cursorAtTop = 0;
    const Outcome out =
        ReformatLf("\n\n" + Repeat("<nimbrel-sig>\n", kMany) + kBlock + "> quoted", options);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.text, "Jane Doe wrote:\n> quoted\n\n\n" + Repeat("\nBob\nExample Ltd.", kMany));
    // userAreaEnd kMany + 2 (three blank lines), plus one extra line per signature.
    EXPECT_EQ(out.caretCount, kMany + 1 + kMany);
}

TEST_F(ReplyPathological, OneHugeUnquotedParagraph) {
    // 2 MB without a line break below the header: wrapped on its own.
    const std::string words = Repeat("lorem ipsum dolor sit amet ", 80000);
    const Outcome out = ReformatLf("\n\n" + kBlock + words);
    EXPECT_EQ(out.result, 4);
    std::size_t lines = 0;
    std::size_t longest = 0;
    std::size_t start = 0;
    const std::string body = out.text.substr(out.text.find("> "));
    for (std::size_t lf = body.find('\n'); start < body.size(); lf = body.find('\n', start)) {
        if (lf == std::string::npos) lf = body.size();
        ++lines;
        longest = std::max(longest, lf - start);
        EXPECT_EQ(body.compare(start, 2, "> "), 0);
        start = lf + 1;
    }
    EXPECT_LE(longest, 72u);
    EXPECT_GT(lines, words.size() / 72);
}

}  // namespace
}  // namespace nimbrel
