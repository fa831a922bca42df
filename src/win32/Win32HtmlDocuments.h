// The MSHTML document of another process's window on Windows: ObjectFromLresult
// of OLEACC.DLL, called through the address the program got with
// GetProcAddress, and IHTMLDocument2, IHTMLElement and IHTMLStyleSheet of
// mingw-w64's <mshtml.h>.
//
// Every HtmlDocument, HtmlElement and HtmlStyleSheet value is the interface
// pointer itself and holds one COM reference, given back by the matching
// Release. Strings go in as OLE strings of the whole view, made with
// SysAllocStringLen and freed after the call; OLE strings received are copied
// whole and freed. When an OLE string cannot be allocated the call is not
// made and E_OUTOFMEMORY is the result. A call on a null interface answers
// E_POINTER.
//
// While each call (and each release, the last of which is a call too) waits
// for the other process, WM_NULL is posted to the calling thread every
// 100 ms from the system's timer queue: COM's modal loop consults the
// thread's message filter only when a message arrives, and the thread's
// own timers do not wake Wine's.
//
// The interfaces are marshalled by the type library of MSHTML. That library
// is kept loaded from the first document on: Wine drops a type library when
// its last proxy goes and parses the whole of it again for the next
// document's proxy, a third of a second of CPU time for every window.
#pragma once

#include "platform/HtmlDocuments.h"

namespace nimbrel {

class Win32HtmlDocuments : public HtmlDocuments {
  public:
    Win32HtmlDocuments() = default;
    ~Win32HtmlDocuments() override;
    Win32HtmlDocuments(const Win32HtmlDocuments&) = delete;
    Win32HtmlDocuments& operator=(const Win32HtmlDocuments&) = delete;

    HResult ObjectFromLresult(ProcAddress function, LResult lResult, const Guid& iid, WParam wParam,
                              HtmlDocument& document) override;
    HResult GetReadyState(HtmlDocument document, String& state) override;
    HResult GetTitle(HtmlDocument document, String& title) override;
    HResult PutTitle(HtmlDocument document, StringView title) override;
    HResult GetBody(HtmlDocument document, HtmlElement& body) override;
    HResult CreateStyleSheet(HtmlDocument document, StringView href, std::int32_t index,
                             HtmlStyleSheet& sheet) override;
    HResult GetInnerHtml(HtmlElement element, String& html) override;
    HResult PutInnerHtml(HtmlElement element, StringView html) override;
    HResult GetInnerText(HtmlElement element, String& text) override;
    HResult PutInnerText(HtmlElement element, StringView text) override;
    void ReleaseDocument(HtmlDocument document) override;
    void ReleaseElement(HtmlElement element) override;
    void ReleaseStyleSheet(HtmlStyleSheet sheet) override;

    // Lets the type library go (before the thread's last CoUninitialize);
    // the next document loads it again.
    void ReleaseTypeLibrary();

  private:
    // The MSHTML ITypeLib, null until the first document or when it cannot
    // be loaded (the documents work without it, only more slowly on Wine).
    void* typeLibrary = nullptr;
    bool typeLibraryTried = false;
};

}  // namespace nimbrel
