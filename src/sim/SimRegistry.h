// The registry of the simulated desktop: keys by root and path (letter case
// ignored), values with a type and raw bytes, stored exactly as written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "shell/Text.h"

namespace nimbrel {

class SimRegistry : public Registry {
  public:
    // Scenario operations. SetString stores the text and a NUL unit as REG_SZ
    // in UTF-16, as Windows keeps it.
    void CreateKey(RegistryKey root, StringView path);
    void SetString(RegistryKey root, StringView path, StringView name, StringView value);
    void SetValue(RegistryKey root, StringView path, StringView name, std::uint32_t type,
                  std::string_view bytes);
    void DeleteKey(RegistryKey root, StringView path);
    // Keys the program opened and has not closed.
    std::size_t OpenKeys() const { return open.size(); }

    // The seam.
    std::int32_t RegOpenKeyExW(RegistryKey root, const char16_t* subKey, std::uint32_t options,
                               std::uint32_t access, RegistryKey& result) override;
    std::int32_t RegQueryValueExW(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t RegCloseKey(RegistryKey key) override;

  private:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    static String KeyName(RegistryKey root, StringView path);

    std::map<String, std::map<String, Value>> keys;
    std::map<RegistryKey, String> open;
    std::uintptr_t nextKey = 0x300;
};

}  // namespace nimbrel
