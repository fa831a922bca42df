#include "shell/AtomicFile.h"

#include <fstream>
#include <system_error>

namespace nimbrel {

namespace {

// Writes `bytes` into the open `out`, flushed and closed; whether any step
// failed.
bool WriteAndClose(std::ofstream& out, std::string_view bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    bool failed = !out;
    out.close();  // a full disk may show only here, when the last buffer goes out
    return failed || out.fail();
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    // A device or a pipe (/dev/null, /dev/stdout) is written into: renaming a
    // file over it would put a plain file in its place.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        return !out.is_open() || WriteAndClose(out, bytes);
    }

    std::filesystem::path temporary = path;
    temporary += ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return true;  // nothing created, nothing to clean up
    if (!WriteAndClose(out, bytes)) {
        std::filesystem::rename(temporary, path, error);
        if (!error) return false;
    }
    std::filesystem::remove(temporary, error);
    return true;
}

}  // namespace nimbrel
