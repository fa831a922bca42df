// One line of emoticons.ini: the code to replace and the image file name.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

struct EmoticonEntry { String code; String image; };

}  // namespace nimbrel
