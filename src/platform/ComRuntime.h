// COM initialisation of the calling thread (ole32).
#pragma once

#include "platform/PlatformTypes.h"

namespace nimbrel {

class ComRuntime {
  public:
    virtual ~ComRuntime() = default;

    // CoInitialize(nullptr): hr::kOk, hr::kFalse when already initialised.
    virtual HResult CoInitialize() = 0;
    // CoUninitialize: balances one CoInitialize.
    virtual void CoUninitialize() = 0;
};

}  // namespace nimbrel
