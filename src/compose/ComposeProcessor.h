// Processing of one compose window: the whole text of the message being
// written is taken out of the window, rebuilt (TransformComposeText) and put
// back, and the caret is placed. The text moves through the window's MSHTML
// document (the default) or, with `useClipboard`, through the clipboard with
// simulated keys.
#pragma once

#include <cstdint>

#include "coloring/CMessageColorer.h"
#include "compose/ComposeText.h"
#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

// What processing a compose window gave; the watcher turns it into a status.
using ComposeResult = std::int32_t;
// Not ready (no document window, no connection, document not complete,
// empty text, or on the clipboard path the window not in front): the text
// was not changed, try again at the next tick.
constexpr ComposeResult kComposeNotReady = -1;
// kComposeReformatted (0), kComposeUnchanged (1), kComposeAddedLevel (4) and
// kComposeSignatureOnly (7) come from ComposeText.h.
// Putting the new text back failed: on the clipboard path writing it to the
// clipboard, on the document path writing the body (the client rejected the
// write or did not finish it in time).
constexpr ComposeResult kComposePutError = 2;
// Clipboard path: the clipboard did not open in time, or the copied text
// could not be read.
constexpr ComposeResult kComposeGetError = 3;
// An HTML reply, left alone (`ignoreHtmlMessages`).
constexpr ComposeResult kComposeHtmlSkipped = 6;

// Processes the compose window `window`, whose title the watcher read as
// `windowText`, with the settings of `settings`, on the watcher's state
// (`composeDoc` serves the document; `watcher`'s platform does the rest).
//
// Keys go only to the window in front, and while the user works in another
// one the compose window does not come there (Windows refuses the
// foreground to a program in the background). So keys are sent only after
// the window has been brought to the front (focused with SetFocus,
// SetActiveWindow and SetForegroundWindow, the program's input attached to
// its thread for these calls, then waited for up to `oeReactionDelay` until
// it has been in front for 50 ms), and each chord only while it still is.
//
// 1. Waits `compositionInitDelay`.
// 2. Takes the text.
//    - Document path: finds the document window and connects `composeDoc`;
//      not found, not connected or not "complete" gives -1. With
//      `ignoreHtmlMessages` an HTML reply (IsHtmlComposition of the body's
//      HTML) gives 6. The text is the body's innerText.
//    - Clipboard path: saves the user's clipboard text and brings the window
//      to the front; when it does not come, -1 with nothing touched.
//      Otherwise presses Ctrl+End, Space, Ctrl+A, Ctrl+C (the window leaving
//      the front on the way: -1), waits `oeReactionDelay` and opens the
//      clipboard within `clipboardOpenTimeout` (else 3). With
//      `ignoreHtmlMessages`: an unreadable "HTML Format" gives 3; an HTML
//      reply gets the user's text back, one Up press (in front only), and 6.
//      The text is the clipboard's CF_UNICODETEXT (unreadable: 3).
// 3. Empty text gives -1.
// 4. TransformComposeText: 0, 4 (reformatted), 7 (only a signature
//    replacement changed it) or 1 (unchanged).
// 5. Puts the text back.
//    - Document path: the body's innerText for 0, 4 and 7 (a failed write
//      gives 2); then, with `colorComposeWindow`, the body is coloured
//      (isCompose). The result 1 ends here, without focus or keys; otherwise
//      the window is brought to the front when there are caret keys to
//      send, else only focused. The text is in whether or not the window
//      comes.
//    - Clipboard path: the window is brought to the front again (it does
//      not come: -1, nothing pasted), the text goes on the clipboard
//      (failure: 2) and is pasted with Ctrl+V over the selection, whatever
//      the result.
// 6. Caret, unless the result is 7 or the window text starts with "Fw:", and
//    only while the window is in front: Ctrl+Home when `cursorAtTop` is
//    exactly 1, then Up `caretCount` times.
// 7. Clipboard path: waits `oeReactionDelay` and writes the user's saved
//    clipboard text back (a clipboard that held no text is left with an
//    empty text).
//
// Every wait answers the messages other programs send to the program's
// windows (WaitAnsweringMessages): once the program has written to the
// clipboard it is the clipboard's owner, and the editor's clipboard calls
// wait for it.
//
// On the clipboard path every way out after the copy keys (2, 3, 6 and -1
// too) writes the user's saved text back, so a failed run never leaves the
// message on the user's clipboard, and the clipboard is never left open; it
// is opened for the program's main window (app.mainWindow). A -1 after a
// key leaves the Space it typed at the end of the message. `composeDoc` is
// released on every path that connected it. Keys go out with keybd_event
// and the scan codes of a standard keyboard; a chord of Ctrl and X is Ctrl
// down, X down, Ctrl up, X up.
ComposeResult ProcessComposeWindow(CMessageColorer& watcher, WindowHandle window,
                                   StringView windowText);

}  // namespace nimbrel
