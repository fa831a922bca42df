#include "compose/ComposeProcessor.h"

#include <algorithm>
#include <optional>

#include "coloring/HtmlKind.h"
#include "compose/AnsweringWait.h"
#include "compose/ClipboardText.h"
#include "shell/App.h"
#include "shell/Settings.h"

namespace nimbrel {

namespace {

// Keys of a standard keyboard: virtual key and scan code.
struct Key {
    std::uint8_t virtualKey;
    std::uint8_t scanCode;
};
constexpr Key kCtrl{vk::kControl, 0x1D};
constexpr Key kEnd{vk::kEnd, 0x4F};
constexpr Key kHome{vk::kHome, 0x47};
constexpr Key kUp{vk::kUp, 0x48};
constexpr Key kSpace{vk::kSpace, 0x39};
constexpr Key kA{vk::kA, 0x1E};
constexpr Key kC{vk::kC, 0x2E};
constexpr Key kV{vk::kV, 0x2F};

// Whether a copied text ends with the Space typed before the copy (line
// breaks after it, which an editor may add, aside). An empty text is left
// to the caller: it means not ready.
bool EndsWithTypedSpace(StringView text) {
    const std::size_t last = text.find_last_not_of(u"\r\n");
    return text.empty() || (last != StringView::npos && text[last] == u' ');
}

// How long the user's clipboard text waits for another program's hold at
// the most.
constexpr std::int32_t kRestoreTimeout = 5000;

std::uint32_t Delay(std::int32_t milliseconds) {
    return static_cast<std::uint32_t>(std::max(milliseconds, 0));
}

// How often the foreground window is looked at while waiting for the compose
// window to come to the front, and how long it must then stay there: a
// window that takes the foreground back at once when it loses it is seen
// before a key goes out, and the editor has had its activation.
constexpr std::uint32_t kForegroundPoll = 10;    // ms
constexpr std::uint32_t kForegroundSettle = 50;  // ms

// The input of the program's thread attached to another thread's for as long
// as the object lives.
class InputAttachment {
  public:
    InputAttachment(WindowSystem& windows_, std::uint32_t ours_, std::uint32_t theirs_)
        : windows(windows_),
          ours(ours_),
          theirs(theirs_),
          attached(theirs_ != 0 && theirs_ != ours_ &&
                   windows_.AttachThreadInput(ours_, theirs_, true)) {}
    ~InputAttachment() {
        if (attached) windows.AttachThreadInput(ours, theirs, false);
    }
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;

  private:
    WindowSystem& windows;
    std::uint32_t ours;
    std::uint32_t theirs;
    bool attached;
};

// One run of the sequence: the window, the desktop, and the clipboard state
// of the clipboard path.
class ComposeRun {
  public:
    ComposeRun(CMessageColorer& watcher_, WindowHandle window_)
        : watcher(watcher_),
          platform(watcher_.GetPlatform()),
          window(window_),
          clipboard(platform, app.mainWindow) {}

    ComposeResult Run(StringView windowText);

  private:
    void Press(Key key) {
        platform.keyboard.keybd_event(key.virtualKey, key.scanCode, 0, 0);
        platform.keyboard.keybd_event(key.virtualKey, key.scanCode, keyevent::kKeyUp, 0);
    }
    void PressWithCtrl(Key key) {
        platform.keyboard.keybd_event(kCtrl.virtualKey, kCtrl.scanCode, 0, 0);
        platform.keyboard.keybd_event(key.virtualKey, key.scanCode, 0, 0);
        platform.keyboard.keybd_event(kCtrl.virtualKey, kCtrl.scanCode, keyevent::kKeyUp, 0);
        platform.keyboard.keybd_event(key.virtualKey, key.scanCode, keyevent::kKeyUp, 0);
    }
    // SetFocus, SetActiveWindow and SetForegroundWindow, with the program's
    // input attached to the window's thread, without which the first two do
    // nothing to another program's window. A window that does not answer is
    // not attached to: the focus calls would wait for it.
    void Focus();
    // Focus, then waits (up to `oeReactionDelay` plus the settle time) until
    // the window is in front and has stayed there kForegroundSettle ms. The
    // foreground lock of Windows refuses SetForegroundWindow to a program in
    // the background, so while the user works in another window it stays
    // there; keys sent then would go to that window.
    bool BringToFront();
    // Whether keys sent now reach the window.
    bool InFront() { return platform.windows.GetForegroundWindow() == window; }
    // Every wait of the run answers messages sent to the program's windows.
    void Wait(std::uint32_t milliseconds) { WaitAnsweringMessages(platform, milliseconds); }

    // Take the message's text; a result when the run ends there.
    std::optional<ComposeResult> TakeFromDocument(String& text);
    std::optional<ComposeResult> TakeFromClipboard(String& text);
    // Leaves the clipboard path after the copy keys with `result`, the user's
    // text back on the clipboard.
    ComposeResult GiveUpAfterCopy(ComposeResult result);
    // Opens the clipboard within the timeout and writes the user's saved text
    // back; the clipboard is closed afterwards even when the write failed.
    void RestoreUserText();

    CMessageColorer& watcher;
    Platform& platform;
    WindowHandle window;
    ClipboardText clipboard;
    String savedText;
};

ComposeResult ComposeRun::Run(StringView windowText) {
    const bool viaClipboard = settings.useClipboard != 0;
    CHtmlDocAccess& document = watcher.composeDoc;
    Wait(Delay(settings.compositionInitDelay));

    String text;
    const std::optional<ComposeResult> ended =
        viaClipboard ? TakeFromClipboard(text) : TakeFromDocument(text);
    if (ended) return *ended;
    if (text.empty()) {
        if (viaClipboard) return GiveUpAfterCopy(kComposeNotReady);
        document.Release();
        return kComposeNotReady;
    }

    std::int32_t caretCount = 0;
    const ComposeResult result = TransformComposeText(settings, text, caretCount);

    const bool forward = windowText.substr(0, 3) == u"Fw:";
    const bool caretKeys = result != kComposeSignatureOnly && !forward &&
                           (settings.cursorAtTop == 1 || caretCount > 0);
    bool inFront = false;
    if (viaClipboard) {
        // Never pasted into another window: the message is taken again at a
        // later tick (the Space typed for the copy stays). A window that has
        // stayed in front since the copy needs no second settling.
        if (!InFront() && !BringToFront()) return GiveUpAfterCopy(kComposeNotReady);
        if (clipboard.WriteText(text) != 0) return GiveUpAfterCopy(kComposePutError);
        if (!InFront()) return GiveUpAfterCopy(kComposeNotReady);
        PressWithCtrl(kV);
        inFront = InFront();
    } else {
        // A write the client rejected or did not finish in time is an error,
        // not a processed message (the write may still land later).
        if (result != kComposeUnchanged && document.SetInnerText(text)) {
            document.Release();
            return kComposePutError;
        }
        if (settings.colorComposeWindow != 0) {
            document.LocateDocumentWindow(window);
            document.Connect();
            watcher.Colorize(document, true);
        }
        document.Release();
        if (result == kComposeUnchanged) return result;
        // The text is in; only the caret keys need the window in front.
        if (caretKeys) {
            inFront = BringToFront();
        } else {
            Focus();
        }
    }

    if (caretKeys && inFront) {
        if (settings.cursorAtTop == 1) PressWithCtrl(kHome);
        for (std::int32_t i = 0; i < caretCount && InFront(); ++i)
            Press(kUp);
    }

    if (viaClipboard) {
        Wait(Delay(settings.oeReactionDelay));
        RestoreUserText();
    }
    return result;
}

std::optional<ComposeResult> ComposeRun::TakeFromDocument(String& text) {
    CHtmlDocAccess& document = watcher.composeDoc;
    if (document.LocateDocumentWindow(window) == kNoWindow) return kComposeNotReady;
    if (document.Connect()) {
        // A document without a body stays held by a failed Connect.
        document.Release();
        return kComposeNotReady;
    }
    if (!document.IsComplete()) {
        document.Release();
        return kComposeNotReady;
    }
    if (settings.ignoreHtmlMessages != 0) {
        String html;
        document.GetInnerHtml(html);
        if (IsHtmlComposition(html)) {
            document.Release();
            return kComposeHtmlSkipped;
        }
    }
    document.GetInnerText(text);
    return std::nullopt;
}

std::optional<ComposeResult> ComposeRun::TakeFromClipboard(String& text) {
    // Nothing is done that cannot be undone: a clipboard that another
    // program holds past the time-out can be neither saved nor emptied, and
    // the window waits for a later tick with nothing touched. (Read once
    // without waiting, an unsaved text was lost, and a clipboard that could
    // not be emptied let a stale text be pasted over the message.)
    if (clipboard.OpenWithTimeout(settings.clipboardOpenTimeout)) return kComposeNotReady;
    // No text on the clipboard saves none.
    clipboard.ReadText(savedText);
    // Not in front: nothing is touched, the user's clipboard included.
    if (!BringToFront()) return kComposeNotReady;
    // An editor slower than the reaction delay has not copied yet when the
    // clipboard is read: the user's own text would be taken for the message
    // and pasted over it. Emptied first, a copy not made yet reads as no
    // text (a get error) and the message stays as it is. Emptied for no
    // window, the clipboard is not the program's while the editor copies
    // (the editor would wait for the program's window, and the program for
    // the copy).
    if (clipboard.Empty(settings.clipboardOpenTimeout)) return kComposeNotReady;
    // The Space typed at the end makes the copy end with it. Each chord goes
    // out only while the window is in front: the user may take another one
    // at any moment.
    for (const Key key : {kEnd, kSpace, kA, kC}) {
        if (!InFront()) return GiveUpAfterCopy(kComposeNotReady);
        if (key.virtualKey == vk::kSpace) {
            Press(key);
        } else {
            PressWithCtrl(key);
        }
    }
    Wait(Delay(settings.oeReactionDelay));

    if (clipboard.OpenWithTimeout(settings.clipboardOpenTimeout))
        return GiveUpAfterCopy(kComposeGetError);
    if (settings.ignoreHtmlMessages != 0) {
        switch (clipboard.ReadHtmlFormat()) {
            case 1:
                return GiveUpAfterCopy(kComposeGetError);
            case 0:
                if (IsHtmlComposition(clipboard.HeldText())) {
                    clipboard.WriteText(savedText);
                    if (InFront()) Press(kUp);
                    return kComposeHtmlSkipped;
                }
                break;
            default:  // no "HTML Format": a plain-text message
                break;
        }
    }
    if (clipboard.ReadText(text)) return GiveUpAfterCopy(kComposeGetError);
    // The editor's copy ends with the Space typed at the end; any other
    // text (one another program put there after the clipboard was emptied)
    // is not the message and is never pasted over it.
    if (!EndsWithTypedSpace(text)) {
        text.clear();
        return GiveUpAfterCopy(kComposeGetError);
    }
    return std::nullopt;
}

void ComposeRun::Focus() {
    std::uintptr_t answer = 0;
    const bool answers =
        platform.windows.SendMessageTimeoutW(window, wm::kNull, 0, 0, smto::kAbortIfHung,
                                             kHtmlGetObjectTimeout, &answer) != 0;
    const InputAttachment attachment(
        platform.windows, platform.system.GetCurrentThreadId(),
        answers ? platform.windows.GetWindowThreadProcessId(window, nullptr) : 0);
    platform.windows.SetFocus(window);
    platform.windows.SetActiveWindow(window);
    platform.windows.SetForegroundWindow(window);
}

bool ComposeRun::BringToFront() {
    Focus();
    const std::uint32_t limit = Delay(settings.oeReactionDelay) + kForegroundSettle;
    const std::uint32_t start = platform.system.timeGetTime();
    std::optional<std::uint32_t> inFrontSince;
    for (;;) {
        const std::uint32_t now = platform.system.timeGetTime();
        if (!InFront()) {
            inFrontSince.reset();
        } else if (!inFrontSince) {
            inFrontSince = now;
        } else if (now - *inFrontSince >= kForegroundSettle) {
            return true;
        }
        if (now - start >= limit) return false;
        Wait(kForegroundPoll);
    }
}

ComposeResult ComposeRun::GiveUpAfterCopy(ComposeResult result) {
    RestoreUserText();
    return result;
}

void ComposeRun::RestoreUserText() {
    // The clipboard holds the message now, not the user's text: another
    // program that holds it a while is waited for longer than any other
    // step waits (the user's text would be gone for good otherwise).
    const std::int32_t timeout = std::max(settings.clipboardOpenTimeout, kRestoreTimeout);
    if (clipboard.OpenWithTimeout(timeout)) return;
    clipboard.WriteText(savedText);
    // A write that could not allocate or lock its block leaves the clipboard
    // open, which would lock every other program out of it.
    if (clipboard.IsOpened()) platform.clipboard.CloseClipboard();
}

}  // namespace

ComposeResult ProcessComposeWindow(CMessageColorer& watcher, WindowHandle window,
                                   StringView windowText) {
    ComposeRun run(watcher, window);
    return run.Run(windowText);
}

}  // namespace nimbrel
