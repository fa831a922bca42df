// The program's pseudo-random generator: the C runtime's classic linear
// congruential generator with its 15-bit results, written out here so that
// the same seed gives the same sequence on every platform and C runtime.
#pragma once

#include <cstdint>

namespace nimbrel {

class CrtRandom {
  public:
    static constexpr std::int32_t kMax = 0x7FFF;  // results lie in 0..kMax

    explicit CrtRandom(std::uint32_t seed = 1) : state(seed) {}

    void Seed(std::uint32_t seed) { state = seed; }

    // state = state * 214013 + 2531011 (mod 2^32); result (state >> 16) & 0x7FFF.
    std::int32_t Next();

  private:
    std::uint32_t state;
};

// The process-wide generator. Start-up seeds it (the tray program from the
// clock, the command line tool from --seed or the clock); until then it
// behaves as if seeded with 1, as the C runtime does.
extern CrtRandom crtRandom;

}  // namespace nimbrel
