#include "win32/Win32Modules.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

using win32::FromWin32;
using win32::ToWin32;

ModuleHandle Win32Modules::LoadLibraryA(const char* fileName) {
    return FromWin32<ModuleHandle>(::LoadLibraryA(fileName));
}

ProcAddress Win32Modules::GetProcAddress(ModuleHandle module, const char* procName) {
    return ProcAddress{
        reinterpret_cast<std::uintptr_t>(::GetProcAddress(ToWin32<HMODULE>(module), procName))};
}

bool Win32Modules::FreeLibrary(ModuleHandle module) {
    return ::FreeLibrary(ToWin32<HMODULE>(module)) != FALSE;
}

}  // namespace nimbrel
