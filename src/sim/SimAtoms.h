// The desktop's table of registered names: window messages and clipboard
// formats share it, as they do in Windows, and take numbers from 0xC000 up.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/Text.h"

namespace nimbrel {

class SimAtoms {
  public:
    // The number for `name` (letter case ignored), registering it when new;
    // 0 for an empty name or a full table.
    std::uint32_t Register(StringView name);
    // The number of a registered name, 0 when it is not registered.
    std::uint32_t Find(StringView name) const;
    // The name as first registered, nullptr for a number that is not one.
    const String* Name(std::uint32_t atom) const;

  private:
    std::vector<String> names;
};

}  // namespace nimbrel
