// The watcher's round in the simulated desktop: which windows it handles,
// when, and what the status list and the user see.
#include "compose/Watcher.h"

#include <gtest/gtest.h>

#include "shell/App.h"
#include "shell/Settings.h"
#include "support/WatchScenario.h"

namespace nimbrel {
namespace {

using WatcherTest = WatchScenario;

const String kLatencyGetError =
    u"A latency error (get error) occurred.\nThe message was not processed.\nTry increasing the "
    u"delay settings in advanced options,\n especially the Message Composition Init Delay (see "
    u"docs)!";

// ---------------------------------------------------------------- compose windows

// Get and put errors are recorded like processed windows (not tried again);
// with warnings on, the latency box comes first.
TEST_F(WatcherTest, ClipboardErrorsAreListedOnceWithTheLatencyBoxWhenWarningsAreOn) {
    settings.useClipboard = 1;
    const struct {
        const char* name;
        std::int32_t displayWarnings;
        bool getError;
    } cases[] = {
        {"get error, warnings", 1, true},
        {"get error, no warnings", 0, true},
        {"put error, warnings", 1, false},
        {"put error, no warnings", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.rows.clear();
        desktop.messageBoxes.Clear();
        settings.displayWarnings = c.displayWarnings;
        const OeNote reply = oe.OpenReply(kEmailReply);
        if (c.getError) {
            const std::uint64_t t = desktop.clock.Now();
            // Between the copy (t + 50) and the reading (t + 250).
            desktop.clock.At(t + 150,
                             [this] { desktop.clipboard.HoldOpenFor(kOtherProcess, 650); });
        } else {
            desktop.clipboard.FailNextSetData();
        }
        Tick();
        const String status = c.getError ? u"get error" : u"put error";
        EXPECT_EQ(host.rows, (std::vector<StatusRow>{{u"Re: Test", status}}));
        if (c.displayWarnings != 0) {
            ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
            const SimMessageBox& box = desktop.messageBoxes.Shown()[0];
            EXPECT_EQ(box.text, LatencyErrorText(status));
            EXPECT_EQ(box.caption, u"Nimbrel Error");
            EXPECT_EQ(box.flags, 0x1030u);
            EXPECT_FALSE(box.ansi);
        } else {
            EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
        }
        // Not tried again, though the trouble is gone.
        desktop.Wait(1000);
        Tick();
        EXPECT_EQ(host.rows.size(), 1u);
        oe.Close(reply.note);
        Tick();
    }
    EXPECT_EQ(LatencyErrorText(u"get error"), kLatencyGetError);
}

TEST_F(WatcherTest, TicksWhileTheLatencyBoxIsOpenReturnAtOnce) {
    settings.useClipboard = 1;
    desktop.clipboard.FailNextSetData();
    oe.OpenReply(kEmailReply);
    OeNoteOptions second;
    second.title = u"Re: second";
    // The user reads the box for three seconds; the timer keeps firing.
    desktop.messageBoxes.Answer(mb::kIdOk, 3000);
    desktop.clock.At(1000, [&] { oe.OpenReply(kNewsReply, second); });
    RunTimerFor(300);
    EXPECT_EQ(Statuses(), std::vector<String>{u"put error"});
    EXPECT_EQ(host.controlReads, 1) << "no nested tick ran";
    EXPECT_TRUE(watcher->busy == 0);
    // Once the box is gone the next tick sees the second window.
    RunTimerFor(300);
    EXPECT_EQ(Statuses(), (std::vector<String>{u"put error", u"processed (q)"}));
}

// ---------------------------------------------------------------- the Alt rule

TEST_F(WatcherTest, TheAltRuleLeavesNewWindowsAloneForGood) {
    const struct {
        std::int32_t altFunction;
        bool altHeld;
        bool ignored;
    } cases[] = {
        {1, true, true},  {1, false, false}, {2, false, true}, {2, true, false},
        {0, true, false}, {0, false, false}, {3, true, false}, {-1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "altFunction " << c.altFunction << ", Alt " << (c.altHeld ? "held" : "up"));
        host.rows.clear();
        settings.altFunction = c.altFunction;
        desktop.HoldAlt(c.altHeld);
        const OeNote reply = oe.OpenReply(kEmailReply);
        Tick();
        EXPECT_EQ(Statuses(), std::vector<String>{c.ignored ? u"ignored (Alt)" : u"processed (q)"});
        // The other state of Alt, and a new title, change nothing.
        desktop.HoldAlt(!c.altHeld);
        oe.TypeSubject(reply.note, u"Re: other");
        Tick();
        if (c.ignored) {
            EXPECT_EQ(host.rows.size(), 1u);
            EXPECT_EQ(oe.BodyText(reply.note), kEmailReply);
        }
        oe.Close(reply.note);
        desktop.HoldAlt(false);
        Tick();
    }
}

// ---------------------------------------------------------------- window lifetime

TEST_F(WatcherTest, AWindowClosedWhileItIsProcessedDoesNotMakeTheWatcherForgetTheOthers) {
    // The user opens a reply with Alt held, to keep OE's own quoting.
    desktop.HoldAlt(true);
    const OeNote kept = oe.OpenReply(kEmailReply);
    Tick();
    desktop.HoldAlt(false);
    // Another reply, closed again during its init delay.
    settings.compositionInitDelay = 100;
    const OeNote brief = oe.OpenReply(kNewsReply, Titled(u"Re: brief"));
    desktop.clock.At(desktop.clock.Now() + 50, [&] { oe.Close(brief.note); });
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(host.rows, (std::vector<StatusRow>{{u"Re: Test", u"ignored (Alt)"}}));
    EXPECT_EQ(oe.BodyText(kept.note), kEmailReply);
}

// ---------------------------------------------------------------- messages and the preview pane

TEST_F(WatcherTest, APreviewStillLoadingIsColouredWhenItIsComplete) {
    const WindowHandle view = oe.ShowInPreview(kPlainMessage, false, 500);
    Tick();
    EXPECT_EQ(lastColoredView, kNoWindow);
    desktop.Wait(500);
    Tick();
    EXPECT_EQ(lastColoredView, view);
    EXPECT_EQ(oe.BodyHtml(view).rfind(u"<SPAN class=q0>", 0), 0u);
}

TEST_F(WatcherTest, UnderTheAltRuleThePreviewStaysUncoloured) {
    desktop.HoldAlt(true);
    const WindowHandle view = oe.ShowInPreview(kPlainMessage);
    const String html = oe.BodyHtml(view);
    Tick();
    EXPECT_EQ(lastAltView, view);
    EXPECT_EQ(oe.BodyHtml(view), html);
    // Letting Alt go does not colour the message shown.
    desktop.HoldAlt(false);
    Tick();
    EXPECT_EQ(oe.BodyHtml(view), html);

    // With continuous colouring the message gets the done mark instead, so
    // the later ticks leave it alone too.
    settings.continuousColoring = 1;
    desktop.HoldAlt(true);
    const WindowHandle next = oe.ShowInPreview(u"Next\r\n> quoted");
    const String nextHtml = oe.BodyHtml(next);
    Tick();
    EXPECT_EQ(oe.Document(next).title, std::optional<String>(u"Nimbrel"));
    desktop.HoldAlt(false);
    Tick();
    Tick();
    EXPECT_EQ(oe.BodyHtml(next), nextHtml);
    EXPECT_EQ(lastColoredView, next) << "offered, and left alone by the done mark";
}

// ---------------------------------------------------------------- OE going away, suspension

TEST_F(WatcherTest, TheProgramEndsWhenOeHasGoneAndNoNoteWindowIsLeft) {
    // Without dependOnOE the program outlives OE, with no second look.
    settings.dependOnOE = 0;
    oe.Exit();
    Tick();
    EXPECT_EQ(app.running, 1);
    EXPECT_EQ(desktop.clock.Now(), 0u);

    // OE coming back within the second look keeps the program.
    settings.dependOnOE = 1;
    desktop.clock.At(300, [this] { oe.Start(OeMainWindowClass::kNewsStore); });
    Tick();
    Tick();
    EXPECT_EQ(app.running, 1);

    // A note window that outlives OE's main window keeps the program running.
    oe.Exit();
    const WindowHandle left =
        desktop.windows.Create(u"ATH_NOTE", u"Re: left", kNoWindow, kOeProcess);
    Tick();
    Tick();
    EXPECT_EQ(app.running, 1);
    desktop.windows.Destroy(left);
    const int readsBefore = host.controlReads;
    const std::uint64_t before = desktop.clock.Now();
    Tick();
    EXPECT_EQ(desktop.clock.Now() - before, 500u) << "the second look";
    EXPECT_EQ(app.running, 0);
    EXPECT_EQ(host.controlReads, readsBefore + 1) << "EndProgram read the controls";
}

TEST_F(WatcherTest, WhileSuspendedNothingIsHandledButOeLeavingStillEndsTheProgram) {
    watcher->suspended = 1;
    const OeNote reply = oe.OpenReply(kEmailReply);
    const WindowHandle view = oe.ShowInPreview(kPlainMessage);
    const String html = oe.BodyHtml(view);
    RunTimerFor(1000);
    EXPECT_TRUE(host.rows.empty());
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReply);
    EXPECT_EQ(oe.BodyHtml(view), html);
    EXPECT_EQ(host.controlReads, 0);

    oe.Exit();
    RunTimerFor(1000);
    EXPECT_EQ(app.running, 0);
}

TEST_F(WatcherTest, OnlyAWindowWithEnvelopeAndComboBoxIsAComposeWindow) {
    EXPECT_TRUE(IsComposeWindow(desktop.windows, oe.OpenReply(u"x").note));
    EXPECT_FALSE(IsComposeWindow(desktop.windows, oe.OpenMessage(u"x").note));
    const WindowHandle note = desktop.windows.Create(u"ATH_NOTE", u"t", kNoWindow, kOeProcess);
    const WindowHandle envelope = desktop.windows.Create(u"OE_Envelope", u"", note, kOeProcess);
    EXPECT_FALSE(IsComposeWindow(desktop.windows, note));
    // The combo box must be the envelope's own child.
    const WindowHandle other = desktop.windows.Create(u"Static", u"", envelope, kOeProcess);
    desktop.windows.Create(u"ComboBox", u"", other, kOeProcess);
    EXPECT_FALSE(IsComposeWindow(desktop.windows, note));
    desktop.windows.Create(u"ComboBox", u"", envelope, kOeProcess);
    EXPECT_TRUE(IsComposeWindow(desktop.windows, note));
}

TEST_F(WatcherTest, ANewWindowThatGetsAClosedWindowsHandleIsNew) {
    desktop.windows.SetHandleReuse(true);
    const OeNote first = oe.OpenReply(kEmailReply);
    Tick();
    oe.Close(first.note);
    Tick();
    EXPECT_EQ(trackedWindows.Size(), 0u) << "forgotten in the first tick after it closed";

    // Same handle, same title.
    const OeNote second = oe.OpenReply(kNewsReply);
    ASSERT_EQ(second.note, first.note);
    Tick();
    EXPECT_EQ(Statuses(), (std::vector<String>{u"processed (q)", u"processed (q)"}));
    EXPECT_EQ(oe.BodyText(second.note),
              u"\r\nJane Doe wrote:\r\n> Has anyone tried the new driver?\r\n> It crashes on my "
              u"machine.");
}

TEST_F(WatcherTest, AMessageWindowShowingTheNextMessageIsColouredAgain) {
    const OeNote message = oe.OpenMessage(kPlainMessage, Titled(u"Lunch"));
    Tick();
    // The reader goes to the next message in the same window; OE loads a new
    // document, and later its title follows.
    desktop.documents.Attach(message.documentWindow)->SetInnerText(u"Next\r\n> quoted");
    Tick();
    EXPECT_EQ(host.rows,
              (std::vector<StatusRow>{{u"Lunch", u"processed (c)"}, {u"Lunch", u"processed (c)"}}));
    EXPECT_EQ(oe.BodyHtml(message.note).rfind(u"<SPAN class=q0>Next", 0), 0u);
    EXPECT_EQ(trackedWindows.Size(), 2u) << "the new record goes behind the old one";
    Tick();
    EXPECT_EQ(trackedWindows.Size(), 1u) << "the younger duplicate is dropped";

    oe.TypeSubject(message.note, u"Next");
    desktop.documents.Attach(message.documentWindow)->SetInnerText(u"Third");
    Tick();
    ASSERT_EQ(host.rows.size(), 3u);
    EXPECT_EQ(host.rows[2], (StatusRow{u"Next", u"processed (c)"}));
    ASSERT_EQ(trackedWindows.Size(), 1u);
    EXPECT_EQ(trackedWindows[0].title, u"Next");
    EXPECT_EQ(trackedWindows[0].retitled, 1);
}

}  // namespace
}  // namespace nimbrel
