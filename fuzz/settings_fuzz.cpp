// Nimbrel.cfg from arbitrary bytes: loaded over the defaults, every field
// formatted, saved and loaded again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "shell/Settings.h"
#include "shell/SettingsFields.h"
#include "shell/Utf.h"

namespace {

using nimbrel::Settings;

void Check(bool condition) {
    if (!condition) std::abort();
}

// One file per fuzzing process, removed at exit.
struct ScratchFile {
    std::filesystem::path path;
    ScratchFile() {
        path = std::filesystem::temp_directory_path() /
               ("nimbrel-settings-fuzz-" + std::to_string(std::random_device()()) + ".cfg");
    }
    ~ScratchFile() {
        std::error_code error;
        std::filesystem::remove(path, error);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    {
        std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        Check(!out.fail());
    }
    Settings record = Settings::Defaults();
    Check(!nimbrel::LoadSettings(record, scratch.path));
    Check(record.emailHeader.text[nimbrel::kTemplateUnits - 1] == 0);
    Check(record.newsHeader.text[nimbrel::kTemplateUnits - 1] == 0);

    // The file's bytes, but for the two forced terminators, are the record's.
    Settings expected = Settings::Defaults();
    std::memcpy(&expected, data, std::min(size, sizeof expected));
    expected.emailHeader.text[nimbrel::kTemplateUnits - 1] = 0;
    expected.newsHeader.text[nimbrel::kTemplateUnits - 1] = 0;
    Check(std::memcmp(&expected, &record, sizeof record) == 0);

    for (const nimbrel::SettingsField& field : nimbrel::AllSettingsFields()) {
        const std::string text = nimbrel::FormatSettingsField(record, field);
        nimbrel::String decoded;
        std::size_t offset = 0;
        Check(nimbrel::Utf8ToUtf16(text, decoded, offset));
    }

    Check(!nimbrel::SaveSettings(record, scratch.path));
    Settings reloaded = Settings::Defaults();
    Check(!nimbrel::LoadSettings(reloaded, scratch.path));
    Check(std::memcmp(&reloaded, &record, sizeof record) == 0);
    return 0;
}
