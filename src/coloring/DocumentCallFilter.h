// The message filter of the program's thread, registered while document
// access objects exist (CHtmlDocAccess). It keeps every call into Outlook
// Express's documents bounded, so that a busy or hung client neither stops
// the watcher nor has a failed call taken for a good one:
// - a call the client rejects with "retry later" (as it does while a menu
//   or dialog of its own runs) is tried again every kRejectedCallRetryDelay
//   ms until kRejectedCallRetryLimit ms after it was made, then given up
//   (it fails with hr::kCallRejected); a call rejected outright is given up
//   at once;
// - a call that has not returned kHtmlGetObjectTimeout ms after it was made
//   (the time the document window has to answer at all) is cancelled (it
//   fails with hr::kCallCanceled) at the next message that arrives, which
//   the platform sends at least every 100 ms during a call;
// - calls coming in (the program serves none) are handled.
#pragma once

#include <cstdint>

#include "platform/ComRuntime.h"

namespace nimbrel {

constexpr std::uint32_t kRejectedCallRetryDelay = 100;   // ms
constexpr std::uint32_t kRejectedCallRetryLimit = 2000;  // ms

class DocumentCallFilter : public MessageFilter {
  public:
    std::uint32_t HandleInComingCall(std::uint32_t callType, std::uint32_t tickCount) override;
    std::uint32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType) override;
    std::uint32_t MessagePending(std::uint32_t tickCount, std::uint32_t pendingType) override;
};

}  // namespace nimbrel
