// The editor of Outlook Express's compose windows, as far as the program
// drives it with keys. On the document of the focused compose window:
//   Ctrl+End   caret to the end of the text
//   Ctrl+Home  caret to the start
//   Up         caret one line up, keeping its column where the line is long
//              enough (nothing on the first line)
//   Space      a space typed at the caret, replacing a selection
//   Ctrl+A     selects the whole text
//   Ctrl+C     copies the selection: CF_UNICODETEXT and CF_TEXT in the
//              code page, and for an HTML message also "HTML Format" (first)
//              with the body's HTML when the whole text is selected, the
//              escaped text otherwise
//   Ctrl+V     replaces the selection with the clipboard's text (line breaks
//              made CR LF); the caret ends behind the pasted text
// Lines are the text's CR LF lines (the simulation does not wrap long lines
// as a window of a given width would). Copying and pasting do nothing while
// another process has the clipboard open. Typing at the very end of an HTML
// message (no selection) adds to its HTML; other typing and pasting into an
// HTML message rewrite its body as the escaped text (its formatting is lost).
#pragma once

#include <cstdint>

#include "sim/SimClipboard.h"
#include "sim/SimCodePage.h"
#include "sim/SimDocument.h"
#include "sim/SimProcess.h"

namespace nimbrel {

// How a window that only watches for keys (a focus thief of the test hosts)
// writes down one that reached it: "[key]" or "[Ctrl+key]", the virtual key
// in hexadecimal.
String KeyTrace(std::uint8_t virtualKey, bool ctrl);

class SimEditor {
  public:
    SimEditor(SimClipboard& clipboard, SimCodePage& codePage);

    void KeyPressed(SimDocument& document, std::uint8_t virtualKey, bool ctrl);

  private:
    void Copy(const SimDocument& document);

    SimClipboard& clipboard;
    SimCodePage& codePage;
};

}  // namespace nimbrel
