#include "shell/App.h"

#include <algorithm>
#include <iterator>
#include <string>

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
    if (platform.registry.RegOpenKeyExW(kHkeyLocalMachine, kUninstallKey, 0, reg::kQueryValue,
                                        key) != reg::kSuccess) {
        platform.messageBoxes.MessageBoxA(kKeyMissing, kErrorCaption, kErrorFlags);
        return true;
    }

    char16_t value[kInstallDirectorySize] = {};
    std::uint32_t type = reg::kTypeNone;
    std::uint32_t size = sizeof value;
    const std::int32_t status = platform.registry.RegQueryValueExW(
        key, kUninstallValue, &type, reinterpret_cast<std::uint8_t*>(value), &size);

    // The directory is the value up to its last backslash; a value that fills
    // the whole buffer without a terminator still holds it, as the cut always
    // lies inside the value. An odd last byte is no unit.
    char16_t* end = value + std::min<std::size_t>(size / sizeof(char16_t), kInstallDirectorySize);
    end = std::find(value, end, u'\0');
    char16_t* cut =
        std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(value), u'\\').base();
    const bool isString = type == reg::kTypeString || type == reg::kTypeExpandString;
    const std::size_t length = cut == value ? 0 : static_cast<std::size_t>(cut - 1 - value);
    if (status != reg::kSuccess || !isString || length == 0) {
        platform.messageBoxes.MessageBoxA(kValueMissing, kErrorCaption, kErrorFlags);
        platform.registry.RegCloseKey(key);
        return true;
    }

    std::fill(std::begin(installDirectory), std::end(installDirectory), u'\0');
    std::copy(value, value + length, installDirectory);
    platform.system.SetCurrentDirectoryW(installDirectory);
    platform.registry.RegCloseKey(key);
    return false;
}

bool App::LocateUserDirectory(Platform& platform) {
    userDirectory.clear();
    char16_t folder[csidl::kMaxPath] = {};
    if (platform.shell.SHGetFolderPathW(kNoWindow, csidl::kAppData | csidl::kFlagCreate, kNoToken,
                                        0, folder) != hr::kOk) {
        return true;
    }
    const std::u16string path(folder, std::find(std::begin(folder), std::end(folder), u'\0'));
    if (path.empty()) return true;
    userDirectory = std::filesystem::path(path) / kUserFolderName;
    return false;
}

std::filesystem::path App::UserFile(std::string_view name) const {
    return userDirectory.empty() ? std::filesystem::path(name) : userDirectory / name;
}

void App::EndProgram() {
    if (mainDialog != nullptr) mainDialog->ReadControls();
    running = 0;
}

}  // namespace nimbrel
