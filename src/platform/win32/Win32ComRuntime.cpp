#include "platform/win32/Win32ComRuntime.h"

#include <objbase.h>
#include <windows.h>

namespace nimbrel {

HResult Win32ComRuntime::CoInitialize() {
    return ::CoInitialize(nullptr);
}

void Win32ComRuntime::CoUninitialize() {
    ::CoUninitialize();
}

}  // namespace nimbrel
