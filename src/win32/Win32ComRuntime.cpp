#include "win32/Win32ComRuntime.h"

#include <windows.h>

#include <objbase.h>

namespace nimbrel {

HResult Win32ComRuntime::CoInitialize() {
    return ::CoInitialize(nullptr);
}

void Win32ComRuntime::CoUninitialize() {
    ::CoUninitialize();
}

}  // namespace nimbrel
