// An MSHTML document of the simulated Outlook Express: ready state, title,
// body and the editor's caret. The body is held as HTML; its text is the
// rendering of that HTML (SimHtmlText), so innerHTML and innerText always
// agree. Writing the body, as the program does, leaves the caret at the end
// of the text, which is where OE's editor leaves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

class SimDocument {
  public:
    // "uninitialized", "loading", "interactive" or "complete".
    String readyState = u"complete";
    // A null title reads as a null OLE string.
    std::optional<String> title;
    // False while loading: get_body then answers S_OK without a body.
    bool hasBody = true;
    // An HTML message: copying it also puts "HTML Format" on the clipboard.
    bool htmlMessage = false;
    // False once the document's window is gone; every call then fails as
    // disconnected.
    bool alive = true;
    // What writing the body answers (hr::kOk, or a failure to simulate one).
    HResult putResult = hr::kOk;
    // How long the client works inside a write of the body (ms) before the
    // write is made and answered.
    std::uint64_t writeDelay = 0;
    // Once the body's text has been read, the client rejects every call
    // into its documents for that long (ms); once.
    std::uint64_t busyAfterRead = 0;
    // The style sheets attached with createStyleSheet, first first.
    std::vector<String> styleSheets;

    // The editor: the caret and the other end of the selection, as offsets
    // into InnerText(); a selection exists when they differ.
    std::size_t caret = 0;
    std::size_t anchor = 0;

    const String& InnerHtml() const { return html; }
    String InnerText() const;
    void SetInnerHtml(StringView newHtml);
    void SetInnerText(StringView text);
    // The caret's line (0 for the first), counting CR LF line breaks.
    int CaretLine() const;

    // The editor's own edits, as OE's compose editor makes them for its keys.
    // Caret and anchor are first kept inside the text (ClampSelection).
    void ClampSelection();
    // Ctrl+End, Ctrl+Home, Ctrl+A.
    void CaretToEnd();
    void CaretToStart();
    void SelectAll();
    // Up: one line up, keeping the column where the line is long enough.
    void CaretUp();
    // Typing or pasting: `inserted` replaces the selection and the caret
    // follows it. Typed at the very end of an HTML message, the message keeps
    // its formatting.
    void ReplaceSelection(StringView inserted);

  private:
    String html;
};

}  // namespace nimbrel
