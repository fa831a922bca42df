// One line of emoticons.ini: the code to replace and the image that replaces it.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

struct EmoticonEntry {
    String code;
    String image;
};

}  // namespace nimbrel
