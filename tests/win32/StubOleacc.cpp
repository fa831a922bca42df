// A stand-in OLEACC.DLL for the Windows end-to-end checks: it loads, but
// lacks ObjectFromLresult, as an accessibility library too old or damaged
// for Nimbrel would. Placed beside Nimbrel.exe it is found before the
// system's.
#include <windows.h>

extern "C" __declspec(dllexport) UINT WINAPI GetRoleTextW(DWORD /*role*/, LPWSTR text, UINT size) {
    if (text != nullptr && size > 0) text[0] = L'\0';
    return 0;
}
