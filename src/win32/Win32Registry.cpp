#include "win32/Win32Registry.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

namespace {

// HKEY_CLASSES_ROOT (0x80000000) to HKEY_CURRENT_CONFIG (0x80000005) and
// HKEY_DYN_DATA (0x80000006) are defined as a LONG cast to a handle: on a
// 64-bit Windows their upper half is all ones.
constexpr std::uintptr_t kFirstPredefinedKey = 0x80000000u;
constexpr std::uintptr_t kLastPredefinedKey = 0x80000006u;

HKEY ToHkey(RegistryKey key) {
    const auto value = static_cast<std::uintptr_t>(key);
    if (value >= kFirstPredefinedKey && value <= kLastPredefinedKey) {
        return reinterpret_cast<HKEY>(
            static_cast<LONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(value))));
    }
    return reinterpret_cast<HKEY>(value);
}

}  // namespace

std::int32_t Win32Registry::RegOpenKeyExW(RegistryKey root, const char16_t* subKey,
                                          std::uint32_t options, std::uint32_t access,
                                          RegistryKey& result) {
    HKEY opened = nullptr;
    const LONG error = ::RegOpenKeyExW(ToHkey(root), win32::Wide(subKey), options, access, &opened);
    if (error == ERROR_SUCCESS) result = win32::FromWin32<RegistryKey>(opened);
    return error;
}

std::int32_t Win32Registry::RegQueryValueExW(RegistryKey key, const char16_t* valueName,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* size) {
    // Copied both ways, so what the call leaves alone stays as it was.
    DWORD valueType = type != nullptr ? *type : 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG error = ::RegQueryValueExW(ToHkey(key), win32::Wide(valueName), nullptr,
                                          type != nullptr ? &valueType : nullptr, data,
                                          size != nullptr ? &valueSize : nullptr);
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = valueSize;
    return error;
}

std::int32_t Win32Registry::RegCloseKey(RegistryKey key) {
    return ::RegCloseKey(ToHkey(key));
}

}  // namespace nimbrel
