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

// The two sizes every stage benchmark runs at, so that bench/scaling can
// compare them: 1 and 10 units of its input (AtOneAndTen), or 1 and 10 MB
// (AtOneAndTenMegabytes); in milliseconds, each after half a second of
// warm-up (WarmHeap.cpp says why MinTime is set as well).
inline void Timed(benchmark::internal::Benchmark* run) {
    run->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->MinTime(0.5);
}
inline void AtOneAndTen(benchmark::internal::Benchmark* run) {
    Timed(run->Arg(1)->Arg(10));
}
inline void AtOneAndTenMegabytes(benchmark::internal::Benchmark* run) {
    Timed(run->Arg(std::int64_t{1} << 20)->Arg(std::int64_t{10} << 20));
}

}  // namespace nimbrel
