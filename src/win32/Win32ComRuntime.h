// COM initialisation of the calling thread on Windows (ole32).
#pragma once

#include "platform/ComRuntime.h"
#include "win32/Win32HtmlDocuments.h"

namespace nimbrel {

class Win32ComRuntime : public ComRuntime {
  public:
    // `documents` holds COM objects of its own (the MSHTML type library),
    // which must go before the last CoUninitialize of the thread.
    explicit Win32ComRuntime(Win32HtmlDocuments& documents_) : documents(documents_) {}

    HResult CoInitialize() override;
    void CoUninitialize() override;

  private:
    Win32HtmlDocuments& documents;
    // Successful CoInitialize calls not yet balanced.
    int initialized = 0;
};

}  // namespace nimbrel
