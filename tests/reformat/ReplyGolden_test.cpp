// Golden cases of the reply reformat (tests/data/reformat/reply/*.case):
//   result = R           expected result code
//   caretCount = C       expected caret count (default 0)
//   seed = N             seed of the random generator (default 1)
//   mode = compose       run the whole compose text transformation instead
//   === input            the reply, LF line breaks (given to the engine as CR LF)
//   === expected         the output (LF); not needed when the result is 1
//   === signatures       the content of signatures.ini (default: none)
// and below them the quote header's own tables (sender, header lines).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "compose/ComposeText.h"
#include "fuzz/ReplyCheck.h"
#include "reformat/QuoteHeader.h"
#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "shell/CrtRandom.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

std::string Param(const GoldenCase& golden, const std::string& key, const std::string& fallback) {
    const auto it = golden.params.find(key);
    return it == golden.params.end() ? fallback : it->second;
}

class ReplyGolden : public testing::TestWithParam<GoldenCase> {
  protected:
    void TearDown() override { ResetSignatures(); }
};

TEST_P(ReplyGolden, Reformat) {
    const GoldenCase& golden = GetParam();
    ResetSignatures();
    if (golden.sections.count("signatures") != 0) {
        signatureList = ParseSignatures(golden.Section("signatures"));
    }
    signaturesLoaded = 1;
    crtRandom.Seed(static_cast<std::uint32_t>(std::stoul(Param(golden, "seed", "1"))));

    const String input = Utf16(ToCrLf(golden.Section("input")));
    String text = input;
    std::int32_t caretCount = -1;
    std::int32_t result = 0;
    if (Param(golden, "mode", "reply") == "compose") {
        result = TransformComposeText(golden.settings, text, caretCount);
    } else {
        ReplyFormatter formatter(golden.settings);
        result = formatter.Reformat(text, caretCount);
    }
    EXPECT_EQ(result, golden.IntParam("result"));
    EXPECT_EQ(caretCount, std::stoi(Param(golden, "caretCount", "0")));
    if (result == ReplyFormatter::kNothingDone) {
        EXPECT_EQ(text, input);
        return;
    }
    EXPECT_EQ(FromCrLf(Utf8(text)), golden.Section("expected"));

    if (result == kComposeSignatureOnly) return;

    // A reformatted reply has no client header left: a second run does nothing.
    String again = Utf16(ToCrLf(FromCrLf(Utf8(text))));
    const String before = again;
    ReplyFormatter second(golden.settings);
    std::int32_t secondCaret = 0;
    EXPECT_EQ(second.Reformat(again, secondCaret), ReplyFormatter::kNothingDone);
    EXPECT_EQ(again, before);

    // What the reformat must keep of the quote.
    if (const auto parts = fuzz::SplitReply(Utf16(golden.Section("input")))) {
        EXPECT_EQ(fuzz::ReplyChecker(golden.settings).Check(*parts), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplyGolden, testing::ValuesIn(LoadGoldenCases("reformat/reply")),
                         GoldenCaseName);

TEST(QuoteHeader, ParseSender) {
    for (const std::vector<String>& c : LoadTable("sender")) {
        const bool refused = c.at(1) == u"refused";
        HeaderFields fields;
        fields.nameMissing = 1;
        EXPECT_EQ(ParseSender(c[0], fields), refused) << Utf8(c[0]);
        // Cleared on a refused text too.
        EXPECT_EQ(fields.nameMissing, refused ? 0 : ToInt(c.at(3))) << Utf8(c[0]);
        if (refused) continue;
        EXPECT_EQ(fields.name, c[1]) << Utf8(c[0]);
        EXPECT_EQ(fields.mail, c.at(2)) << Utf8(c[0]);
    }
}

TEST(QuoteHeader, BuildQuoteHeader) {
    for (const std::vector<String>& c : LoadTable("build_header")) {
        const HeaderFields fields{c.at(0), c.at(1), c.at(2), c.at(3),
                                  static_cast<std::uint8_t>(ToInt(c.at(4)))};
        EXPECT_EQ(BuildQuoteHeader(fields, ToInt(c.at(5)), c.at(6)), c.at(7))
            << "style " << Utf8(c[5]) << ", template " << Utf8(c[6]);
    }
}

TEST(QuoteHeader, TemplateTextStopsAtTheArray) {
    QuoteHeaderSetting setting{};
    std::fill(std::begin(setting.text), std::end(setting.text), u'x');
    EXPECT_EQ(TemplateText(setting).size(), static_cast<std::size_t>(kTemplateUnits));
    setting.text[3] = 0;
    EXPECT_EQ(TemplateText(setting), u"xxx");
}

}  // namespace
}  // namespace nimbrel
