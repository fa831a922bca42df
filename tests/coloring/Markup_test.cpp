#include <gtest/gtest.h>

#include <vector>

#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

class MarkupGolden : public testing::TestWithParam<GoldenCase> {};

// Case keys: styleCount (default 4), isCompose (default 0), settings fields;
// an optional section "emoticons" holds lines of code TAB image.
TEST_P(MarkupGolden, MatchesExpected) {
    const GoldenCase& golden = GetParam();
    const CStyleSheetInfo info(golden.params.count("styleCount") ? golden.IntParam("styleCount")
                                                                 : 4);
    const bool isCompose = golden.params.count("isCompose") && golden.IntParam("isCompose") != 0;
    std::vector<EmoticonEntry> emoticons;
    if (golden.sections.count("emoticons"))
        ParseEmoticonTable(golden.Section("emoticons"), emoticons);
    String html = Utf16(golden.Section("input"));
    info.MarkupLines(html, isCompose, golden.settings, emoticons);
    EXPECT_EQ(Utf8(html), golden.Section("expected"));
}

INSTANTIATE_TEST_SUITE_P(Markup, MarkupGolden,
                         testing::ValuesIn(LoadGoldenCases("coloring/markup")), GoldenCaseName);

String Markup(String html, const Settings& options = Settings::Defaults()) {
    CStyleSheetInfo(4).MarkupLines(html, false, options, {});
    return html;
}

TEST(MarkupLinesPathological, ManyLines) {
    const String html =
        Markup(Repeat(u"&gt; *a* <A HREF=\"x\">y</A><BR>b /c/<BR>-- <BR><BR>_d_<BR>", 100000));
    const String block =
        u"</span><span class=q1>&gt; <B>a</B> <A class=1 HREF=\"x\">y</A><BR>"
        u"</span><span class=q0>b <I>c</I><BR></span><span class=sig>-- <BR>";
    // The signature of each block ends at its empty line when the next
    // block's quote arrives; the last one stays open.
    const String ended = block + u"</span><span class=q0><BR><U>d</U><BR>";
    EXPECT_EQ(html, Repeat(ended, 99999) + block + u"<BR><U>d</U><BR>");
}

TEST(MarkupLinesPathological, LongLinesOfMarkers) {
    const String markers = Repeat(u"*_", 2500000);  // 5 MB of '*' and '_'
    EXPECT_EQ(Markup(markers), markers);
    const std::size_t n = 500000;
    EXPECT_EQ(Markup(Repeat(u"*a* _b_ ", n / 4)), Repeat(u"<B>a</B> <U>b</U> ", n / 4));
    EXPECT_EQ(Markup(Repeat(u"*a _b* c_ ", n / 5)), Repeat(u"<B>a <U>b</B> c</U> ", n / 5));
    // An underline open across a line full of bold pairs moves with each one.
    EXPECT_EQ(Markup(u"_x " + Repeat(u"*a* ", n / 2) + u"y_"),
              u"<U>x " + Repeat(u"<B>a</B> ", n / 2) + u"y</U>");
    Settings keep = Settings::Defaults();
    keep.keepStyleMarkers = 1;
    EXPECT_EQ(Markup(u"_x " + Repeat(u"*a* ", n / 2) + u"y_", keep),
              u"<U>_x " + Repeat(u"<B>*a*</B> ", n / 2) + u"y_</U>");
    const String lt = Repeat(u"<", n);
    EXPECT_EQ(Markup(lt), lt);
}

}  // namespace
}  // namespace nimbrel
