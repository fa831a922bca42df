#include "win32/Win32ComRuntime.h"

#include <windows.h>

#include <objbase.h>

namespace nimbrel {

// The COM object that stands for the core's filter. Its lifetime is this
// runtime's (AddRef and Release count nothing): COM lets go of it when
// another filter is registered or the apartment ends, and the runtime
// revokes it before it goes.
class Win32ComRuntime::Bridge : public IMessageFilter {
  public:
    explicit Bridge(MessageFilter& filter_) : filter(filter_) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IMessageFilter))
            return E_NOINTERFACE;
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK /*caller*/, DWORD tickCount,
                                               LPINTERFACEINFO /*interfaceInfo*/) override {
        return filter.HandleInComingCall(callType, tickCount);
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK /*callee*/, DWORD tickCount,
                                              DWORD rejectType) override {
        return filter.RetryRejectedCall(tickCount, rejectType);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK /*callee*/, DWORD tickCount,
                                           DWORD pendingType) override {
        return filter.MessagePending(tickCount, pendingType);
    }

  private:
    MessageFilter& filter;
};

Win32ComRuntime::Win32ComRuntime(Win32HtmlDocuments& documents_) : documents(documents_) {}

Win32ComRuntime::~Win32ComRuntime() {
    // COM must not call a filter that is gone.
    if (bridge) ::CoRegisterMessageFilter(nullptr, nullptr);
}

HResult Win32ComRuntime::CoInitialize() {
    const HRESULT result = ::CoInitialize(nullptr);
    if (SUCCEEDED(result)) ++initialized;
    return result;
}

void Win32ComRuntime::CoUninitialize() {
    // An object released after the last CoUninitialize calls into a
    // library that COM has already unloaded.
    if (initialized == 1) documents.ReleaseTypeLibrary();
    if (initialized > 0) --initialized;
    ::CoUninitialize();
}

HResult Win32ComRuntime::CoRegisterMessageFilter(MessageFilter* filter) {
    std::unique_ptr<Bridge> next = filter != nullptr ? std::make_unique<Bridge>(*filter) : nullptr;
    const HRESULT result = ::CoRegisterMessageFilter(next.get(), nullptr);
    // The bridge COM may still call stays until it is replaced.
    if (SUCCEEDED(result)) bridge = std::move(next);
    return result;
}

}  // namespace nimbrel
