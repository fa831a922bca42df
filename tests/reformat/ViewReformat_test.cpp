// The view reformat on whole messages: golden cases in tests/data/reformat/view
// and a real reply from the corpus.
#include "reformat/ViewReformat.h"

#include <gtest/gtest.h>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

class ViewReformatGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(ViewReformatGolden, Output) {
    const GoldenCase& golden = GetParam();
    String text = Utf16(ToCrLf(golden.Section("input")));
    ViewReformat(golden.settings, text);
    EXPECT_EQ(Utf8(text), golden.Section("expected"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewReformatGolden,
                         testing::ValuesIn(LoadGoldenCases("reformat/view")), GoldenCaseName);

// email_long_quote.txt from email_reply_parser (MIT, see LICENSE beside it):
// a reply with a line of 58,968 '>' and one of "A" and 707,605 '>'.
TEST(ViewReformat, CorpusReplyWithHugeQuoteDepth) {
    const std::string dir = TestDataDir() + "/corpus/email_reply_parser/";
    const std::string bytes = ReadFileBytes(dir + "email_long_quote.txt");
    ASSERT_EQ(bytes.size(), 766900u);
    const String input = Utf16(ToCrLf(bytes));

    const std::string head =
        "Hi folks\n\nWhat is the best way to clear a Riak bucket of all key, values after\n"
        "running a test?\n";
    const std::string tail =
        "I am currently using the Java HTTP API.\n\n-Abhishek Kona\n\n\n"
        "_______________________________________________\n"
        "riak-users mailing list\n"
        "riak-users@lists.basho.com\n"
        "http://lists.basho.com/mailman/listinfo/riak-users_lists.basho.com";

    // Standard compressed prefixes: the initial goes, one space is added.
    Settings options = Settings::Defaults();
    String text = input;
    ViewReformat(options, text);
    EXPECT_EQ(Utf8(text), head + std::string(58968, '>') + " \nasdf\n" + std::string(707605, '>') +
                              " \n" + tail);

    // Standard prefixes with spaces: "> " per level, never wrapped.
    options.compressedIndentation = 0;
    options.reformatArbitraryLength = 0;
    text = input;
    ViewReformat(options, text);
    std::string spaced = head;
    for (int i = 0; i < 58968; ++i)
        spaced += "> ";
    spaced += "\nasdf\n";
    for (int i = 0; i < 707605; ++i)
        spaced += "> ";
    EXPECT_EQ(Utf8(text), spaced + "\n" + tail);

    // Own prefixes: the text comes back as it was, LF for CR LF.
    options.standardizedIndentation = 0;
    text = input;
    ViewReformat(options, text);
    std::string expected = bytes;
    while (expected.back() == '\n')
        expected.pop_back();
    EXPECT_EQ(Utf8(text), expected);
}

}  // namespace
}  // namespace nimbrel
