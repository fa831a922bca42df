#include "ui/CLinkLabel.h"

#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"

namespace nimbrel {
namespace {

TEST(CLinkLabel, ErrorTextsByShellResult) {
    const struct {
        std::intptr_t code;
        const char16_t* text;
    } cases[] = {
        {0, u"The operating system is out\nof memory or resources."},
        {2, u"The specified file was not found."},
        {3, u"The specified path was not found."},
        {5, u"The operating system denied\naccess to the specified file."},
        {8, u"There was not enough memory to complete the operation."},
        {11, u"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, u"A sharing violation occurred. "},
        {27, u"The filename association is\nincomplete or invalid."},
        {28, u"The DDE transaction could not\nbe completed because the request timed out."},
        {29, u"The DDE transaction failed."},
        {30,
         u"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         u"being processed."},
        {31, u"There is no application associated\nwith the given filename extension."},
        {32, u"The specified dynamic-link library was not found."},
        {4, u"Unknown Error (4) occurred."},
        {1, u"Unknown Error (1) occurred."},
        {-7, u"Unknown Error (-7) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLinkLabel::ErrorText(c.code), c.text) << c.code;
}

TEST(CLinkLabel, FittedRectShrinksTheRectangleToTheText) {
    const Rect box{10, 20, 110, 40};  // 100 x 20
    const struct {
        const char* what;
        Size text;
        std::uint32_t style;
        Rect fitted;
    } cases[] = {
        {"left-aligned", {60, 13}, 0, {10, 20, 70, 33}},
        {"right-aligned", {60, 13}, ss::kRight, {50, 20, 110, 33}},
        {"centred", {60, 13}, ss::kCenter, {30, 20, 90, 33}},
        {"centred, odd spare: half of 39 is 19", {61, 13}, ss::kCenter, {29, 20, 90, 33}},
        {"centred vertically, half of 7 is 3", {60, 13}, ss::kCenterImage, {10, 23, 70, 36}},
        {"both centred", {40, 10}, ss::kCenter | ss::kCenterImage, {40, 25, 80, 35}},
        // A text larger than the box widens it to the text's whole size (an
        // odd excess once lost a pixel and the text wrapped).
        {"centred, text wider than the box", {109, 13}, ss::kCenter, {6, 20, 115, 33}},
        {"centred vertically, text taller", {60, 25}, ss::kCenterImage, {10, 18, 70, 43}},
        {"left-aligned, text wider", {130, 13}, 0, {10, 20, 140, 33}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLinkLabel::FittedRect(box, c.text, c.style), c.fitted) << c.what;
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
