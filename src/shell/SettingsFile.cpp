// Nimbrel.cfg: the byte image of the settings record.
#include <cstring>
#include <fstream>
#include <system_error>

#include "shell/App.h"
#include "shell/AtomicFile.h"
#include "shell/Settings.h"

namespace nimbrel {

bool LoadSettings(Settings& record, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return true;
    char bytes[sizeof(Settings)];
    in.read(bytes, sizeof bytes);
    // A short file ends with eof (and fail); bad means the read itself failed,
    // as for a directory, and then the record stays as it was.
    if (in.bad()) return true;
    std::memcpy(&record, bytes, static_cast<std::size_t>(in.gcount()));
    // A foreign or damaged file may fill a template without a terminator.
    record.emailHeader.text[kTemplateUnits - 1] = u'\0';
    record.newsHeader.text[kTemplateUnits - 1] = u'\0';
    return false;
}

bool LoadSettings() {
    if (!app.userDirectory.empty() && !LoadSettings(settings, app.UserFile(kSettingsFileName)))
        return false;
    return LoadSettings(settings, kSettingsFileName);
}

bool SaveSettings(const Settings& record, const std::filesystem::path& path) {
    char bytes[sizeof(Settings)];
    std::memcpy(bytes, &record, sizeof bytes);
    return WriteFileAtomically(path, std::string_view(bytes, sizeof bytes));
}

bool SaveSettings() {
    if (!app.userDirectory.empty()) {
        std::error_code error;  // a folder that cannot be made fails the write
        std::filesystem::create_directory(app.userDirectory, error);
    }
    return SaveSettings(settings, app.UserFile(kSettingsFileName));
}

}  // namespace nimbrel
