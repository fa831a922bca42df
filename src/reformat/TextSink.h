// Where rendered text goes: QuoteFormatter::Render writes its output piece
// by piece, so a caller can encode or write it as it comes instead of
// holding the whole result.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

class TextSink {
  public:
    virtual ~TextSink() = default;
    // Appends `text` to the output; the view is not kept after the call.
    virtual void Append(StringView text) = 0;
};

}  // namespace nimbrel
