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
// Not ready (no document window, no connection, document not complete, or
// empty text): nothing was changed, try again at the next tick.
constexpr ComposeResult kComposeNotReady = -1;
// kComposeReformatted (0), kComposeUnchanged (1), kComposeAddedLevel (4) and
// kComposeSignatureOnly (7) come from ComposeText.h.
// Clipboard path: writing the new text to the clipboard failed.
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
// 1. Sleeps `compositionInitDelay`.
// 2. Takes the text.
//    - Document path: finds the document window and connects `composeDoc`;
//      not found, not connected or not "complete" gives -1. With
//      `ignoreHtmlMessages` an HTML reply (IsHtmlComposition of the body's
//      HTML) gives 6. The text is the body's innerText.
//    - Clipboard path: saves the user's clipboard text, focuses the window
//      (SetFocus, SetActiveWindow, SetForegroundWindow), presses Ctrl+End,
//      Space, Ctrl+A, Ctrl+C, sleeps `oeReactionDelay` and opens the
//      clipboard within `clipboardOpenTimeout` (else 3). With
//      `ignoreHtmlMessages`: an unreadable "HTML Format" gives 3; an HTML
//      reply gets the user's text back, one Up press, and 6. The text is the
//      clipboard's CF_TEXT (unreadable: 3).
// 3. Empty text gives -1.
// 4. TransformComposeText: 0, 4 (reformatted), 7 (only a signature
//    replacement changed it) or 1 (unchanged).
// 5. Puts the text back.
//    - Document path: the body's innerText for 0, 4 and 7; then, with
//      `colorComposeWindow`, the body is coloured (isCompose). The result 1
//      ends here, without focus or keys; otherwise the window is focused.
//    - Clipboard path: the text goes on the clipboard (failure: 2) and is
//      pasted with Ctrl+V over the selection, whatever the result.
// 6. Caret, unless the result is 7 or the window text starts with "Fw:":
//    Ctrl+Home when `cursorAtTop` is exactly 1, then Up `caretCount` times.
// 7. Clipboard path: sleeps `oeReactionDelay` and writes the user's saved
//    clipboard text back (a clipboard that held no text is left with an
//    empty text).
//
// On the clipboard path every way out after the copy keys (2, 3, 6 and -1
// too) writes the user's saved text back, so a failed run never leaves the
// message on the user's clipboard, and the clipboard is never left open.
// `composeDoc` is released on every path that connected it. Keys go out with
// keybd_event and the scan codes of a standard keyboard; a chord of Ctrl and
// X is Ctrl down, X down, Ctrl up, X up.
ComposeResult ProcessComposeWindow(CMessageColorer& watcher, WindowHandle window,
                                   StringView windowText);

}  // namespace nimbrel
