#include "compose/AnsweringWait.h"

namespace nimbrel {

void WaitAnsweringMessages(Platform& platform, std::uint32_t milliseconds) {
    const std::uint32_t start = platform.system.timeGetTime();
    for (;;) {
        const std::uint32_t elapsed = platform.system.timeGetTime() - start;
        if (elapsed >= milliseconds) return;
        if (platform.loop.MsgWaitForMultipleObjects(milliseconds - elapsed, qs::kSendMessage) ==
            wait::kObject0) {
            Message none;
            platform.loop.PeekMessageW(none, kNoWindow, 0, 0, pm::kNoRemove | pm::kQsSendMessage);
        }
    }
}

}  // namespace nimbrel
