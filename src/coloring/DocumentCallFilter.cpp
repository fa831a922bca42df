#include "coloring/DocumentCallFilter.h"

#include "coloring/CHtmlDocAccess.h"

namespace nimbrel {

std::uint32_t DocumentCallFilter::HandleInComingCall(std::uint32_t /*callType*/,
                                                     std::uint32_t /*tickCount*/) {
    return servercall::kIsHandled;
}

std::uint32_t DocumentCallFilter::RetryRejectedCall(std::uint32_t tickCount,
                                                    std::uint32_t rejectType) {
    // A client that rejects outright will not change its mind.
    if (rejectType != servercall::kRetryLater || tickCount >= kRejectedCallRetryLimit)
        return kCancelRejectedCall;
    return kRejectedCallRetryDelay;
}

std::uint32_t DocumentCallFilter::MessagePending(std::uint32_t tickCount,
                                                 std::uint32_t /*pendingType*/) {
    // Waiting on lets the program's own windows paint and answer.
    return tickCount >= kHtmlGetObjectTimeout ? pendingmsg::kCancelCall
                                              : pendingmsg::kWaitDefProcess;
}

}  // namespace nimbrel
