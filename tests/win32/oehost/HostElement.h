// The body element of a HostDocument: innerHTML and innerText of the shared
// model, each write noted with its time (NoteBodyWritten) and made after the
// model's `writeDelay`, for which the client blocks.
#pragma once

#include <memory>

#include "HtmlStubs.h"
#include "sim/SimDocument.h"

namespace nimbrel {

class HostElement final : public HtmlElementStubs {
  public:
    explicit HostElement(std::shared_ptr<SimDocument> model);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_innerHTML(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_innerHTML(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_innerText(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_innerText(BSTR v) override;

  private:
    ~HostElement() = default;
    // A write takes the model's `writeDelay`.
    void BlockForWrite();

    LONG references = 1;
    std::shared_ptr<SimDocument> model;
};

}  // namespace nimbrel
