// Registry reading on Windows (advapi32). The seam's predefined roots
// (kHkeyLocalMachine ...) carry the 32-bit values of HKEY_LOCAL_MACHINE and
// its kin; they become the real predefined handles, which a 64-bit Windows
// sign-extends.
#pragma once

#include "platform/Registry.h"

namespace nimbrel {

class Win32Registry : public Registry {
  public:
    std::int32_t RegOpenKeyExW(RegistryKey root, const char16_t* subKey, std::uint32_t options,
                               std::uint32_t access, RegistryKey& result) override;
    std::int32_t RegQueryValueExW(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t RegCloseKey(RegistryKey key) override;
};

}  // namespace nimbrel
