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
    // The three focus calls, in order, on `window`.
    void ExpectFocused(WindowHandle window) {
        const std::vector<SimFocusCall>& calls = desktop.windows.FocusCalls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].kind, SimFocusCall::Kind::kSetFocus);
        EXPECT_EQ(calls[1].kind, SimFocusCall::Kind::kSetActiveWindow);
        EXPECT_EQ(calls[2].kind, SimFocusCall::Kind::kSetForegroundWindow);
        for (const SimFocusCall& call : calls)
            EXPECT_EQ(call.window, window);
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

TEST_F(ComposeProcessorTest, NegativeDelaysFromADamagedConfigurationCountAsNone) {
    settings.compositionInitDelay = -1;
    settings.oeReactionDelay = -200;
    settings.useClipboard = 1;
    const OeNote reply = oe.OpenReply(kEmailReply);
    EXPECT_EQ(Process(reply), kComposeReformatted);
    EXPECT_EQ(desktop.clock.Now(), 0u);
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

// Whatever goes wrong after the copy keys, the message does not stay on the
// user's clipboard.
TEST_F(ClipboardPathTest, EveryFailureAfterTheCopyGivesTheUserHisTextBack) {
    const struct {
        const char* name;
        // Arranged before processing that starts at `t`: the copy happens
        // at t, the clipboard is opened at t + 200.
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

TEST_F(ClipboardPathTest, AnHtmlReplyGetsOneUpAndTheUserTextBack) {
    OeNoteOptions html;
    html.html = true;
    const OeNote reply = oe.OpenReply(
        u"<DIV>Fine by me.</DIV><BLOCKQUOTE>Are we still on for Thursday?</BLOCKQUOTE>", html);
    EXPECT_EQ(Process(reply), kComposeHtmlSkipped);
    EXPECT_EQ(TakeKeys(), Join({kCopyKeys, kUp}));
    EXPECT_EQ(ClipboardText(), u"the user's own text");
}

TEST_F(ClipboardPathTest, ACopySlowerThanTheReactionDelayLeavesTheMessageAlone) {
    // The editor takes the keys 300 ms late, after the clipboard is read.
    desktop.keyboard.SetInputLatency(300);
    const OeNote reply = oe.OpenReply(kEmailReply);
    EXPECT_EQ(Process(reply), kComposeGetError);
    desktop.Wait(1000);
    EXPECT_EQ(oe.BodyText(reply.note), kEmailReply + u" ") << "nothing pasted";
    EXPECT_EQ(TakeKeys(), kCopyKeys);
}

TEST_F(ClipboardPathTest, AFailedRestoreStillClosesTheClipboard) {
    const OeNote reply = oe.OpenReply(kEmailReply);
    // The last write (the user's text) cannot get its memory.
    desktop.clock.At(300, [this] { desktop.memory.FailNextAlloc(); });
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
