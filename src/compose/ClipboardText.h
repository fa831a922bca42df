// Text on the system clipboard, for moving a reply's text out of and back into
// a compose window. Opens the clipboard with a deadline, reads a format as
// text (CF_UNICODETEXT as it is, 8-bit formats converted from the thread's
// ANSI code page), finds and reads the "HTML Format" flavour, and writes
// plain text as CF_UNICODETEXT, from which Windows makes CF_TEXT for the
// programs that ask for that. The clipboard is always opened for the owner
// window given at construction (the program's main window): a clipboard
// emptied while opened for no window refuses the data set afterwards.
//
// Every result is true (or nonzero) on failure. Every operation leaves the
// clipboard closed, except OpenWithTimeout on success and ReadHtmlFormat when
// it finds no "HTML Format". Destroying the object never closes the clipboard.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "shell/Text.h"

namespace nimbrel {

constexpr const char16_t* kHtmlClipboardFormat = u"HTML Format";

class ClipboardText {
  public:
    ClipboardText(Platform& platform, WindowHandle owner);

    // Returns false at once when the clipboard is already open through this
    // object. Otherwise tries to open it until an attempt
    // succeeds or more than `timeout` ms (a negative timeout counts as 0) have
    // passed since the first attempt, reading the clock before each retry
    // with 32-bit wrap-around and waiting 1 ms between attempts (answering
    // messages sent to the program, WaitAnsweringMessages). The first
    // attempt is immediate and there is always one. True when the clipboard
    // stayed closed.
    bool OpenWithTimeout(std::int32_t timeout);

    // Reads `format` as a NUL-terminated text (bounded by the block's size,
    // so data without a terminator ends with the block) into the held text:
    // UTF-16 for cf::kUnicodeText, 8-bit in the thread's code page for any
    // other format. Opens the clipboard first when it is not open. Closes the
    // clipboard in every case where it was open. True when the clipboard
    // would not open or the format is absent or cannot be locked; the held
    // text then keeps its value.
    bool ReadFormat(std::uint32_t format);

    // Walks the formats of the (already open) clipboard for one registered
    // under the exact name "HTML Format" and reads it with ReadFormat: 0 when
    // read (the clipboard is closed), 1 when that failed, -1 when there is no
    // such format or no format at all (the clipboard stays as it was).
    int ReadHtmlFormat();

    // ReadFormat of CF_UNICODETEXT when the clipboard has it (Windows makes
    // it from another program's CF_TEXT too), else of CF_TEXT; on success the
    // held text is copied to `text`, on failure `text` is unchanged.
    bool ReadText(String& text);

    // Puts `text` on the clipboard as CF_UNICODETEXT (every character kept)
    // in a moveable block, replacing the clipboard's contents, and closes
    // it. 0 on success; 1 when the memory
    // cannot be allocated, 2 when it cannot be locked, 3 when the clipboard
    // will not open, with the clipboard's contents as they were; 4 when the
    // clipboard, already emptied, refuses the data (it is then closed).
    int WriteText(StringView text);
    // WriteText of the held text.
    int WriteHeldText();
    // Empties the clipboard and closes it, opened (within `timeout`, as
    // OpenWithTimeout; closed first when this object has it open) for no
    // window: the clipboard then belongs to nobody. A program that empties
    // the clipboard sends its owner WM_DESTROYCLIPBOARD and waits for the
    // answer, which the program gives only when it next waits for messages;
    // emptied so, the program is not the owner while the editor copies. True
    // when the clipboard would not open.
    bool Empty(std::int32_t timeout);

    const String& HeldText() const { return heldText; }
    bool IsOpened() const { return opened != 0; }

  private:
    // OpenWithTimeout's attempts, with the clipboard opened for `window`.
    bool Open(WindowHandle window, std::int32_t timeout);

    Platform& platform;
    WindowHandle owner;
    std::uint8_t opened = 0;
    String heldText;
};

}  // namespace nimbrel
