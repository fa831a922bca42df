#include "sim/SimGlobalMemory.h"

#include <algorithm>

namespace nimbrel {

SimGlobalMemory::SimGlobalMemory(SimFaults& faults_) : faults(faults_) {}

std::size_t SimGlobalMemory::ProgramBlocks() const {
    return static_cast<std::size_t>(std::count_if(
        blocks.begin(), blocks.end(), [](const auto& b) { return !b.second.clipboardOwned; }));
}

MemoryHandle SimGlobalMemory::NewBlock(std::size_t size) {
    const MemoryHandle handle{nextHandle};
    nextHandle += 8;
    Block& block = blocks[handle];
    // Never an empty vector, so that a lock of a zero-byte block still gives
    // a pointer.
    block.bytes.reserve(std::max<std::size_t>(size, 1));
    block.bytes.resize(size);
    return handle;
}

MemoryHandle SimGlobalMemory::CreateForClipboard(std::string_view bytes) {
    const MemoryHandle handle = NewBlock(bytes.size());
    Block& block = blocks.at(handle);
    std::copy(bytes.begin(), bytes.end(), block.bytes.begin());
    block.clipboardOwned = true;
    block.moveable = true;
    return handle;
}

bool SimGlobalMemory::Adopt(MemoryHandle handle) {
    Block* block = Find(handle, "SetClipboardData");
    if (block == nullptr) return false;
    if (block->locks > 0) faults.Report("a locked block was given to the clipboard");
    block->clipboardOwned = true;
    return true;
}

void SimGlobalMemory::Discard(MemoryHandle handle) {
    blocks.erase(handle);
}

std::string_view SimGlobalMemory::Bytes(MemoryHandle handle) const {
    const auto found = blocks.find(handle);
    if (found == blocks.end()) return {};
    return std::string_view(found->second.bytes.data(), found->second.bytes.size());
}

SimGlobalMemory::Block* SimGlobalMemory::Find(MemoryHandle handle, const char* operation) {
    const auto found = blocks.find(handle);
    if (found != blocks.end()) return &found->second;
    faults.Report(std::string(operation) + " of a memory block that does not exist");
    return nullptr;
}

MemoryHandle SimGlobalMemory::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
    if (failAlloc) {
        failAlloc = false;
        return kNoMemory;
    }
    const MemoryHandle handle = NewBlock(bytes);
    blocks.at(handle).moveable = (flags & gmem::kMoveable) != 0;
    return handle;
}

bool SimGlobalMemory::IsMoveable(MemoryHandle handle) const {
    const auto found = blocks.find(handle);
    return found != blocks.end() && found->second.moveable;
}

void* SimGlobalMemory::GlobalLock(MemoryHandle handle) {
    Block* block = Find(handle, "GlobalLock");
    if (block == nullptr) return nullptr;
    if (failLock) {
        failLock = false;
        return nullptr;
    }
    ++block->locks;
    return block->bytes.data();
}

bool SimGlobalMemory::GlobalUnlock(MemoryHandle handle) {
    Block* block = Find(handle, "GlobalUnlock");
    if (block == nullptr || block->locks == 0) return false;
    return --block->locks > 0;
}

MemoryHandle SimGlobalMemory::GlobalFree(MemoryHandle handle) {
    Block* block = Find(handle, "GlobalFree");
    if (block == nullptr) return handle;
    if (block->clipboardOwned) {
        faults.Report("GlobalFree of a block the clipboard owns");
        return handle;
    }
    blocks.erase(handle);
    return kNoMemory;
}

std::size_t SimGlobalMemory::GlobalSize(MemoryHandle handle) {
    const auto found = blocks.find(handle);
    return found == blocks.end() ? 0 : found->second.bytes.size();
}

}  // namespace nimbrel
