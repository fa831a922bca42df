#include "compose/ClipboardText.h"

#include <gtest/gtest.h>

#include <functional>

#include "sim/SimDesktop.h"

namespace nimbrel {
namespace {

class ClipboardTextTest : public ::testing::Test {
  protected:
    ~ClipboardTextTest() override {
        EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
        EXPECT_EQ(desktop.memory.ProgramBlocks(), 0u) << "leaked global memory";
    }

    std::uint32_t HtmlFormat() {
        return desktop.clipboard.RegisterClipboardFormatW(u"HTML Format");
    }

    SimDesktop desktop;
    WindowHandle owner = desktop.windows.Create(u"#32770", u"", kNoWindow, kProgramProcess);
    ClipboardText clipboard{desktop.platform(), owner};
};

TEST_F(ClipboardTextTest, OpenWaitsForAnotherProgramUpToTheDeadline) {
    // Some clocks start just below the 32-bit wrap: the elapsed time must be
    // counted across it. A hold of -1 lasts for ever; a timeout of zero (or a
    // negative one from a damaged setting) still tries, and never waits.
    const struct {
        std::uint32_t start;
        int hold;
        std::int32_t timeout;
        bool fails;
        std::uint64_t after;
    } cases[] = {
        {0, 0, 500, false, 0},
        {0, 300, 500, false, 300},
        {1000, -1, 500, true, 501},
        {0xFFFFFF00u, -1, 500, true, 501},
        {0xFFFFFFF0u, 100, 500, false, 100},
        {0, 0, 0, false, 0},
        {0, -1, 0, true, 1},
        {0, -1, -5, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.start << " hold " << c.hold << " timeout " << c.timeout);
        SimDesktop held;
        held.clock.SetTimeGetTime(c.start);
        if (c.hold > 0) {
            ASSERT_TRUE(held.clipboard.HoldOpenFor(kOtherProcess, c.hold));
        } else if (c.hold < 0) {
            ASSERT_TRUE(held.clipboard.HoldOpen(kOtherProcess));
        }
        ClipboardText text(held.platform(),
                           held.windows.Create(u"#32770", u"", kNoWindow, kProgramProcess));
        EXPECT_EQ(text.OpenWithTimeout(c.timeout), c.fails);
        EXPECT_EQ(text.IsOpened(), !c.fails);
        EXPECT_EQ(held.clock.Now(), c.after);
        EXPECT_GE(held.clipboard.OpenAttempts(), 1);
        if (c.fails) continue;
        EXPECT_EQ(held.clipboard.OpenedBy(), kProgramProcess);
        // A second open returns at once.
        const int attempts = held.clipboard.OpenAttempts();
        EXPECT_FALSE(text.OpenWithTimeout(500));
        EXPECT_EQ(held.clipboard.OpenAttempts(), attempts);
        text.ReadFormat(cf::kText);  // closes it
        EXPECT_FALSE(held.clipboard.OpenedBy().has_value());
    }
}

TEST_F(ClipboardTextTest, ReadsTheTextAnotherProgramCopiedAndFailsWithoutOne) {
    ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"h\u00e9llo\r\nworld"));
    String text = u"old";
    EXPECT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"h\u00e9llo\r\nworld");
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    // Data without a terminator ends with its block.
    ASSERT_TRUE(desktop.clipboard.Put(kOtherProcess, {{cf::kText, "no terminator"}}));
    EXPECT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"no terminator");

    // A failed read keeps the texts.
    ASSERT_TRUE(desktop.clipboard.Put(kOtherProcess, {{HtmlFormat(), std::string("<P>\0", 4)}}));
    String output = u"previous";
    EXPECT_TRUE(clipboard.ReadText(output));
    EXPECT_EQ(output, u"previous");
    EXPECT_EQ(clipboard.HeldText(), u"no terminator");
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    // On a closed clipboard HTML Format is not found.
    EXPECT_EQ(clipboard.ReadHtmlFormat(), -1);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    desktop.clipboard.HoldOpen(kOtherProcess);
    EXPECT_TRUE(clipboard.ReadText(output));
    EXPECT_EQ(desktop.clipboard.OpenedBy(), kOtherProcess);  // never ours to close
}

TEST_F(ClipboardTextTest, FindsHtmlFormatAmongTheOtherFormats) {
    const std::uint32_t rtf = desktop.clipboard.RegisterClipboardFormatW(u"Rich Text Format");
    const std::string html = "Version:0.9\r\n<BLOCKQUOTE>quoted</BLOCKQUOTE>";
    ASSERT_TRUE(desktop.clipboard.Put(kOeProcess, {{rtf, std::string("{\\rtf1}\0", 8)},
                                                   {cf::kText, std::string("quoted\0", 7)},
                                                   {HtmlFormat(), html + '\0'}}));
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(clipboard.ReadHtmlFormat(), 0);
    EXPECT_EQ(clipboard.HeldText(), u"Version:0.9\r\n<BLOCKQUOTE>quoted</BLOCKQUOTE>");
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());

    // Registered names keep the spelling of their first registration: a
    // format first registered as "html format" is not HTML Format.
    SimDesktop other;
    ClipboardText text(other.platform(),
                       other.windows.Create(u"#32770", u"", kNoWindow, kProgramProcess));
    const std::uint32_t lower = other.clipboard.RegisterClipboardFormatW(u"html format");
    ASSERT_EQ(lower, other.clipboard.RegisterClipboardFormatW(u"HTML Format"));
    ASSERT_TRUE(other.clipboard.Put(kOtherProcess, {{lower, std::string("<B>x</B>\0", 9)}}));
    ASSERT_FALSE(text.OpenWithTimeout(500));
    EXPECT_EQ(text.ReadHtmlFormat(), -1);
    EXPECT_EQ(text.HeldText(), u"");
    text.ReadFormat(cf::kText);  // absent: fails, but closes
    EXPECT_FALSE(other.clipboard.OpenedBy().has_value());
}

TEST_F(ClipboardTextTest, WritingReplacesEveryFormatAndClosesTheClipboard) {
    ASSERT_TRUE(desktop.clipboard.Put(kOeProcess, {{HtmlFormat(), std::string("<P>\0", 4)},
                                                   {cf::kText, std::string("old\0", 4)}}));
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(clipboard.WriteText(u"new text\r\n"), 0);
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    EXPECT_EQ(desktop.clipboard.Owner(), owner);
    EXPECT_EQ(desktop.clipboard.Formats().front(), cf::kUnicodeText);
    EXPECT_EQ(desktop.clipboard.Data(cf::kText), std::string("new text\r\n\0", 11));
    EXPECT_FALSE(desktop.clipboard.IsClipboardFormatAvailable(HtmlFormat()));

    // Without a prior open, and the held text of a read.
    ASSERT_FALSE(clipboard.ReadFormat(cf::kText));
    EXPECT_EQ(clipboard.WriteHeldText(), 0);
    EXPECT_EQ(desktop.clipboard.Text(), u"new text\r\n");

    // Characters outside the code page come back whole; only a program that
    // asks for CF_TEXT gets the code page's replacement characters.
    desktop.codePage.Set(SimCodePage::Kind::kWindows1252);
    const String wide = u"\u20ac 5 \u263a \U0001D11E \u00e9 \u0081";
    EXPECT_EQ(clipboard.WriteText(wide), 0);
    EXPECT_EQ(desktop.clipboard.Data(cf::kText), std::string("\x80 5 ? ? \xe9 \x81\0", 12));
    String text;
    ASSERT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, wide);

    // Opened for no window, the emptied clipboard refuses the data.
    ClipboardText ownerless(desktop.platform(), kNoWindow);
    EXPECT_EQ(ownerless.WriteText(u"lost"), 4);
    EXPECT_FALSE(desktop.clipboard.Text().has_value());
}

TEST_F(ClipboardTextTest, AFailedWriteLeavesTheClipboardAsItWas) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        int result;
    };
    const Case cases[] = {
        {"no memory", [&] { desktop.memory.FailNextAlloc(); }, 1},
        {"no lock", [&] { desktop.memory.FailNextLock(); }, 2},
        {"held by another program", [&] { desktop.clipboard.HoldOpen(kOtherProcess); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"user's text"));
        c.prepare();
        EXPECT_EQ(clipboard.WriteText(u"reply"), c.result);
        desktop.clipboard.Close(kOtherProcess);
        EXPECT_EQ(desktop.clipboard.Text(), u"user's text");
        EXPECT_FALSE(clipboard.IsOpened());
    }
    // A block the clipboard refuses is freed (the fixture checks) and reported.
    desktop.clipboard.FailNextSetData();
    EXPECT_EQ(clipboard.WriteText(u"reply"), 4);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    EXPECT_FALSE(desktop.clipboard.Text().has_value());
    // A failed write on a clipboard opened before keeps it open.
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    desktop.memory.FailNextAlloc();
    EXPECT_EQ(clipboard.WriteText(u"reply"), 1);
    EXPECT_TRUE(clipboard.IsOpened());
    EXPECT_EQ(clipboard.WriteText(u"reply"), 0);
    EXPECT_FALSE(clipboard.IsOpened());
}

}  // namespace
}  // namespace nimbrel
