#include "shell/CrtRandom.h"

namespace nimbrel {

std::int32_t CrtRandom::Next() {
    state = state * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
}

CrtRandom crtRandom;

}  // namespace nimbrel
