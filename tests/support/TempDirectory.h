// A fresh, empty directory for one test, removed with everything in it when
// the object goes out of scope; plus small whole-file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace nimbrel {

class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

// The whole file as bytes; fails the test when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
// Creates or replaces the file; fails the test when it cannot be written.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace nimbrel
