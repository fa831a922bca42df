// Linked into every benchmark. With glibc's defaults a buffer of more than a
// few megabytes is mapped from the system on allocation and unmapped when
// freed, so each iteration on a 10 MB text faults all its pages in anew while
// the same buffers for 1 MB are reused from the heap: the two sizes would not
// measure the same work. Keeping every buffer in the heap makes both reuse
// their memory, so the ratio of the times shows how the steps scale. The
// cost of fresh memory in a whole run is measured by bench/compare-filters.
// (Each benchmark also warms up first, so that a single timed iteration on
// 10 MB does not pay for the first touch of the heap. The library of Debian
// 12 takes a benchmark's MinWarmUpTime only when MinTime is set as well, so
// every benchmark sets both.)
// <cstddef> comes first: it defines __GLIBC__ for the test below.
#include <cstddef>

#if defined(__GLIBC__)
#include <malloc.h>

namespace {

const bool warmHeap = [] {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();

}  // namespace
#endif
