// Shared by the stage benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nimbrel {

// Reads and writes 64 MB, so that what a stage is about to read is in no
// cache at either size. Call it with the clock stopped: on 1 MB all of a
// stage's input would otherwise still be cached from the copy made for it
// (or the run before), on 10 MB not, and the same work per character would
// look slower on the larger text.
inline void EvictCaches() {
    static std::vector<std::uint64_t> other(std::size_t{8} << 20, 1);
    std::uint64_t sum = 0;
    for (std::uint64_t& word : other)
        sum += word++;
    benchmark::DoNotOptimize(sum);
}

}  // namespace nimbrel
