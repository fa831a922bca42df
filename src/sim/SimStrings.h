// Letter case rules of the simulated desktop: window classes, titles in
// window searches, registered names and registry paths compare without
// regard to ASCII letter case.
#pragma once

#include <string>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel::sim {

String AsciiLower(StringView text);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreCase(StringView a, StringView b);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// A NUL-terminated text, or empty for nullptr.
StringView Terminated(const char16_t* text);

}  // namespace nimbrel::sim
