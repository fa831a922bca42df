// Waiting inside the compose processing. The program is the clipboard's
// owner once it has written to it, and another program's clipboard calls
// (EmptyClipboard sends the owner WM_DESTROYCLIPBOARD; under Wine any
// opening of the clipboard asks its owner) wait for the owner's window to
// answer. A plain Sleep answers nothing, so the editor would stand still
// until the program's wait ends, and the program would wait for the editor.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace nimbrel {

// Waits `milliseconds` (timeGetTime, with wrap-around; 0 returns at once),
// answering meanwhile every message other threads send to the program's
// windows (MsgWaitForMultipleObjects and PeekMessageW of sent messages).
// Queued messages, the timer's among them, stay for the message loop.
void WaitAnsweringMessages(Platform& platform, std::uint32_t milliseconds);

}  // namespace nimbrel
