#include "compose/ComposeProcessor.h"

#include <algorithm>
#include <optional>

#include "coloring/HtmlKind.h"
#include "compose/ClipboardText.h"
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

std::uint32_t Delay(std::int32_t milliseconds) {
    return static_cast<std::uint32_t>(std::max(milliseconds, 0));
}

// One run of the sequence: the window, the desktop, and the clipboard state
// of the clipboard path.
class ComposeRun {
  public:
    ComposeRun(CMessageColorer& watcher_, WindowHandle window_)
        : watcher(watcher_),
          platform(watcher_.GetPlatform()),
          window(window_),
          clipboard(platform) {}

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
    void Focus() {
        platform.windows.SetFocus(window);
        platform.windows.SetActiveWindow(window);
        platform.windows.SetForegroundWindow(window);
    }

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
    platform.system.Sleep(Delay(settings.compositionInitDelay));

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

    if (viaClipboard) {
        if (clipboard.WriteText(text) != 0) return GiveUpAfterCopy(kComposePutError);
        Focus();
        PressWithCtrl(kV);
    } else {
        if (result != kComposeUnchanged) document.SetInnerText(text);
        if (settings.colorComposeWindow != 0) {
            document.LocateDocumentWindow(window);
            document.Connect();
            watcher.Colorize(document, true);
        }
        document.Release();
        if (result == kComposeUnchanged) return result;
        Focus();
    }

    const bool forward = windowText.substr(0, 3) == u"Fw:";
    if (result != kComposeSignatureOnly && !forward) {
        if (settings.cursorAtTop == 1) PressWithCtrl(kHome);
        for (std::int32_t i = 0; i < caretCount; ++i)
            Press(kUp);
    }

    if (viaClipboard) {
        platform.system.Sleep(Delay(settings.oeReactionDelay));
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
    clipboard.ReadText(savedText);
    // An editor slower than the reaction delay has not copied yet when the
    // clipboard is read: the user's own text would be taken for the message
    // and pasted over it. Emptied first, a copy not made yet reads as no
    // text (a get error) and the message stays as it is.
    clipboard.OpenWithTimeout(settings.clipboardOpenTimeout);
    clipboard.Empty();
    Focus();
    // The Space typed at the end makes the copy end with it.
    PressWithCtrl(kEnd);
    Press(kSpace);
    PressWithCtrl(kA);
    PressWithCtrl(kC);
    platform.system.Sleep(Delay(settings.oeReactionDelay));

    if (clipboard.OpenWithTimeout(settings.clipboardOpenTimeout))
        return GiveUpAfterCopy(kComposeGetError);
    if (settings.ignoreHtmlMessages != 0) {
        switch (clipboard.ReadHtmlFormat()) {
            case 1:
                return GiveUpAfterCopy(kComposeGetError);
            case 0:
                if (IsHtmlComposition(clipboard.HeldText())) {
                    clipboard.WriteText(savedText);
                    Press(kUp);
                    return kComposeHtmlSkipped;
                }
                break;
            default:  // no "HTML Format": a plain-text message
                break;
        }
    }
    if (clipboard.ReadFormat(cf::kText)) return GiveUpAfterCopy(kComposeGetError);
    text = clipboard.HeldText();
    return std::nullopt;
}

ComposeResult ComposeRun::GiveUpAfterCopy(ComposeResult result) {
    RestoreUserText();
    return result;
}

void ComposeRun::RestoreUserText() {
    clipboard.OpenWithTimeout(settings.clipboardOpenTimeout);
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
