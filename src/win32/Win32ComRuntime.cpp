#include "win32/Win32ComRuntime.h"

#include <windows.h>

#include <objbase.h>

namespace nimbrel {

HResult Win32ComRuntime::CoInitialize() {
    const HRESULT result = ::CoInitialize(nullptr);
    if (SUCCEEDED(result)) ++initialized;
    return result;
}

void Win32ComRuntime::CoUninitialize() {
    // An object released after the last CoUninitialize calls into a
    // library that COM has already unloaded.
    if (initialized == 1) documents.ReleaseTypeLibrary();
    if (initialized > 0) --initialized;
    ::CoUninitialize();
}

}  // namespace nimbrel
