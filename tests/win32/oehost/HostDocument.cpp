#include "HostDocument.h"

#include "HostCom.h"
#include "OeHostWindows.h"

#include "HostStyleSheet.h"

namespace nimbrel {

HostDocument::HostDocument(std::shared_ptr<SimDocument> model_)
    : model(std::move(model_)), body(new HostElement(model)) {}

HostDocument::~HostDocument() {
    body->Release();
}

HRESULT STDMETHODCALLTYPE HostDocument::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (RefusedInterface(riid)) return E_NOINTERFACE;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IHTMLDocument) || IsEqualIID(riid, IID_IHTMLDocument2)) {
        *object = static_cast<IHTMLDocument2*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostDocument::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE HostDocument::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE HostDocument::get_readyState(BSTR* p) {
    NoteCall("get_readyState");
    if (!model->alive) return E_FAIL;
    return GiveText(model->readyState, p);
}

HRESULT STDMETHODCALLTYPE HostDocument::get_title(BSTR* p) {
    NoteCall("get_title");
    if (!model->alive) return E_FAIL;
    if (!model->title) {
        if (p != nullptr) *p = nullptr;
        return p == nullptr ? E_POINTER : S_OK;
    }
    return GiveText(*model->title, p);
}

HRESULT STDMETHODCALLTYPE HostDocument::put_title(BSTR v) {
    NoteCall("put_title");
    if (!model->alive) return E_FAIL;
    model->title = TakeText(v);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostDocument::get_body(IHTMLElement** p) {
    NoteCall("get_body");
    if (p == nullptr) return E_POINTER;
    *p = nullptr;
    if (!model->alive) return E_FAIL;
    // While loading the document has no body yet.
    if (!model->hasBody) return S_OK;
    body->AddRef();
    *p = body;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostDocument::createStyleSheet(BSTR bstrHref, LONG /*lIndex*/,
                                                         IHTMLStyleSheet** ppnewStyleSheet) {
    NoteCall("createStyleSheet");
    if (ppnewStyleSheet == nullptr) return E_POINTER;
    *ppnewStyleSheet = nullptr;
    if (!model->alive) return E_FAIL;
    model->styleSheets.push_back(TakeText(bstrHref));
    *ppnewStyleSheet = new HostStyleSheet();
    return S_OK;
}

}  // namespace nimbrel
