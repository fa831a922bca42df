// Global memory blocks (kernel32), the currency of the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class GlobalMemory {
  public:
    virtual ~GlobalMemory() = default;

    // GlobalAlloc (gmem:: flags): kNoMemory on failure.
    virtual MemoryHandle GlobalAlloc(std::uint32_t flags, std::size_t bytes) = 0;
    // GlobalLock: a pointer to the block's bytes, valid until the matching
    // GlobalUnlock; nullptr on failure.
    virtual void* GlobalLock(MemoryHandle block) = 0;
    // GlobalUnlock: true while the block is still locked afterwards.
    virtual bool GlobalUnlock(MemoryHandle block) = 0;
    // GlobalFree: kNoMemory on success, `block` on failure.
    virtual MemoryHandle GlobalFree(MemoryHandle block) = 0;
    // GlobalSize: the block's size in bytes, 0 for an invalid block.
    virtual std::size_t GlobalSize(MemoryHandle block) = 0;
};

}  // namespace nimbrel
