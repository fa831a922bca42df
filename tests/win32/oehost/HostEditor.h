// The compose editor of the test host: the keys the program sends, applied
// to a document's model with the document's own edits, as the simulated
// desktop's SimEditor does, and the real clipboard:
//   Ctrl+End, Ctrl+Home   caret to the end, to the start
//   Up                    one line up, keeping the column where it can
//   Space                 a space typed at the caret, replacing a selection
//   Ctrl+A                selects the whole text
//   Ctrl+C                CF_UNICODETEXT and CF_TEXT (thread code page)
//                         and, for an HTML message, "HTML Format" first
//   Ctrl+V                replaces the selection with the clipboard's
//                         CF_UNICODETEXT, line breaks made CR LF
// A copy or paste waits up to a second for the clipboard and does nothing
// when another program holds it that long.
#pragma once

#include <windows.h>

#include "sim/SimDocument.h"

namespace nimbrel {

class HostEditor {
  public:
    // A key that reached the editor window `owner` (the clipboard's owner
    // for a copy).
    static void KeyPressed(HWND owner, SimDocument& document, UINT virtualKey, bool ctrl);

  private:
    static void Copy(HWND owner, const SimDocument& document);
    static void Paste(HWND owner, SimDocument& document);
};

// Opens the clipboard for `owner`, trying for up to `milliseconds`.
bool OpenClipboardWithin(HWND owner, DWORD milliseconds);
// The clipboard's CF_UNICODETEXT (which Windows makes from CF_TEXT too), if
// it has one.
std::optional<String> ReadClipboardText(HWND owner);
// Puts `text` on the clipboard as CF_UNICODETEXT; false when it could not.
bool WriteClipboardText(HWND owner, StringView text);

}  // namespace nimbrel
