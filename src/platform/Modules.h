// Libraries loaded at run time (kernel32).
#pragma once

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Modules {
  public:
    virtual ~Modules() = default;

    // LoadLibraryA: kNoModule when the library cannot be loaded. Each
    // successful load is balanced by one FreeLibrary.
    virtual ModuleHandle LoadLibraryA(const char* fileName) = 0;
    // GetProcAddress: kNoProc when the library lacks the function.
    virtual ProcAddress GetProcAddress(ModuleHandle module, const char* procName) = 0;
    virtual bool FreeLibrary(ModuleHandle module) = 0;
};

}  // namespace nimbrel
