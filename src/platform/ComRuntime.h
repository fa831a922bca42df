// COM on the calling thread (ole32): initialisation, and the message filter
// that COM consults about calls between this thread and other processes.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

// IMessageFilter, as the program implements it for its thread. COM calls it
// on the thread that registered it, from inside the wait of a call to
// another process (or, for HandleInComingCall, when a call comes in).
class MessageFilter {
  public:
    virtual ~MessageFilter() = default;

    // A call from another process arrives (callType: CALLTYPE_..., 1 for a
    // top-level call): servercall::kIsHandled, kRejected or kRetryLater.
    virtual std::uint32_t HandleInComingCall(std::uint32_t callType, std::uint32_t tickCount) = 0;
    // An outgoing call was rejected (rejectType: servercall::kRejected or
    // kRetryLater) `tickCount` ms after it was made. kCancelRejectedCall
    // gives it up (it fails with hr::kCallRejected); 0 to 99 retries it at
    // once, a larger value after that many ms.
    virtual std::uint32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType) = 0;
    // A message arrived while an outgoing call has waited `tickCount` ms for
    // its answer (pendingType: pendingtype::kTopLevel or kNested):
    // pendingmsg::kCancelCall ends the wait (the call fails with
    // hr::kCallCanceled), kWaitDefProcess or kWaitNoProcess waits on.
    virtual std::uint32_t MessagePending(std::uint32_t tickCount, std::uint32_t pendingType) = 0;
};

// RetryRejectedCall's answer that gives the call up.
constexpr std::uint32_t kCancelRejectedCall = 0xFFFFFFFFu;

class ComRuntime {
  public:
    virtual ~ComRuntime() = default;

    // CoInitialize(nullptr): hr::kOk, hr::kFalse when already initialised.
    virtual HResult CoInitialize() = 0;
    // CoUninitialize: balances one CoInitialize.
    virtual void CoUninitialize() = 0;

    // CoRegisterMessageFilter: `filter` becomes the message filter of the
    // calling thread (which must have initialised COM), replacing the one
    // registered before; nullptr revokes it. The previous filter is not
    // handed back. `filter` must stay alive while it is registered.
    virtual HResult CoRegisterMessageFilter(MessageFilter* filter) = 0;
};

}  // namespace nimbrel
