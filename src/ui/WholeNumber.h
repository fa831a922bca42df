// Whole numbers as the dialogs' number fields hold them.
#pragma once

#include <cstdint>

#include "shell/Text.h"

namespace nimbrel {

// Parses a field's text: optional spaces or tabs, an optional sign, at least
// one ASCII digit, optional spaces or tabs. False for anything else and for
// numbers outside the 32-bit signed range (`value` is then unchanged).
bool ParseWholeNumber(StringView text, std::int32_t& value);
// The decimal text of a number ("-12").
String DecimalText(std::int64_t value);

}  // namespace nimbrel
