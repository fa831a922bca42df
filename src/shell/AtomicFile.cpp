#include "shell/AtomicFile.h"

#include <fstream>
#include <system_error>

namespace nimbrel {

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return true;  // nothing created, nothing to clean up
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    bool failed = !out;
    out.close();  // a full disk may show only here, when the last buffer goes out
    failed = failed || out.fail();
    std::error_code error;
    if (!failed) {
        std::filesystem::rename(temporary, path, error);
        if (!error) return false;
    }
    std::filesystem::remove(temporary, error);
    return true;
}

}  // namespace nimbrel
