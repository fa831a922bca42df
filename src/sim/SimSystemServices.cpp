#include "sim/SimSystemServices.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace nimbrel {

SimSystemServices::SimSystemServices(SimClock& clock_, SimCodePage& codePage_)
    : clock(clock_), codePage(codePage_) {}

void SimSystemServices::Sleep(std::uint32_t milliseconds) {
    sleeps.push_back(milliseconds);
    clock.AdvanceBy(milliseconds);
}

std::uint32_t SimSystemServices::GetCurrentDirectoryA(std::uint32_t bufferSize, char* buffer) {
    std::error_code error;
    const std::string path = std::filesystem::current_path(error).string();
    if (error) return 0;
    const auto length = static_cast<std::uint32_t>(path.size());
    if (buffer == nullptr || bufferSize <= length) return length + 1;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
}

bool SimSystemServices::SetCurrentDirectoryW(const char16_t* path) {
    if (failSetCurrentDirectory || path == nullptr || *path == u'\0') return false;
    std::error_code error;
    std::filesystem::current_path(std::filesystem::path(std::u16string_view(path)), error);
    return !error;
}

std::int64_t SimSystemServices::time() {
    return calendarStart + static_cast<std::int64_t>(clock.Now() / 1000);
}

}  // namespace nimbrel
