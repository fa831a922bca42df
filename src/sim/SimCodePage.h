// The thread's ANSI code page of the simulated desktop. UTF-8 by default, as
// the program's 8-bit text is on Linux: valid sequences decode as UTF-8 and
// each byte of an invalid one stands for the code point of the same value;
// writing produces UTF-8, with U+FFFD for an unpaired surrogate. Windows-1252
// models a Western Windows: the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which
// it leaves undefined, map to the C1 code points of the same value and back,
// and every character it cannot represent is written as '?'.
#pragma once

#include <string>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel {

class SimCodePage {
  public:
    enum class Kind { kUtf8, kWindows1252 };

    void Set(Kind k) { kind = k; }
    Kind Get() const { return kind; }

    String ToWide(std::string_view bytes) const;
    std::string ToBytes(StringView text) const;

  private:
    Kind kind = Kind::kUtf8;
};

}  // namespace nimbrel
