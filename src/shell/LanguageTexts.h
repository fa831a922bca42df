// The lookup of whole texts in the language file, as message boxes use it.
// The language file object implements it; the process-wide pointer to that
// object is `App::langFile`.
#pragma once

#include <string_view>

#include "shell/Text.h"

namespace nimbrel {

class LanguageTexts {
  public:
    virtual ~LanguageTexts() = default;

    // GetText: the block value of `key` (an 8-bit key, matched byte for byte),
    // or nullptr when the file lacks the key. The text stays valid until the
    // next GetText call.
    virtual const String* GetText(std::string_view key) = 0;
};

}  // namespace nimbrel
