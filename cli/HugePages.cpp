// Large buffers of the command line tool on huge pages (Linux).
//
// A filter on a 10 MB message writes some 100 MB of fresh memory (the input,
// its UTF-16 text, the stages' results, the output), and on 4 KiB pages the
// kernel's first-touch faults then cost as much as all the work itself. The
// system's policy here gives huge pages only where asked for, so every large
// allocation asks: a block of at least 4 MiB is made of whole 2 MiB pages
// (aligned, its size rounded up) and advised as huge-page memory. Blocks
// still come from malloc and go back with free, so nothing else changes; a
// block's last huge page may be resident before it is written, under 2 MiB
// per block.
//
// Not with AddressSanitizer, whose own allocation functions must stay.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NIMBREL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define NIMBREL_ASAN 1
#endif

#if defined(__linux__) && !defined(NIMBREL_ASAN)
#include <sys/mman.h>

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
constexpr std::size_t kLargeBlock = 2 * kHugePage;

void* Allocate(std::size_t size) {
    if (size < kLargeBlock) {
        void* block = std::malloc(size == 0 ? 1 : size);
        if (block == nullptr) throw std::bad_alloc();
        return block;
    }
    // Whole huge pages: a block that began or ended inside one would have
    // its ends on small pages, a few MiB of the slow kind per block.
    const std::size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    void* block = nullptr;
    if (rounded < size || posix_memalign(&block, kHugePage, rounded) != 0) throw std::bad_alloc();
    // Advice only: where it is refused the block works as before.
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

#endif
