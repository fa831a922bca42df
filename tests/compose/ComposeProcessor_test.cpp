// Processing one compose window, as the user of Outlook Express sees it: the
// text in the window, the caret, the keys that reached it and the clipboard.
#include "compose/ComposeProcessor.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/Settings.h"
#include "support/WatchScenario.h"

namespace nimbrel {
namespace {

// A key event as the tests compare them: virtual key, scan code, release.
struct KeyStroke {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
    bool up;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
    friend void PrintTo(const KeyStroke& key, std::ostream* out) {
        *out << "{vk " << int{key.virtualKey} << ", scan " << int{key.scanCode}
             << (key.up ? ", up}" : ", down}");
    }
};

// Keys as the compose processing must send them.
std::vector<KeyStroke> Single(std::uint8_t virtualKey, std::uint8_t scanCode) {
    return {{virtualKey, scanCode, false}, {virtualKey, scanCode, true}};
}
std::vector<KeyStroke> Chord(std::uint8_t virtualKey, std::uint8_t scanCode) {  // Ctrl + key
    return {{vk::kControl, 0x1D, false},
            {virtualKey, scanCode, false},
            {vk::kControl, 0x1D, true},
            {virtualKey, scanCode, true}};
}
std::vector<KeyStroke> Join(std::initializer_list<std::vector<KeyStroke>> parts) {
    std::vector<KeyStroke> all;
    for (const std::vector<KeyStroke>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<KeyStroke> kCtrlHome = Chord(vk::kHome, 0x47);
const std::vector<KeyStroke> kUp = Single(vk::kUp, 0x48);
const std::vector<KeyStroke> kCopyKeys = Join(
    {Chord(vk::kEnd, 0x4F), Single(vk::kSpace, 0x39), Chord(vk::kA, 0x1E), Chord(vk::kC, 0x2E)});
const std::vector<KeyStroke> kPaste = Chord(vk::kV, 0x2F);

class ComposeProcessorTest : public WatchScenario {
  protected:
    // The keys the program pressed since the last call, and forgets them.
    std::vector<KeyStroke> TakeKeys() {
        std::vector<KeyStroke> keys;
        for (const SimKeyEvent& event : desktop.keyboard.Events())
            keys.push_back(
                {event.virtualKey, event.scanCode, (event.flags & keyevent::kKeyUp) != 0});
        desktop.keyboard.ClearEvents();
        return keys;
    }
    ComposeResult Process(const OeNote& note, StringView title = u"Re: Test") {
        return ProcessComposeWindow(*watcher, note.note, title);
    }
    // The three focus calls, in order, on `window`; with the program's input
    // attached to OE's thread, each works.
    void ExpectFocused(WindowHandle window) {
        const std::vector<SimFocusCall>& calls = desktop.windows.FocusCalls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].kind, SimFocusCall::Kind::kSetFocus);
        EXPECT_EQ(calls[1].kind, SimFocusCall::Kind::kSetActiveWindow);
        EXPECT_EQ(calls[2].kind, SimFocusCall::Kind::kSetForegroundWindow);
        for (const SimFocusCall& call : calls) {
            EXPECT_EQ(call.window, window);
            EXPECT_TRUE(call.succeeded);
        }
    }
    // Another program's window comes to the front (the user clicks it).
    WindowHandle OtherProgramInFront() {
        const WindowHandle other =
            desktop.windows.Create(u"Notepad", u"notes", kNoWindow, kOtherProcess);
        desktop.windows.Activate(other);
        return other;
    }
};

// ---------------------------------------------------------------- document path

TEST_F(ComposeProcessorTest, TheCaretGoesWhereTheUserWillWrite) {
    // The user's area (signature) moves below the quote; with the caret at
    // the bottom it goes up three lines from the end, into the blank lines
    // above the signature.
    const String withSignature =
        u"\r\n\r\n-- \r\nBob Smith | bob@example.org\r\n" + kEmailReply.substr(4);
    const struct {
        const char* name;
        std::int32_t cursorAtTop;
        const char16_t* title;
        std::vector<KeyStroke> keys;
    } cases[] = {
        {"at the top", 1, u"Re: Test", kCtrlHome},
        {"at the bottom", 0, u"Re: Test", Join({kUp, kUp, kUp})},
        {"only the value 1 means top", 2, u"Re: Test", {}},
        {"forward", 1, u"Fw: Test", {}},
        {"forward, bottom", 0, u"Fw: Test", {}},
        {"FW: is not a forward", 1, u"FW: Test", kCtrlHome},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.cursorAtTop = c.cursorAtTop;
        const OeNote reply = oe.OpenReply(withSignature);
        EXPECT_EQ(Process(reply, c.title), kComposeReformatted);
        EXPECT_EQ(TakeKeys(), c.keys);
        if (&c == &cases[0]) {  // brought forward first, once
            ExpectFocused(reply.note);
            EXPECT_EQ(oe.CaretLine(reply.note), 0);
        }
        oe.Close(reply.note);
    }
}

TEST_F(ComposeProcessorTest, AnUnfinishedOrUnreachableDocumentIsNotReady) {
    OeNoteOptions loading;
    loading.completeDelay = 1000;
    const OeNote slow = oe.OpenReply(kEmailReply, loading);
    EXPECT_EQ(Process(slow), kComposeNotReady);
    EXPECT_EQ(oe.BodyText(slow.note), kEmailReply);

    // No document at all (OE has not built it yet).
    const WindowHandle bare = desktop.windows.Create(u"ATH_NOTE", u"Re: x", kNoWindow, kOeProcess);
    EXPECT_EQ(ProcessComposeWindow(*watcher, bare, u"Re: x"), kComposeNotReady);

    // A hung editor: given up at once, not after the message time-out.
    const OeNote hung = oe.OpenReply(kEmailReply);
    desktop.windows.Get(hung.documentWindow)->hung = true;
    const std::uint64_t before = desktop.clock.Now();
    EXPECT_EQ(Process(hung), kComposeNotReady);
    EXPECT_EQ(desktop.clock.Now(), before);

    // An empty body.
    const OeNote empty = oe.OpenReply(u"");
    EXPECT_EQ(Process(empty), kComposeNotReady);

    // A document without a body yet: the document reached is let go again.
    const OeNote bodiless = oe.OpenReply(kEmailReply);
    oe.Document(bodiless.note).hasBody = false;
    EXPECT_EQ(Process(bodiless), kComposeNotReady);
    EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u);

    EXPECT_TRUE(TakeKeys().empty());
    desktop.Wait(1000);
    EXPECT_EQ(Process(slow), kComposeReformatted);
}

// A client that rejects calls for a while (a menu or dialog of its own open)
// is tried again for up to 2 s; a call it does not answer within 1 s is given
// up. A write that failed so is a put error, never a processed message: it
// may land later, or not at all.
TEST_F(ComposeProcessorTest, CallsIntoABusyClientAreBoundedAndAFailedWriteIsAnError) {
    const struct {
        const char* name;
        std::uint64_t busy;
        std::uint64_t writeDelay;
        HResult putResult;
        ComposeResult result;
        std::uint64_t takes;      // ms, at most
        const String& bodyAfter;  // once the client is done
    } cases[] = {
        {"busy a while", 700, 0, hr::kOk, kComposeReformatted, 800, kEmailReplyDone},
        {"busy too long", 5000, 0, hr::kOk, kComposeNotReady, 2100, kEmailReply},
        {"write refused", 0, 0, hr::kCallRejected, kComposePutError, 0, kEmailReply},
        {"write not done in time", 0, 4000, hr::kOk, kComposePutError, 1100, kEmailReplyDone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OeNote reply = oe.OpenReply(kEmailReply);
        oe.Document(reply.note).writeDelay = c.writeDelay;
        oe.Document(reply.note).putResult = c.putResult;
        const std::uint64_t start = desktop.clock.Now();
        desktop.documents.SetBusyUntil(start + c.busy);
        EXPECT_EQ(Process(reply), c.result);
        EXPECT_LE(desktop.clock.Now() - start, c.takes);
        desktop.Wait(5000);
        EXPECT_EQ(oe.BodyText(reply.note), c.bodyAfter);
        oe.Close(reply.note);
    }
}

TEST_F(ComposeProcessorTest, NegativeDelaysFromADamagedConfigurationCountAsNone) {
    settings.compositionInitDelay = -1;
    settings.oeReactionDelay = -200;
    settings.useClipboard = 1;
    const OeNote reply = oe.OpenReply(kEmailReply);
    EXPECT_EQ(Process(reply), kComposeReformatted);
    // Only the window's stay in front before the keys.
    EXPECT_EQ(desktop.clock.Now(), 50u);
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReplyDone);
}

TEST_F(ComposeProcessorTest, ColoursTheComposeWindowWhenAsked) {
    settings.colorComposeWindow = 1;
    const OeNote reply = oe.OpenReply(kEmailReply);
    EXPECT_EQ(Process(reply), kComposeReformatted);
    const String html = oe.BodyHtml(reply.note);
    EXPECT_EQ(html.rfind(u"<SPAN class=q0>", 0), 0u) << "coloured";
    EXPECT_NE(html.find(u"class=q1"), String::npos);
    EXPECT_EQ(oe.Document(reply.note).styleSheets.size(), 1u);
    // A compose window gets no done mark.
    EXPECT_NE(oe.Document(reply.note).title, std::optional<String>(u"Nimbrel"));

    // Also when the text itself stays.
    const OeNote plain = oe.OpenReply(u"Dear Jane,\r\n\r\nthanks.");
    EXPECT_EQ(Process(plain), kComposeUnchanged);
    EXPECT_EQ(oe.BodyHtml(plain.note).rfind(u"<SPAN class=q0>", 0), 0u);
}

// ---------------------------------------------------------------- clipboard path

class ClipboardPathTest : public ComposeProcessorTest {
  protected:
    ClipboardPathTest() {
        settings.useClipboard = 1;
        desktop.clipboard.PutText(kOtherProcess, u"the user's own text");
    }
    String ClipboardText() { return desktop.clipboard.Text().value_or(u"(none)"); }
};

// ---------------------------------------------------------------- the window in front

// While another program is in front (Windows refuses the foreground to one
// in the background) no key goes out, into that program least of all. The
// clipboard path leaves everything as it was, the user's clipboard too, and
// takes the reply once the user is back in it; the document path puts the
// text in without the caret keys.
TEST_F(ComposeProcessorTest, NoKeyGoesOutWhileAnotherProgramIsInFront) {
    const std::uint32_t rtf = desktop.clipboard.RegisterClipboardFormatW(u"Rich Text Format");
    const struct {
        const char* name;
        std::int32_t useClipboard;
        ComposeResult result;
        const String& body;
    } cases[] = {
        {"document", 0, kComposeReformatted, kEmailReplyDone},
        {"clipboard", 1, kComposeNotReady, kEmailReply},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.useClipboard = c.useClipboard;
        ASSERT_TRUE(desktop.clipboard.Put(
            kOtherProcess, {{rtf, std::string("{\\rtf1 mine}\0", 13)},
                            {cf::kUnicodeText, SimClipboard::UnicodeTextBytes(u"mine")}}));
        const std::vector<std::uint32_t> userFormats = desktop.clipboard.Formats();
        const OeNote reply = oe.OpenReply(kEmailReply);
        const WindowHandle other = OtherProgramInFront();

        EXPECT_EQ(Process(reply), c.result);
        EXPECT_TRUE(TakeKeys().empty());
        EXPECT_EQ(oe.BodyText(reply.note), c.body);
        EXPECT_EQ(desktop.clipboard.Formats(), userFormats);
        EXPECT_EQ(desktop.windows.Foreground(), other);

        // The user goes back to the reply.
        desktop.windows.Destroy(other);
        if (c.useClipboard != 0) {
            EXPECT_EQ(Process(reply), kComposeReformatted);
            EXPECT_EQ(oe.BodyText(reply.note), kEmailReplyDone);
            EXPECT_EQ(TakeKeys(), Join({kCopyKeys, kPaste, kCtrlHome}));
            EXPECT_EQ(desktop.clipboard.Text(), u"mine");
        }
        oe.Close(reply.note);
    }
}

// Whatever goes wrong after the copy keys, the message does not stay on the
// user's clipboard.
TEST_F(ClipboardPathTest, EveryFailureAfterTheCopyGivesTheUserHisTextBack) {
    const struct {
        const char* name;
        // Arranged before processing that starts at `t`: the copy happens
        // at t + 50 (the window has been in front that long), the clipboard
        // is opened at t + 250.
        std::function<void(SimDesktop&, std::uint64_t t)> arrange;
        ComposeResult result;
    } cases[] = {
        {"another program holds the clipboard past the time-out",
         [](SimDesktop& d, std::uint64_t t) {
             d.clock.At(t + 100, [&d] { d.clipboard.HoldOpenFor(kOtherProcess, 800); });
         },
         kComposeGetError},
        {"the copied text cannot be read",
         [](SimDesktop& d, std::uint64_t t) {
             d.clock.At(t + 100, [&d] { d.memory.FailNextLock(); });
         },
         kComposeGetError},
        {"the copied text is empty",
         [](SimDesktop& d, std::uint64_t t) {
             d.clock.At(t + 100, [&d] { d.clipboard.PutText(kOtherProcess, u""); });
         },
         kComposeNotReady},
        {"no memory for the new text",
         [](SimDesktop& d, std::uint64_t) { d.memory.FailNextAlloc(); }, kComposePutError},
        {"the clipboard refuses the new text",
         [](SimDesktop& d, std::uint64_t) { d.clipboard.FailNextSetData(); }, kComposePutError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OeNote reply = oe.OpenReply(kEmailReply);
        c.arrange(desktop, desktop.clock.Now());

        EXPECT_EQ(Process(reply), c.result);
        desktop.Wait(1000);  // any other program lets go
        EXPECT_EQ(ClipboardText(), u"the user's own text");
        EXPECT_EQ(oe.BodyText(reply.note), kEmailReply + u" ") << "nothing pasted";
        EXPECT_NE(desktop.clipboard.OpenedBy(), kProgramProcess);
        oe.Close(reply.note);
    }
}

// Another program (a clipboard manager, a remote desktop's clipboard sync)
// holds the clipboard as the run starts and lets go at some moment, or
// puts its own text there: the message ends as it was (with the typed
// Space at most) or as a correct reformat, and the user's clipboard text as
// it was; nothing else, whatever the moment.
TEST_F(ClipboardPathTest, AClipboardHeldByAnotherProgramNeverCostsTheMessageOrTheUserText) {
    const String& untouched = kEmailReply;
    const String typed = kEmailReply + u" ";
    const struct {
        const char* name;
        // From the start of the run (the clipboard time-out is 500 ms), or
        // the moment the program closes the clipboard for the `afterCloses`th
        // time: after saving the user's text, emptying, reading the copy.
        std::uint64_t heldAt;
        int afterCloses;
        std::uint64_t heldFor;
        ComposeResult result;
        const String& body;
    } cases[] = {
        {"held through the whole run", 0, 0, 5000, kComposeNotReady, untouched},
        {"taken between the save and the emptying", 10, 0, 5000, kComposeNotReady, untouched},
        {"let go before the copy", 0, 0, 300, kComposeReformatted, kEmailReplyDone},
        {"held between the emptying and the copy", 30, 0, 20, kComposeReformatted,
         kEmailReplyDone},
        {"held between the copy and the read", 100, 0, 100, kComposeReformatted, kEmailReplyDone},
        {"held from before the read past the time-out", 100, 0, 900, kComposeGetError, typed},
        {"held after the read, through the paste", 0, 3, 2000, kComposePutError, typed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OeNote reply = oe.OpenReply(kEmailReply);
        const std::uint64_t start = desktop.clock.Now();
        const auto hold = [&] { desktop.clipboard.HoldOpenFor(kOtherProcess, c.heldFor); };
        if (c.afterCloses != 0) {
            desktop.clipboard.AfterProgramCloses(c.afterCloses, hold);
        } else if (c.heldAt == 0) {
            hold();
        } else {
            desktop.clock.At(start + c.heldAt, hold);
        }
        EXPECT_EQ(Process(reply), c.result);
        desktop.Wait(6000);  // the other program lets go
        EXPECT_EQ(oe.BodyText(reply.note), c.body);
        EXPECT_EQ(ClipboardText(), u"the user's own text");
        const bool keys = !TakeKeys().empty();
        EXPECT_EQ(keys, c.result != kComposeNotReady) << "no key at all when not ready";
        oe.Close(reply.note);
    }
}

// A copy that never came (the editor too slow) while another program put
// its own text on the emptied clipboard: that text is not the message and
// is not pasted over it.
TEST_F(ClipboardPathTest, AnotherProgramsTextIsNeverPastedOverTheMessage) {
    desktop.keyboard.SetInputLatency(300);
    const OeNote reply = oe.OpenReply(kEmailReply);
    desktop.clock.At(desktop.clock.Now() + 100,
                     [this] { desktop.clipboard.PutText(kOtherProcess, u"a manager's text"); });
    EXPECT_EQ(Process(reply), kComposeGetError);
    desktop.Wait(1000);
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReply + u" ");
    EXPECT_EQ(ClipboardText(), u"the user's own text");
}

// The user takes another program between the copy and the paste: nothing is
// pasted there or anywhere, and the reply waits for a later tick.
TEST_F(ClipboardPathTest, AReplyLeftBeforeThePasteIsNotPastedAnywhere) {
    const OeNote reply = oe.OpenReply(kEmailReply);
    WindowHandle other = kNoWindow;
    desktop.clock.At(100, [&] { other = OtherProgramInFront(); });
    EXPECT_EQ(Process(reply), kComposeNotReady);
    EXPECT_EQ(TakeKeys(), kCopyKeys);
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReply + u" ");
    EXPECT_EQ(ClipboardText(), u"the user's own text");
    EXPECT_EQ(desktop.windows.Foreground(), other);
}

TEST_F(ClipboardPathTest, AnHtmlReplyGetsOneUpAndTheUserTextBack) {
    OeNoteOptions html;
    html.html = true;
    const OeNote reply = oe.OpenReply(
        u"<DIV>Fine by me.</DIV><BLOCKQUOTE>Are we still on for Thursday?</BLOCKQUOTE>", html);
    EXPECT_EQ(Process(reply), kComposeHtmlSkipped);
    EXPECT_EQ(TakeKeys(), Join({kCopyKeys, kUp}));
    EXPECT_EQ(ClipboardText(), u"the user's own text");
}

TEST_F(ClipboardPathTest, AFailedRestoreStillClosesTheClipboard) {
    const OeNote reply = oe.OpenReply(kEmailReply);
    // The last write (the user's text, after the paste at 300) cannot get
    // its memory.
    desktop.clock.At(400, [this] { desktop.memory.FailNextAlloc(); });
    EXPECT_EQ(Process(reply), kComposeReformatted);
    EXPECT_FALSE(desktop.clipboard.OpenedBy().has_value());
    // Another program can use the clipboard.
    EXPECT_TRUE(desktop.clipboard.PutText(kOtherProcess, u"later"));
}

TEST_F(ClipboardPathTest, ANewMessageIsSignedWithoutMovingTheCaret) {
    const OeNote message = oe.OpenReply(kNewMessageMarker);
    EXPECT_EQ(Process(message), kComposeSignatureOnly);
    // The signature replaced the marker; the Space typed before the copy
    // ends the new last line.
    EXPECT_EQ(oe.BodyText(message.note), kNewMessageSigned + u" ");
    EXPECT_EQ(TakeKeys(), Join({kCopyKeys, kPaste}));
    EXPECT_EQ(ClipboardText(), u"the user's own text");
}

}  // namespace
}  // namespace nimbrel
