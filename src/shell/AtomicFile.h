// Replacing a whole file so that a failure never leaves it half written.
#pragma once

#include <filesystem>
#include <string_view>

namespace nimbrel {

// Writes `bytes` to `path`, replacing the file if it exists. The bytes go to
// "<path>.tmp" in the same directory first; that file is flushed and closed,
// every step checked, and then renamed over `path`. Returns true when any step
// fails: the temporary file is then removed and `path` is left as it was.
// The temporary name is fixed, so two processes must not replace the same
// file at the same moment. A symbolic link at `path` is replaced by a file.
// Anything else that is not a plain file (a device such as /dev/null, a pipe)
// is written into directly; a directory is refused.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace nimbrel
