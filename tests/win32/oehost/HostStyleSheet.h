// What HostDocument::createStyleSheet hands back: a style sheet that does
// nothing (the document records the path).
#pragma once

#include "HtmlStubs.h"

namespace nimbrel {

class HostStyleSheet final : public HtmlStyleSheetStubs {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

  private:
    ~HostStyleSheet() = default;

    LONG references = 1;
};

}  // namespace nimbrel
