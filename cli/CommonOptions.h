// Options and helpers shared by the commands that run the engine on a text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Settings.h"
#include "shell/Text.h"

namespace CLI {
class App;
}

namespace nimbrel {

// The settings and data files of one run:
//   --config FILE      a Nimbrel.cfg to start from (else the factory defaults;
//                      the current directory's Nimbrel.cfg is not read)
//   --set NAME=VALUE   overrides one field for this run; repeatable, applied
//                      in order after --config
//   --data DIR         where signatures.ini, styles.css and emoticons.ini are
// Keep the object alive until the command line has been parsed (for
// instance in a std::shared_ptr captured by the command's callback).
class CommonOptions {
  public:
    void AddTo(CLI::App& command);

    // The factory defaults, overwritten by --config and then by each --set.
    // Throws CommandError when the file cannot be read or an assignment is
    // not accepted.
    Settings BuildSettings() const;

    // FindDataDirectory of --data.
    std::filesystem::path DataDirectory() const;

  private:
    std::string configFile_;
    std::vector<std::string> assignments_;
    std::string dataDirectory_;
};

// The data directory: `given` when it is not empty (it must be a
// directory), else the data installed with the tool (<exe>/../share/nimbrel),
// else the source tree's data/. Throws CommandError when there is none.
std::filesystem::path FindDataDirectory(const std::string& given);

// The whole Nimbrel.cfg at `path` over the factory defaults. Throws
// CommandError when it cannot be read (a missing file included).
Settings ReadSettingsFile(const std::filesystem::path& path);

// The whole content of the file `path`, or of standard input for "-", as
// bytes. Throws CommandError when it cannot be read.
std::string ReadInput(const std::string& path);

// Strict UTF-8 to UTF-16, with `crLfBreaks` every LF not after a CR made
// CR LF in the same pass. Throws CommandError "<name>: invalid UTF-8 at byte N"
// on the first bad sequence, N counted from 0 and increased by `firstOffset`
// (where `bytes` starts in the input).
String DecodeUtf8Input(std::string_view bytes, const std::string& name, bool crLfBreaks = false,
                       std::size_t firstOffset = 0);

// Replaces the file `path` with `bytes` through a temporary file and a rename
// (see WriteFileAtomically), so that a failed write leaves it as it was.
// Throws CommandError on failure.
void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace nimbrel
