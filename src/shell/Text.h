// The one string type of the program. All text inside Nimbrel is UTF-16;
// positions, lengths and columns count UTF-16 code units.
#pragma once

#include <string>
#include <string_view>

namespace nimbrel {

using String = std::u16string;
using StringView = std::u16string_view;

}  // namespace nimbrel
