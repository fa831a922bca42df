#include "HostElement.h"

#include "HostCom.h"

#include "OeHostWindows.h"

namespace nimbrel {

HostElement::HostElement(std::shared_ptr<SimDocument> model_) : model(std::move(model_)) {}

void HostElement::BlockForWrite() {
    // The whole client stands still meanwhile, as a client stuck in the
    // write would.
    if (model->writeDelay > 0) Sleep(static_cast<DWORD>(model->writeDelay));
}

HRESULT STDMETHODCALLTYPE HostElement::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (RefusedInterface(riid)) return E_NOINTERFACE;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLElement)) {
        *object = static_cast<IHTMLElement*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostElement::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE HostElement::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE HostElement::get_innerHTML(BSTR* p) {
    NoteCall("get_innerHTML");
    if (!model->alive) return E_FAIL;
    return GiveText(model->InnerHtml(), p);
}

HRESULT STDMETHODCALLTYPE HostElement::put_innerHTML(BSTR v) {
    NoteCall("put_innerHTML");
    if (!model->alive) return E_FAIL;
    if (model->putResult != hr::kOk) return static_cast<HRESULT>(model->putResult);
    BlockForWrite();
    model->SetInnerHtml(TakeText(v));
    NoteBodyWritten(*model);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostElement::get_innerText(BSTR* p) {
    NoteCall("get_innerText");
    if (!model->alive) return E_FAIL;
    if (model->busyAfterRead > 0) {
        SetClientBusy(static_cast<DWORD>(model->busyAfterRead));
        model->busyAfterRead = 0;
    }
    return GiveText(model->InnerText(), p);
}

HRESULT STDMETHODCALLTYPE HostElement::put_innerText(BSTR v) {
    NoteCall("put_innerText");
    if (!model->alive) return E_FAIL;
    if (model->putResult != hr::kOk) return static_cast<HRESULT>(model->putResult);
    BlockForWrite();
    model->SetInnerText(TakeText(v));
    NoteBodyWritten(*model);
    return S_OK;
}

}  // namespace nimbrel
