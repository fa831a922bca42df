// The command line tool's input: a file, or standard input, as UTF-16.
#pragma once

#include <string>

#include "shell/Text.h"

namespace nimbrel {

// Reads FILE, or standard input for "-", as strict UTF-8 and returns it as
// UTF-16 exactly (line breaks as they are), decoding as it reads, so the
// bytes are never held whole. A byte order mark at the start is dropped and
// reported in `byteOrderMark`. Throws CommandError: "cannot read 'FILE'"
// ("cannot read standard input"), or "'FILE': invalid UTF-8 at byte N"
// ("standard input: ..."), N counted from the start of the input.
String ReadUtf8Input(const std::string& path, bool& byteOrderMark);

}  // namespace nimbrel
