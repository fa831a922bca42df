#include "win32/Win32HtmlDocuments.h"

#include <windows.h>

#include <ole2.h>

#include <mshtml.h>
#include <oleacc.h>

#include <cstring>
#include <limits>

#include "win32/Win32Handles.h"

namespace nimbrel {

namespace {

static_assert(sizeof(Guid) == sizeof(IID), "Guid has the layout of a GUID");

// The MSHTML type library, version 4.0 (its LIBID is not in mingw-w64's
// libuuid).
constexpr GUID kMshtmlLibrary = {
    0x3050f1c5, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// An OLE string owned for the length of one call.
class OleString {
  public:
    OleString() = default;
    // A copy of the whole view, embedded NULs included; null when it cannot
    // be allocated.
    explicit OleString(StringView text) {
        if (text.size() <= std::numeric_limits<UINT>::max()) {
            value = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                        static_cast<UINT>(text.size()));
        }
    }
    ~OleString() { ::SysFreeString(value); }
    OleString(const OleString&) = delete;
    OleString& operator=(const OleString&) = delete;

    BSTR get() const { return value; }
    BSTR* out() { return &value; }
    // The whole string, embedded NULs included; empty for a null string.
    String ToString() const {
        if (value == nullptr) return String();
        return String(reinterpret_cast<const char16_t*>(value), ::SysStringLen(value));
    }

  private:
    BSTR value = nullptr;
};

// While a call waits for the other process, COM's modal loop asks the
// thread's message filter (MessagePending) only when a message arrives, and
// the thread's own timers do not wake Wine's loop. For the length of each
// call the system's timer queue posts WM_NULL to the calling thread every
// 100 ms, so the filter can end a wait that has gone on too long; the
// message loop discards the WM_NULLs left over.
class CallPulse {
  public:
    CallPulse() {
        const auto thread = static_cast<ULONG_PTR>(::GetCurrentThreadId());
        if (!::CreateTimerQueueTimer(&timer, nullptr, &CallPulse::Post,
                                     reinterpret_cast<PVOID>(thread), kInterval, kInterval,
                                     WT_EXECUTEINTIMERTHREAD))
            timer = nullptr;
    }
    ~CallPulse() {
        // Waits for a post under way.
        if (timer != nullptr) ::DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
    }
    CallPulse(const CallPulse&) = delete;
    CallPulse& operator=(const CallPulse&) = delete;

  private:
    static constexpr DWORD kInterval = 100;  // ms
    static VOID CALLBACK Post(PVOID thread, BOOLEAN /*fired*/) {
        ::PostThreadMessageW(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(thread)), WM_NULL, 0,
                             0);
    }
    HANDLE timer = nullptr;
};

template <typename Interface, typename Handle>
Interface* Pointer(Handle handle) {
    return win32::ToWin32<Interface*>(handle);
}

// A get_ method of a string property: the string on success, unchanged
// otherwise.
template <typename Interface, typename Getter>
HResult GetString(Interface* object, Getter getter, String& text) {
    if (object == nullptr) return E_POINTER;
    OleString received;
    const CallPulse pulse;
    const HRESULT result = (object->*getter)(received.out());
    if (SUCCEEDED(result)) text = received.ToString();
    return result;
}

template <typename Interface, typename Putter>
HResult PutString(Interface* object, Putter putter, StringView text) {
    if (object == nullptr) return E_POINTER;
    const OleString sent(text);
    if (sent.get() == nullptr) return E_OUTOFMEMORY;
    const CallPulse pulse;
    return (object->*putter)(sent.get());
}

}  // namespace

Win32HtmlDocuments::~Win32HtmlDocuments() {
    ReleaseTypeLibrary();
}

void Win32HtmlDocuments::ReleaseTypeLibrary() {
    if (typeLibrary != nullptr) static_cast<ITypeLib*>(typeLibrary)->Release();
    typeLibrary = nullptr;
    typeLibraryTried = false;
}

HResult Win32HtmlDocuments::ObjectFromLresult(ProcAddress function, LResult lResult,
                                              const Guid& iid, WParam wParam,
                                              HtmlDocument& document) {
    if (function == kNoProc) return E_POINTER;
    if (!typeLibraryTried) {
        typeLibraryTried = true;
        ITypeLib* library = nullptr;
        if (SUCCEEDED(::LoadRegTypeLib(kMshtmlLibrary, 4, 0, LOCALE_NEUTRAL, &library)))
            typeLibrary = library;
    }
    const auto objectFromLresult =
        reinterpret_cast<LPFNOBJECTFROMLRESULT>(static_cast<std::uintptr_t>(function));
    IID interfaceId;
    std::memcpy(&interfaceId, &iid, sizeof interfaceId);
    void* object = nullptr;
    const CallPulse pulse;
    const HRESULT result = objectFromLresult(lResult, interfaceId, wParam, &object);
    if (SUCCEEDED(result)) document = win32::FromWin32<HtmlDocument>(object);
    return result;
}

HResult Win32HtmlDocuments::GetReadyState(HtmlDocument document, String& state) {
    return GetString(Pointer<IHTMLDocument2>(document), &IHTMLDocument2::get_readyState, state);
}

HResult Win32HtmlDocuments::GetTitle(HtmlDocument document, String& title) {
    return GetString(Pointer<IHTMLDocument2>(document), &IHTMLDocument2::get_title, title);
}

HResult Win32HtmlDocuments::PutTitle(HtmlDocument document, StringView title) {
    return PutString(Pointer<IHTMLDocument2>(document), &IHTMLDocument2::put_title, title);
}

HResult Win32HtmlDocuments::GetBody(HtmlDocument document, HtmlElement& body) {
    IHTMLDocument2* object = Pointer<IHTMLDocument2>(document);
    if (object == nullptr) return E_POINTER;
    IHTMLElement* element = nullptr;
    const CallPulse pulse;
    const HRESULT result = object->get_body(&element);
    if (SUCCEEDED(result)) {
        body = win32::FromWin32<HtmlElement>(element);
    } else if (element != nullptr) {
        element->Release();
    }
    return result;
}

HResult Win32HtmlDocuments::CreateStyleSheet(HtmlDocument document, StringView href,
                                             std::int32_t index, HtmlStyleSheet& sheet) {
    IHTMLDocument2* object = Pointer<IHTMLDocument2>(document);
    if (object == nullptr) return E_POINTER;
    const OleString path(href);
    if (path.get() == nullptr) return E_OUTOFMEMORY;
    IHTMLStyleSheet* created = nullptr;
    const CallPulse pulse;
    const HRESULT result = object->createStyleSheet(path.get(), index, &created);
    if (SUCCEEDED(result)) {
        sheet = win32::FromWin32<HtmlStyleSheet>(created);
    } else if (created != nullptr) {
        created->Release();
    }
    return result;
}

HResult Win32HtmlDocuments::GetInnerHtml(HtmlElement element, String& html) {
    return GetString(Pointer<IHTMLElement>(element), &IHTMLElement::get_innerHTML, html);
}

HResult Win32HtmlDocuments::PutInnerHtml(HtmlElement element, StringView html) {
    return PutString(Pointer<IHTMLElement>(element), &IHTMLElement::put_innerHTML, html);
}

HResult Win32HtmlDocuments::GetInnerText(HtmlElement element, String& text) {
    return GetString(Pointer<IHTMLElement>(element), &IHTMLElement::get_innerText, text);
}

HResult Win32HtmlDocuments::PutInnerText(HtmlElement element, StringView text) {
    return PutString(Pointer<IHTMLElement>(element), &IHTMLElement::put_innerText, text);
}

// The last release of a proxy is a call to the other process too.
void Win32HtmlDocuments::ReleaseDocument(HtmlDocument document) {
    const CallPulse pulse;
    if (IHTMLDocument2* object = Pointer<IHTMLDocument2>(document)) object->Release();
}

void Win32HtmlDocuments::ReleaseElement(HtmlElement element) {
    const CallPulse pulse;
    if (IHTMLElement* object = Pointer<IHTMLElement>(element)) object->Release();
}

void Win32HtmlDocuments::ReleaseStyleSheet(HtmlStyleSheet sheet) {
    const CallPulse pulse;
    if (IHTMLStyleSheet* object = Pointer<IHTMLStyleSheet>(sheet)) object->Release();
}

}  // namespace nimbrel
