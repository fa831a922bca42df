// COM initialisation of the calling thread on Windows (ole32).
#pragma once

#include "platform/ComRuntime.h"

namespace nimbrel {

class Win32ComRuntime : public ComRuntime {
  public:
    HResult CoInitialize() override;
    void CoUninitialize() override;
};

}  // namespace nimbrel
