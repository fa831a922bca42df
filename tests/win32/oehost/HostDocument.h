// The test host's MSHTML document and body element: COM objects of its own
// implementing IHTMLDocument2 and IHTMLElement over a SimDocument, the same
// model of ready state, title, body HTML and text (CR LF breaks, see
// SimHtmlText) that the simulated desktop uses. Handed to another process
// with LresultFromObject; QueryInterface refuses IMarshal and
// IExternalConnection, so COM's standard (type library) marshalling serves
// every call. Methods the program does not use answer E_NOTIMPL
// (HtmlStubs.h). Once the document's window is gone every call fails.
#pragma once

#include <memory>

#include "HostElement.h"
#include "HtmlStubs.h"
#include "sim/SimDocument.h"

namespace nimbrel {

class HostDocument final : public HtmlDocumentStubs {
  public:
    // A new object with one reference.
    explicit HostDocument(std::shared_ptr<SimDocument> model);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_title(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE createStyleSheet(BSTR bstrHref, LONG lIndex,
                                               IHTMLStyleSheet** ppnewStyleSheet) override;

  private:
    ~HostDocument();

    LONG references = 1;
    std::shared_ptr<SimDocument> model;
    HostElement* body;
};

}  // namespace nimbrel
