#include "win32/Win32GlobalMemory.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

using win32::FromWin32;
using win32::ToWin32;

MemoryHandle Win32GlobalMemory::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
    return FromWin32<MemoryHandle>(::GlobalAlloc(flags, bytes));
}

void* Win32GlobalMemory::GlobalLock(MemoryHandle block) {
    return ::GlobalLock(ToWin32<HGLOBAL>(block));
}

bool Win32GlobalMemory::GlobalUnlock(MemoryHandle block) {
    return ::GlobalUnlock(ToWin32<HGLOBAL>(block)) != FALSE;
}

MemoryHandle Win32GlobalMemory::GlobalFree(MemoryHandle block) {
    return FromWin32<MemoryHandle>(::GlobalFree(ToWin32<HGLOBAL>(block)));
}

std::size_t Win32GlobalMemory::GlobalSize(MemoryHandle block) {
    return ::GlobalSize(ToWin32<HGLOBAL>(block));
}

}  // namespace nimbrel
