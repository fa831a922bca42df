#include "coloring/ViewPipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "coloring/EmoticonTable.h"
#include "coloring/Emoticons.h"
#include "coloring/HtmlEscape.h"
#include "coloring/HtmlKind.h"
#include "coloring/TextToHtml.h"
#include "fuzz/MarkupCheck.h"
#include "reformat/ViewReformat.h"
#include "shell/Utf.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

const String kPrefix = EmoticonImagePrefix(u"C:\\Nimbrel", u'\\');

class ViewGolden : public testing::TestWithParam<GoldenCase> {};

// Case keys: html (the input is a document's HTML, else plain text given with
// CR LF), isCompose, settings fields; section "emoticons" as in emoticons.ini.
TEST_P(ViewGolden, MatchesExpected) {
    const GoldenCase& golden = GetParam();
    const CStyleSheetInfo info(4);
    std::vector<EmoticonEntry> emoticons;
    if (golden.sections.count("emoticons"))
        ParseEmoticonTable(golden.Section("emoticons"), emoticons);
    const ViewResources resources{info, emoticons, kPrefix};
    const bool html = golden.params.count("html") && golden.IntParam("html") != 0;
    const bool isCompose = golden.params.count("isCompose") && golden.IntParam("isCompose") != 0;
    const String result =
        html ? ColorMessageHtml(Utf16(golden.Section("input")), isCompose, golden.settings,
                                resources)
             : ColorMessageText(Utf16(ToCrLf(golden.Section("input"))), golden.settings, resources);
    EXPECT_EQ(Utf8(result), golden.Section("expected"));
}

INSTANTIATE_TEST_SUITE_P(View, ViewGolden, testing::ValuesIn(LoadGoldenCases("coloring/view")),
                         GoldenCaseName);

TEST(HtmlKind, FormattedHtmlAndHtmlComposition) {
    for (StringView html : {u"a<FONT size=2>", u"<P>x", u"<IMG src=x>", u"<I>", u"<B>",
                            u"<FRAMESET>", u"<SCRIPT>", u"<OBJECT", u"<PRE>"})
        EXPECT_TRUE(IsFormattedHtml(html)) << Utf8(html);
    for (StringView html : {u"<FONT>", u"<b>", u"<p>", u"<BR>&gt; x", u"<DIV>text</DIV>"})
        EXPECT_FALSE(IsFormattedHtml(html)) << Utf8(html);
    EXPECT_TRUE(IsHtmlComposition(u"<DIV style=\"FONT: 10pt arial\">"));
    EXPECT_TRUE(IsHtmlComposition(u"<BLOCKQUOTE dir=ltr>"));
    EXPECT_FALSE(IsHtmlComposition(u"<DIV style=\"font: 10pt\"><blockquote>"));
    EXPECT_TRUE(IsColoredHtml(u"x<SPAN class=q0>y"));
    EXPECT_FALSE(IsColoredHtml(u"<span class=q0>"));
}

// What a browser shows of TextToHtml's output, as plain text.
String VisibleText(StringView html) {
    String text;
    for (std::size_t i = 0; i < html.size();) {
        const StringView rest = html.substr(i);
        if (rest.starts_with(u"<BR>")) {
            text += u'\n';
            i += 4;
        } else if (html[i] == u'<') {
            i = html.find(u'>', i) + 1;
        } else if (html[i] == u'&') {
            for (auto [entity, c] :
                 {std::pair{u"&lt;", u'<'}, std::pair{u"&gt;", u'>'}, std::pair{u"&amp;", u'&'},
                  std::pair{u"&quot;", u'"'}, std::pair{u"&nbsp;", u' '}}) {
                if (rest.starts_with(entity)) {
                    text += c;
                    i += StringView(entity).size();
                    break;
                }
            }
        } else {
            text += html[i++];
        }
    }
    return text;
}

std::vector<std::string> CorpusLines(const std::string& file) {
    const std::string bytes = ReadFileBytes(TestDataDir() + "/corpus/linkify-it/" + file);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string::npos) lf = bytes.size();
        std::string line = bytes.substr(pos, lf - pos);
        if (!line.empty() && line[0] != '%') lines.push_back(line);
        pos = lf + 1;
    }
    return lines;
}

TEST(LinkCorpus, AnchorsAreWellFormedAndNothingIsLost) {
    int linked = 0;
    for (const char* file : {"links.txt", "not_links.txt"}) {
        for (const std::string& line : CorpusLines(file)) {
            const String text = Utf16(line);
            const String html = TextToHtml(text);
            EXPECT_EQ(fuzz::MarkupError(html), "") << line;
            // "news:<id>" loses its brackets on purpose; everything else shows as written.
            if (line.find("news:") == std::string::npos) {
                EXPECT_EQ(VisibleText(html), text) << line;
            }
            linked += html.find(u"<A ") != String::npos;
        }
    }
    EXPECT_GT(linked, 40);
}

// The pipeline converts and marks up a plain-text message line by line; it
// must give what the stages give one after the other on the whole text:
// escaping, InsertLinks, ConvertLineBreaksAndSpaces, then FinishViewHtml.
TEST(ViewPipelineLines, SameAsTheStagesOnTheWholeText) {
    const CStyleSheetInfo info(3);
    const std::vector<EmoticonEntry> emoticons = {{u":-)", u"smile.gif"}, {u":)", u"smile.gif"},
                                                  {u";-)", u"wink.gif"},  {u"*grin*", u"g.gif"},
                                                  {u"&gt;:(", u"a.gif"},  {u"-)", u"x.gif"}};
    const ViewResources resources{info, emoticons, kPrefix};
    std::vector<String> inputs = {
        u"",
        u"\r\n",
        u"a\r\n\r\n",
        u"> a :-)\r\n>\r\n",
        u" lead  two   three\r\n  next\r\n",
        u"-- \r\nMe http://x.y/z :-)\r\n\r\nme@x.y\r\n> q www.q.r\r\n\r\n-- \r\n",
        u"see http://example.com/" + String(60, u'a') + u"\r\n/more/path :-) *b* _u_\r\n> x",
        u"<me@x.y>, &lt; & news:<1@x.y> www.a.b/c?d=1&e=2 (http://p.q/r). :-):-) ;-):)",
        u"*grin* *a :-) b* /i/ 2/3/4 ;-) a:-) :-)b >:( &gt;:(",
        // Candidates at the very start and end of the text.
        u"ab: x www.a.b/c",
        u"news:x me@",
        u"http:",
        u"http://example.com/" + String(60, u'a') + u"\r\n",
        // A signature whose end is known only some 100,000 units after its
        // last empty line, when the level changes: what lies between is
        // written out only then, with its end mark and anchors put right.
        u"-- \r\nMe\r\n\r\n" + Repeat(u"www.me.example *me* :-)\r\n", 4000) + u"> q\r\n",
    };
    // The corpora as two long messages (one call each, same coverage).
    String links;
    for (const std::string& line : CorpusLines("links.txt"))
        links += Utf16(line + "\r\n" + line + "\r\n");
    inputs.push_back(links);
    String mails;
    for (const auto& entry :
         std::filesystem::directory_iterator(TestDataDir() + "/corpus/email_reply_parser/emails"))
        mails += AnsiToUtf16(ReadFileBytes(entry.path().string())) + u"\r\n";
    inputs.push_back(mails);

    for (int variant = 0; variant < 16; ++variant) {
        Settings options = Settings::Defaults();
        options.reformatMessageView = variant & 1;
        options.colorMessageView = (variant >> 1) & 1;
        options.fontStyles = (variant >> 2) & 1;
        options.emoticons = (variant >> 3) & 1;
        options.keepStyleMarkers = variant & 1;
        for (const String& input : inputs) {
            // The corpora in five of the variants, which between them turn
            // every option on and off and include the defaults without the
            // view reformat.
            if (input.size() > 10000 && variant % 5 != 0 && variant != 14) continue;
            String plain = options.reformatMessageView != 0 ? input : FromCrLf(input);
            if (options.reformatMessageView != 0) ViewReformat(options, plain);
            String expected = EscapeText(plain);
            InsertLinks(expected);
            ConvertLineBreaksAndSpaces(expected);
            EXPECT_EQ(TextToHtml(plain), expected) << Utf8(input);
            FinishViewHtml(expected, false, options, resources);
            const String html = ColorMessageText(input, options, resources);
            EXPECT_EQ(html, expected) << "variant " << variant << ": " << Utf8(input);
            // Written out as it is made, in pieces.
            String written;
            StringSink sink(written);
            ColorMessageText(String(input), options, resources, sink);
            EXPECT_EQ(written, expected) << "variant " << variant << ": " << Utf8(input);
            // Font-style tags may cross; everything else must be well formed.
            EXPECT_EQ(fuzz::MarkupError(html), "") << "variant " << variant;
        }
    }
}

TEST(ViewPipelinePathological, LongQuoteMarkersAndWrappedAddresses) {
    const CStyleSheetInfo info(4);
    const std::vector<EmoticonEntry> emoticons = {{u":-)", u"smile.gif"}};
    const ViewResources resources{info, emoticons, kPrefix};
    Settings options = Settings::Defaults();
    options.reformatMessageView = 0;
    // One line of a million quote markers: level 1000000, class 0.
    String markers(1000000, u'>');
    String expected = u"<SPAN class=q0></span><span class=q0>";
    for (int i = 0; i < 1000000; ++i)
        expected += u"&gt;";
    EXPECT_EQ(ColorMessageText(markers + u" x", options, resources), expected + u" x");

    // 100,000 lines of a wrapped address: one link without the line breaks.
    const String piece = u"http://example.com/" + String(60, u'a') + u"/";
    String text = piece;
    String joined = piece;
    for (int i = 0; i < 100000; ++i) {
        text += u"\r\n" + String(70, u'b') + u"/";
        joined += String(70, u'b') + u"/";
    }
    EXPECT_EQ(ColorMessageText(text, options, resources),
              u"<SPAN class=q0><A class=0 HREF=\"" + joined + u"\">" + joined + u"</A>");
}

}  // namespace
}  // namespace nimbrel
