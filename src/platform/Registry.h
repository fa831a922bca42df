// Registry reading (advapi32). Results are Win32 error codes (reg::).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyExA: opens `subKey` below `root` into `result`.
    virtual std::int32_t RegOpenKeyExA(RegistryKey root, const char* subKey, std::uint32_t options,
                                       std::uint32_t access, RegistryKey& result) = 0;
    // RegQueryValueExA: the value's type into `type` (when not null) and its raw
    // bytes into `data`, whose size `size` gives on entry. `size` receives the
    // value's size; reg::kMoreData when `data` is too small (its contents are
    // then undefined). With a null `data` only the size is reported. The bytes
    // are stored as written: a string value need not end with a NUL.
    virtual std::int32_t RegQueryValueExA(RegistryKey key, const char* valueName,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) = 0;
    virtual std::int32_t RegCloseKey(RegistryKey key) = 0;
};

}  // namespace nimbrel
