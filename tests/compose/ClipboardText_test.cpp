#include "compose/ClipboardText.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/SimDesktop.h"

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
    ClipboardText clipboard{desktop.platform()};
};

TEST_F(ClipboardTextTest, ReadsTheTextAnotherProgramCopied) {
    ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"h\u00e9llo\r\nworld"));
    String text = u"old";
    EXPECT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"h\u00e9llo\r\nworld");
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
}

TEST_F(ClipboardTextTest, WaitsForAnotherProgramToLetGo) {
    ASSERT_TRUE(desktop.clipboard.HoldOpenFor(kOtherProcess, 300));
    EXPECT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_TRUE(clipboard.IsOpened());
    EXPECT_EQ(desktop.clock.Now(), 300u);
    EXPECT_EQ(desktop.clipboard.OpenedBy(), kProgramProcess);
    clipboard.ReadFormat(cf::kText);  // closes it
}

TEST_F(ClipboardTextTest, GivesUpWhenAnotherProgramHoldsItPastTheDeadline) {
    // The clock reads just below the 32-bit wrap in the second case: the
    // elapsed time must still be counted across it.
    for (const std::uint32_t start : {1000u, 0xFFFFFF00u}) {
        SCOPED_TRACE(start);
        SimDesktop held;
        held.clock.SetTimeGetTime(start);
        ASSERT_TRUE(held.clipboard.HoldOpen(kOtherProcess));
        ClipboardText text(held.platform());
        EXPECT_TRUE(text.OpenWithTimeout(500));
        EXPECT_FALSE(text.IsOpened());
        // It gives up at the first reading that shows more than 500 ms.
        EXPECT_EQ(held.clock.Now(), 501u);
    }
}

TEST_F(ClipboardTextTest, OpensAcrossTheWrapOfTheClock) {
    desktop.clock.SetTimeGetTime(0xFFFFFFF0u);
    ASSERT_TRUE(desktop.clipboard.HoldOpenFor(kOtherProcess, 100));
    EXPECT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(desktop.clock.Now(), 100u);
    clipboard.ReadFormat(cf::kText);
}

TEST_F(ClipboardTextTest, ATimeoutOfZeroStillTries) {
    EXPECT_FALSE(clipboard.OpenWithTimeout(0));
    EXPECT_EQ(desktop.clipboard.OpenAttempts(), 1);
    clipboard.ReadFormat(cf::kText);

    desktop.clipboard.HoldOpen(kOtherProcess);
    ClipboardText zero(desktop.platform());
    const int before = desktop.clipboard.OpenAttempts();
    EXPECT_TRUE(zero.OpenWithTimeout(0));
    EXPECT_GE(desktop.clipboard.OpenAttempts() - before, 1);
    EXPECT_LE(desktop.clock.Now(), 1u);
    // A negative timeout (a damaged setting) must not wait for ever either.
    EXPECT_TRUE(zero.OpenWithTimeout(-5));
    EXPECT_LE(desktop.clock.Now(), 2u);
}

TEST_F(ClipboardTextTest, ASecondOpenReturnsAtOnce) {
    EXPECT_FALSE(clipboard.OpenWithTimeout(500));
    const int attempts = desktop.clipboard.OpenAttempts();
    EXPECT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(desktop.clipboard.OpenAttempts(), attempts);
    clipboard.ReadFormat(cf::kText);
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
}

TEST_F(ClipboardTextTest, WithoutHtmlFormatTheClipboardStaysOpenForTheText) {
    ASSERT_TRUE(desktop.clipboard.PutText(kOeProcess, u"plain reply "));
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    const int attempts = desktop.clipboard.OpenAttempts();

    EXPECT_EQ(clipboard.ReadHtmlFormat(), -1);
    EXPECT_TRUE(clipboard.IsOpened());
    EXPECT_EQ(desktop.clipboard.OpenedBy(), kProgramProcess);

    String text;
    EXPECT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"plain reply ");
    EXPECT_EQ(desktop.clipboard.OpenAttempts(), attempts);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
}

TEST_F(ClipboardTextTest, OnlyTheExactNameIsHtmlFormat) {
    // Registered names keep the spelling of their first registration.
    const std::uint32_t lower = desktop.clipboard.RegisterClipboardFormatW(u"html format");
    ASSERT_EQ(lower, HtmlFormat());
    ASSERT_TRUE(desktop.clipboard.Put(kOtherProcess, {{lower, std::string("<B>x</B>\0", 9)}}));
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(clipboard.ReadHtmlFormat(), -1);
    EXPECT_EQ(clipboard.HeldText(), u"");
    clipboard.ReadFormat(cf::kText);  // absent: fails, but closes
}

TEST_F(ClipboardTextTest, ReadHtmlFormatOnAClosedClipboardFindsNothing) {
    ASSERT_TRUE(desktop.clipboard.Put(kOeProcess, {{HtmlFormat(), std::string("<P>\0", 4)}}));
    EXPECT_EQ(clipboard.ReadHtmlFormat(), -1);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
}

TEST_F(ClipboardTextTest, AFailedReadKeepsTheTexts) {
    ASSERT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"first"));
    String text;
    ASSERT_FALSE(clipboard.ReadText(text));

    ASSERT_TRUE(desktop.clipboard.Put(kOtherProcess, {{HtmlFormat(), std::string("<P>\0", 4)}}));
    String output = u"previous";
    EXPECT_TRUE(clipboard.ReadText(output));
    EXPECT_EQ(output, u"previous");
    EXPECT_EQ(clipboard.HeldText(), u"first");
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());

    desktop.clipboard.HoldOpen(kOtherProcess);
    EXPECT_TRUE(clipboard.ReadText(output));
    EXPECT_EQ(desktop.clipboard.OpenedBy(), kOtherProcess);  // never ours to close
}

TEST_F(ClipboardTextTest, DataWithoutATerminatorEndsWithItsBlock) {
    ASSERT_TRUE(desktop.clipboard.Put(kOtherProcess, {{cf::kText, "no terminator"}}));
    String text;
    EXPECT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"no terminator");
}

TEST_F(ClipboardTextTest, WritingReplacesEveryFormatAndClosesTheClipboard) {
    ASSERT_TRUE(desktop.clipboard.Put(kOeProcess, {{HtmlFormat(), std::string("<P>\0", 4)},
                                                   {cf::kText, std::string("old\0", 4)}}));
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    EXPECT_EQ(clipboard.WriteText(u"new text\r\n"), 0);
    EXPECT_FALSE(clipboard.IsOpened());
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    EXPECT_EQ(desktop.clipboard.Data(cf::kText), std::string("new text\r\n\0", 11));
    EXPECT_FALSE(desktop.clipboard.IsClipboardFormatAvailable(HtmlFormat()));

    // Without a prior open, and the held text of a read.
    ASSERT_FALSE(clipboard.ReadFormat(cf::kText));
    EXPECT_EQ(clipboard.WriteHeldText(), 0);
    EXPECT_EQ(desktop.clipboard.Text(), u"new text\r\n");
}

TEST_F(ClipboardTextTest, CharactersOutsideTheCodePageBecomeItsReplacementCharacter) {
    desktop.codePage.Set(SimCodePage::Kind::kWindows1252);
    EXPECT_EQ(clipboard.WriteText(u"\u20ac 5 \u263a \U0001D11E \u00e9 \u0081"), 0);
    EXPECT_EQ(desktop.clipboard.Data(cf::kText), std::string("\x80 5 ? ? \xe9 \x81\0", 12));
    String text;
    ASSERT_FALSE(clipboard.ReadText(text));
    EXPECT_EQ(text, u"\u20ac 5 ? ? \u00e9 \u0081");
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
}

TEST_F(ClipboardTextTest, AFailedOpenWriteKeepsTheOpenedFlag) {
    ASSERT_FALSE(clipboard.OpenWithTimeout(500));
    desktop.memory.FailNextAlloc();
    EXPECT_EQ(clipboard.WriteText(u"reply"), 1);
    EXPECT_TRUE(clipboard.IsOpened());
    EXPECT_EQ(clipboard.WriteText(u"reply"), 0);
    EXPECT_FALSE(clipboard.IsOpened());
}

TEST_F(ClipboardTextTest, ARefusedBlockIsFreedAndReported) {
    desktop.clipboard.FailNextSetData();
    EXPECT_EQ(clipboard.WriteText(u"reply"), 4);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    EXPECT_FALSE(desktop.clipboard.Text().has_value());
}

}  // namespace
}  // namespace nimbrel
