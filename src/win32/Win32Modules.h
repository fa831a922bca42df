// Libraries loaded at run time on Windows (kernel32). A ProcAddress holds the
// FARPROC's bits; its user casts it back to the function's own type.
#pragma once

#include "platform/Modules.h"

namespace nimbrel {

class Win32Modules : public Modules {
  public:
    ModuleHandle LoadLibraryA(const char* fileName) override;
    ProcAddress GetProcAddress(ModuleHandle module, const char* procName) override;
    bool FreeLibrary(ModuleHandle module) override;
};

}  // namespace nimbrel
