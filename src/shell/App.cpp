#include "shell/App.h"

#include <algorithm>
#include <cstring>

namespace nimbrel {

App app;

namespace {

constexpr const char* kKeyMissing =
    "Registry key not found!\nThis application has not been installed properly.";
constexpr const char* kValueMissing =
    "Registry value not found!\nThis application has not been installed properly.";
constexpr const char* kErrorCaption = "Nimbrel Error";
constexpr std::uint32_t kErrorFlags = mb::kSystemModal | mb::kIconExclamation;

}  // namespace

bool App::LocateInstallDirectory(Platform& platform) {
    if (installDirectoryLocated) return false;
    installDirectoryLocated = true;

    RegistryKey key = kNoKey;
    if (platform.registry.RegOpenKeyExA(kHkeyLocalMachine, kUninstallKey, 0, reg::kQueryValue,
                                        key) != reg::kSuccess) {
        platform.messageBoxes.MessageBoxA(kKeyMissing, kErrorCaption, kErrorFlags);
        return true;
    }

    char value[kInstallDirectorySize] = {};
    std::uint32_t type = reg::kTypeNone;
    std::uint32_t size = sizeof value;
    const std::int32_t status = platform.registry.RegQueryValueExA(
        key, kUninstallValue, &type, reinterpret_cast<std::uint8_t*>(value), &size);

    // The directory is the value up to its last backslash; a value that fills
    // the whole buffer without a terminator still holds it, as the cut always
    // lies inside the value.
    char* end = value + std::min<std::size_t>(size, sizeof value);
    end = std::find(value, end, '\0');
    char* cut =
        std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(value), '\\').base();
    const bool isString = type == reg::kTypeString || type == reg::kTypeExpandString;
    const std::size_t length = cut == value ? 0 : static_cast<std::size_t>(cut - 1 - value);
    if (status != reg::kSuccess || !isString || length == 0) {
        platform.messageBoxes.MessageBoxA(kValueMissing, kErrorCaption, kErrorFlags);
        platform.registry.RegCloseKey(key);
        return true;
    }

    std::fill(std::begin(installDirectory), std::end(installDirectory), '\0');
    std::memcpy(installDirectory, value, length);
    platform.system.SetCurrentDirectoryA(installDirectory);
    platform.registry.RegCloseKey(key);
    return false;
}

void App::EndProgram() {
    if (mainDialog != nullptr) mainDialog->ReadControls();
    running = 0;
}

}  // namespace nimbrel
