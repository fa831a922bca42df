// Global memory blocks on Windows (kernel32): HGLOBALs.
#pragma once

#include "platform/GlobalMemory.h"

namespace nimbrel {

class Win32GlobalMemory : public GlobalMemory {
  public:
    MemoryHandle GlobalAlloc(std::uint32_t flags, std::size_t bytes) override;
    void* GlobalLock(MemoryHandle block) override;
    bool GlobalUnlock(MemoryHandle block) override;
    MemoryHandle GlobalFree(MemoryHandle block) override;
    std::size_t GlobalSize(MemoryHandle block) override;
};

}  // namespace nimbrel
