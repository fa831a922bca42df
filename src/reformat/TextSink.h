// Where rendered text goes: QuoteFormatter::Render and the view pipeline
// write their output piece by piece, so a caller can encode or write it as
// it comes instead of holding the whole result.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

class TextSink {
  public:
    virtual ~TextSink() = default;
    // Appends `text` to the output; the view is not kept after the call.
    virtual void Append(StringView text) = 0;
};

// The pieces gathered in a string.
class StringSink final : public TextSink {
  public:
    explicit StringSink(String& out) : out_(out) {}
    void Append(StringView text) override { out_.append(text); }

  private:
    String& out_;
};

}  // namespace nimbrel
