#include "sim/SimRegistry.h"

#include <cstring>

#include "sim/SimStrings.h"

namespace nimbrel {

String SimRegistry::KeyName(RegistryKey root, StringView path) {
    while (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    String name;
    for (const char c : std::to_string(static_cast<std::uintptr_t>(root)))
        name += static_cast<char16_t>(c);
    return name + u"\\" + sim::AsciiLower(path);
}

void SimRegistry::CreateKey(RegistryKey root, StringView path) {
    keys[KeyName(root, path)];
}

void SimRegistry::SetString(RegistryKey root, StringView path, StringView name, StringView value) {
    std::string bytes;
    for (const char16_t unit : value) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    bytes.append(2, '\0');
    SetValue(root, path, name, reg::kTypeString, bytes);
}

void SimRegistry::SetValue(RegistryKey root, StringView path, StringView name, std::uint32_t type,
                           std::string_view bytes) {
    keys[KeyName(root, path)][sim::AsciiLower(name)] = Value{type, std::string(bytes)};
}

void SimRegistry::DeleteKey(RegistryKey root, StringView path) {
    keys.erase(KeyName(root, path));
}

std::int32_t SimRegistry::RegOpenKeyExW(RegistryKey root, const char16_t* subKey,
                                        std::uint32_t /*options*/, std::uint32_t /*access*/,
                                        RegistryKey& result) {
    const String name = KeyName(root, sim::Terminated(subKey));
    if (keys.count(name) == 0) return reg::kFileNotFound;
    result = RegistryKey{nextKey};
    nextKey += 4;
    open.emplace(result, name);
    return reg::kSuccess;
}

std::int32_t SimRegistry::RegQueryValueExW(RegistryKey key, const char16_t* valueName,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* size) {
    const auto openKey = open.find(key);
    if (openKey == open.end()) return reg::kInvalidHandle;
    const auto found = keys.find(openKey->second);
    if (found == keys.end()) return reg::kFileNotFound;  // deleted meanwhile
    const auto value = found->second.find(sim::AsciiLower(sim::Terminated(valueName)));
    if (value == found->second.end()) return reg::kFileNotFound;

    if (type != nullptr) *type = value->second.type;
    const auto needed = static_cast<std::uint32_t>(value->second.bytes.size());
    if (data == nullptr) {
        if (size != nullptr) *size = needed;
        return reg::kSuccess;
    }
    if (size == nullptr) return reg::kInvalidHandle;
    if (*size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    std::memcpy(data, value->second.bytes.data(), needed);
    *size = needed;
    return reg::kSuccess;
}

std::int32_t SimRegistry::RegCloseKey(RegistryKey key) {
    return open.erase(key) != 0 ? reg::kSuccess : reg::kInvalidHandle;
}

}  // namespace nimbrel
