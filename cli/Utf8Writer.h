// The command line tool's output: UTF-16 text encoded to UTF-8 as it comes
// and written in pieces, so a rebuilt text is never held whole (twice: as
// UTF-16 and as UTF-8) before it is written.
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "reformat/TextSink.h"
#include "shell/Text.h"

namespace nimbrel {

class Utf8Writer final : public TextSink {
  public:
    // Writes to `stream` whenever some 64 KiB have gathered; with no stream
    // everything is kept for Bytes() (for a file that is replaced whole).
    explicit Utf8Writer(std::ostream* stream);

    // Appends `text` with LF line breaks: a CR directly before an LF is
    // dropped, also when the two come in different calls. An unpaired
    // surrogate becomes U+FFFD.
    void Append(StringView text) override;
    // Appends `text` as it stands.
    void AppendExact(StringView text);
    void AppendBytes(std::string_view bytes);
    // Writes out what is held, a CR held back by Append included.
    void Finish();
    // Everything appended, when there is no stream (after Finish).
    const std::string& Bytes() const { return kept; }

  private:
    void Encode(StringView text, bool lfBreaks);
    void Flush();

    std::ostream* stream;
    std::unique_ptr<char[]> buffer;
    std::size_t used = 0;
    std::string kept;
    bool heldCr = false;
};

}  // namespace nimbrel
