// Small COM helpers of the test host's MSHTML objects.
#pragma once

#include <oleauto.h>
#include <unknwn.h>

#include "shell/Text.h"

namespace nimbrel {

// The reply to a request for IMarshal or IExternalConnection: none, so that
// COM marshals the object itself (type library marshalling).
inline bool RefusedInterface(REFIID riid) {
    return IsEqualIID(riid, IID_IMarshal) || IsEqualIID(riid, IID_IExternalConnection);
}

// A string handed out as a new BSTR of its whole length.
inline HRESULT GiveText(StringView text, BSTR* p) {
    if (p == nullptr) return E_POINTER;
    *p = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
    return *p == nullptr && !text.empty() ? E_OUTOFMEMORY : S_OK;
}

// A BSTR received (null: empty), whole.
inline String TakeText(BSTR v) {
    return v == nullptr ? String() : String(reinterpret_cast<const char16_t*>(v), SysStringLen(v));
}

}  // namespace nimbrel
