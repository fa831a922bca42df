// Shell execution (shell32).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Shell {
  public:
    virtual ~Shell() = default;

    // ShellExecuteW: a value above 32 on success. Null pointers stand for
    // absent arguments.
    virtual std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* verb,
                                        const char16_t* file, const char16_t* parameters,
                                        const char16_t* directory, int showCommand) = 0;
};

}  // namespace nimbrel
