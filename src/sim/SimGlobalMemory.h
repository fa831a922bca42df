// Global memory of the simulated desktop. Blocks belong to the program until
// it hands them to the clipboard; the simulation notes a block freed twice,
// freed while the clipboard owns it, or used after being freed, and can count
// the program's blocks still alive (leaks). Allocation and locking can be
// made to fail once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/GlobalMemory.h"
#include "sim/SimFaults.h"

namespace nimbrel {

class SimGlobalMemory : public GlobalMemory {
  public:
    explicit SimGlobalMemory(SimFaults& faults);

    // Scenario operations.
    void FailNextAlloc() { failAlloc = true; }
    void FailNextLock() { failLock = true; }
    // Blocks the program allocated and neither freed nor gave away.
    std::size_t ProgramBlocks() const;
    // Used by the clipboard: a block with these bytes, owned by the clipboard.
    MemoryHandle CreateForClipboard(std::string_view bytes);
    // Used by the clipboard: takes over a block of the program; false for a
    // block that does not exist.
    bool Adopt(MemoryHandle block);
    // Used by the clipboard: frees a block it owns.
    void Discard(MemoryHandle block);
    // The bytes of a block (empty for one that does not exist).
    std::string_view Bytes(MemoryHandle block) const;
    // Whether a block exists and was allocated with gmem::kMoveable.
    bool IsMoveable(MemoryHandle block) const;

    // The seam.
    MemoryHandle GlobalAlloc(std::uint32_t flags, std::size_t bytes) override;
    void* GlobalLock(MemoryHandle block) override;
    bool GlobalUnlock(MemoryHandle block) override;
    MemoryHandle GlobalFree(MemoryHandle block) override;
    std::size_t GlobalSize(MemoryHandle block) override;

  private:
    struct Block {
        std::vector<char> bytes;
        int locks = 0;
        bool clipboardOwned = false;
        bool moveable = false;
    };
    Block* Find(MemoryHandle block, const char* operation);
    MemoryHandle NewBlock(std::size_t size);

    SimFaults& faults;
    std::map<MemoryHandle, Block> blocks;
    std::uintptr_t nextHandle = 0x20000;
    bool failAlloc = false;
    bool failLock = false;
};

}  // namespace nimbrel
