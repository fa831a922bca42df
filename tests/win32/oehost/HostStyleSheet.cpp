#include "HostStyleSheet.h"

#include "HostCom.h"

namespace nimbrel {

HRESULT STDMETHODCALLTYPE HostStyleSheet::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    // No IMarshal, no IExternalConnection: COM marshals the object itself.
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLStyleSheet)) {
        *object = static_cast<IHTMLStyleSheet*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostStyleSheet::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE HostStyleSheet::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

}  // namespace nimbrel
