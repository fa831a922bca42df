// COM on the calling thread on Windows (ole32): initialisation, and the
// message filter, handed to COM as an IMessageFilter object of ours that
// passes each call on to the core's MessageFilter (the task handle and the
// interface information are left out).
#pragma once

#include <memory>

#include "platform/ComRuntime.h"
#include "win32/Win32HtmlDocuments.h"

namespace nimbrel {

class Win32ComRuntime : public ComRuntime {
  public:
    // `documents` holds COM objects of its own (the MSHTML type library),
    // which must go before the last CoUninitialize of the thread.
    explicit Win32ComRuntime(Win32HtmlDocuments& documents);
    ~Win32ComRuntime() override;
    Win32ComRuntime(const Win32ComRuntime&) = delete;
    Win32ComRuntime& operator=(const Win32ComRuntime&) = delete;

    HResult CoInitialize() override;
    void CoUninitialize() override;
    HResult CoRegisterMessageFilter(MessageFilter* filter) override;

  private:
    // The IMessageFilter registered for the core's filter, and kept until
    // it is replaced or this object goes (COM holds references of its own).
    class Bridge;
    std::unique_ptr<Bridge> bridge;
    Win32HtmlDocuments& documents;
    // Successful CoInitialize calls not yet balanced.
    int initialized = 0;
};

}  // namespace nimbrel
