// Registry reading (advapi32). Results are Win32 error codes (reg::).
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyExW: opens `subKey` below `root` into `result`.
    virtual std::int32_t RegOpenKeyExW(RegistryKey root, const char16_t* subKey,
                                       std::uint32_t options, std::uint32_t access,
                                       RegistryKey& result) = 0;
    // RegQueryValueExW: the value's type into `type` (when not null) and its raw
    // bytes into `data`, whose size in bytes `size` gives on entry. `size`
    // receives the value's size; reg::kMoreData when `data` is too small (its
    // contents are then undefined). With a null `data` only the size is
    // reported. A string value comes as UTF-16 units, stored as written: it
    // need not end with a NUL unit, nor even fill a whole unit.
    virtual std::int32_t RegQueryValueExW(RegistryKey key, const char16_t* valueName,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) = 0;
    virtual std::int32_t RegCloseKey(RegistryKey key) = 0;
};

}  // namespace nimbrel
