#include "ui/CLinkLabel.h"

#include <gtest/gtest.h>

#include "sim/SimDesktop.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(CLinkLabel, ErrorTextsByShellResult) {
    for (const std::vector<String>& c : LoadTable("shell_errors"))
        EXPECT_EQ(CLinkLabel::ErrorText(ToInt(c.at(0))), c.at(1)) << Utf8(c[0]);
}

TEST(CLinkLabel, FittedRectShrinksTheRectangleToTheText) {
    const Rect box{10, 20, 110, 40};
    for (const std::vector<String>& c : LoadTable("fitted_rect")) {
        std::uint32_t style = 0;
        if (c.at(3).find(u'r') != String::npos) style |= ss::kRight;
        if (c[3].find(u'c') != String::npos) style |= ss::kCenter;
        if (c[3].find(u'v') != String::npos) style |= ss::kCenterImage;
        const Rect fitted{ToInt(c.at(4)), ToInt(c.at(5)), ToInt(c.at(6)), ToInt(c.at(7))};
        EXPECT_EQ(CLinkLabel::FittedRect(box, Size{ToInt(c[1]), ToInt(c[2])}, style), fitted)
            << Utf8(c[0]);
    }
}

TEST(CLinkLabel, ColoursBeforeAndAfterSetColours) {
    SimDesktop desktop;
    CLinkLabel link(desktop.platform());
    EXPECT_EQ(link.TextColour(), Rgb(0, 0, 238));
    link.SetVisited(true);
    EXPECT_EQ(link.TextColour(), Rgb(85, 26, 139));
    link.SetColours(Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9));
    EXPECT_EQ(link.TextColour(), Rgb(4, 5, 6));
    link.SetVisited(false);
    EXPECT_EQ(link.TextColour(), Rgb(1, 2, 3));
    // A link that was never attached opens its URL all the same.
    link.SetURL(u"http://example.org/");
    link.OnClicked();
    ASSERT_EQ(desktop.shell.Calls().size(), 1u);
    EXPECT_EQ(desktop.shell.Calls()[0].file, u"http://example.org/");
    EXPECT_TRUE(link.Visited());
    EXPECT_TRUE(desktop.faults.Empty());
}

}  // namespace
}  // namespace nimbrel
