#include "sim/SimShell.h"

#include <algorithm>
#include <system_error>

namespace nimbrel {

std::intptr_t SimShell::ShellExecuteW(WindowHandle owner, const char16_t* verb,
                                      const char16_t* file, const char16_t* parameters,
                                      const char16_t* directory, int showCommand) {
    calls.push_back({owner, String(sim::Terminated(verb)), String(sim::Terminated(file)),
                     String(sim::Terminated(parameters)), String(sim::Terminated(directory)),
                     showCommand});
    if (script.empty()) return 42;
    const std::intptr_t result = script.front();
    script.pop_front();
    return result;
}

bool SimShell::Shell_NotifyIconW(std::uint32_t message, const NotifyIconData& data) {
    const auto found = std::find_if(trayIcons.begin(), trayIcons.end(), [&](const SimTrayIcon& i) {
        return i.window == data.hWnd && i.id == data.uID;
    });
    const auto fail = [this] {
        ++failedTrayCalls;
        return false;
    };
    if (!trayAvailable) return fail();
    SimTrayIcon* icon = nullptr;
    switch (message) {
        case nim::kAdd:
            if (found != trayIcons.end()) return fail();
            trayIcons.push_back({data.hWnd, data.uID, 0, kNoIcon, String()});
            icon = &trayIcons.back();
            break;
        case nim::kModify:
            if (found == trayIcons.end()) return fail();
            icon = &*found;
            break;
        case nim::kDelete:
            if (found == trayIcons.end()) return fail();
            trayIcons.erase(found);
            return true;
        default:
            return fail();
    }
    if ((data.uFlags & nif::kMessage) != 0) icon->callbackMessage = data.uCallbackMessage;
    if ((data.uFlags & nif::kIcon) != 0) icon->icon = data.hIcon;
    if ((data.uFlags & nif::kTip) != 0) {
        const char16_t* end = std::find(std::begin(data.szTip), std::end(data.szTip), u'\0');
        icon->tip.assign(std::begin(data.szTip), end);
    }
    return true;
}

HResult SimShell::SHGetFolderPathW(WindowHandle /*owner*/, int folder, AccessToken /*token*/,
                                   std::uint32_t /*flags*/, char16_t* path) {
    constexpr HResult kNotFound = static_cast<HResult>(0x80070002u);  // ERROR_FILE_NOT_FOUND
    if ((folder & ~csidl::kFlagCreate) != csidl::kAppData || path == nullptr)
        return hr::kInvalidArg;
    std::error_code error;
    if (appData.empty()) return kNotFound;
    if ((folder & csidl::kFlagCreate) != 0) std::filesystem::create_directories(appData, error);
    if (!std::filesystem::is_directory(appData, error)) return kNotFound;
    const std::u16string text = appData.u16string();
    if (text.size() >= csidl::kMaxPath) return hr::kFail;
    std::copy(text.begin(), text.end(), path);
    path[text.size()] = u'\0';
    return hr::kOk;
}

}  // namespace nimbrel
