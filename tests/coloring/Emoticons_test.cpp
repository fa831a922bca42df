#include "coloring/Emoticons.h"

#include <gtest/gtest.h>

#include <vector>

#include "coloring/EmoticonReplacer.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

const String kPrefix = EmoticonImagePrefix(u"C:\\Nimbrel", u'\\');
const String kSmile = kPrefix + u"smile.gif\">";

String Replace(String html, const std::vector<EmoticonEntry>& table) {
    ReplaceEmoticons(html, table, kPrefix);
    return html;
}

TEST(EmoticonImagePrefix, InstallDirectoryThenEmoticonsFolder) {
    EXPECT_EQ(EmoticonImagePrefix(u"C:\\Program Files\\Nimbrel", u'\\'),
              u"<IMG src=\"C:\\Program Files\\Nimbrel\\emoticons\\");
    EXPECT_EQ(EmoticonImagePrefix(u"/opt/nimbrel", u'/'), u"<IMG src=\"/opt/nimbrel/emoticons/");
    EXPECT_EQ(EmoticonImagePrefix(u"/a&b\"c", u'/'), u"<IMG src=\"/a&amp;b&quot;c/emoticons/");
}

TEST(ReplaceEmoticons, OnlyWhereNoWordPathOrAddressTouchesTheCodeAndNeverInATag) {
    for (const std::vector<String>& c : LoadTable("smile"))
        EXPECT_EQ(Replace(c.at(0), {{u":-)", u"smile.gif"}}), c.at(1)) << Utf8(c[0]);
}

TEST(ReplaceEmoticons, TableOrderEmptyCodesAndRawAngleBrackets) {
    const std::vector<EmoticonEntry> table = {{u"", u"never.gif"},
                                              {u":-)", u"smile.gif"},
                                              {u":-", u"flat.gif"},
                                              {u"<3", u"heart.gif"},
                                              {u"&lt;3", u"heart.gif"}};
    EXPECT_EQ(Replace(u"a :-) b :- c &lt;3", table),
              u"a " + kSmile + u" b " + kPrefix + u"flat.gif\"> c " + kPrefix + u"heart.gif\">");
}

TEST(ReplaceEmoticons, FileNameCannotEndTheAttribute) {
    EXPECT_EQ(Replace(u":-)", {{u":-)", u"x\" onerror=\"alert(1)<b>"}}),
              kPrefix + u"x&quot; onerror=&quot;alert(1)&lt;b&gt;\">");
}

TEST(ReplaceEmoticonsPathological, ManyCodes) {
    String html;
    String expected;
    for (int i = 0; i < 100000; ++i) {
        html += u":-) ;-)";
        expected += kSmile + u" " + kPrefix + u"wink.gif\">";
    }
    EXPECT_EQ(Replace(html, {{u":-)", u"smile.gif"}, {u";-)", u"wink.gif"}}), expected);
}

// Replacing in the tail of a text: the text before it is left alone and its
// last character decides about a code at the tail's start.
TEST(EmoticonReplacer, ReplaceFromLeavesTheHeadAndReadsItsLastCharacter) {
    const std::vector<EmoticonEntry> table = {{u":-)", u"smile.gif"}, {u")", u"x.gif"}};
    EmoticonReplacer replacer(table, kPrefix);
    const String x = kPrefix + u"x.gif\">";
    struct Case {
        String head, tail, expected;
    };
    const std::vector<Case> cases = {
        {u":-) ", u":-)", kSmile},            // the head keeps its code
        {u"a", u":-) b", u":-" + x + u" b"},  // a letter before blocks
        {u"<BR>", u":-) b", kSmile + u" b"},  // a tag's '>' does not
        {u"", u"(:-)) <A HREF=\":-)\">", u"(" + kSmile + x + u" <A HREF=\":-)\">"},
        {u"x", u"no code here", u"no code here"},
    };
    for (const Case& c : cases) {
        String html = c.head + c.tail;
        replacer.ReplaceFrom(html, c.head.size());
        EXPECT_EQ(html, c.head + c.expected) << Utf8(c.tail);
    }
}

}  // namespace
}  // namespace nimbrel
