// The registry of the simulated desktop: keys by root and path (letter case
// ignored), values with a type and raw bytes, stored exactly as written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace nimbrel {

class SimRegistry : public Registry {
  public:
    // Scenario operations. SetString stores the text and a NUL as REG_SZ.
    void CreateKey(RegistryKey root, std::string_view path);
    void SetString(RegistryKey root, std::string_view path, std::string_view name,
                   std::string_view value);
    void SetValue(RegistryKey root, std::string_view path, std::string_view name,
                  std::uint32_t type, std::string_view bytes);
    void DeleteKey(RegistryKey root, std::string_view path);
    // Keys the program opened and has not closed.
    std::size_t OpenKeys() const { return open.size(); }

    // The seam.
    std::int32_t RegOpenKeyExA(RegistryKey root, const char* subKey, std::uint32_t options,
                               std::uint32_t access, RegistryKey& result) override;
    std::int32_t RegQueryValueExA(RegistryKey key, const char* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t RegCloseKey(RegistryKey key) override;

  private:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    static std::string KeyName(RegistryKey root, std::string_view path);

    std::map<std::string, std::map<std::string, Value>> keys;
    std::map<RegistryKey, std::string> open;
    std::uintptr_t nextKey = 0x300;
};

}  // namespace nimbrel
