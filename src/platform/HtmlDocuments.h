// The MSHTML document of another process's window: ObjectFromLresult of
// OLEACC.DLL and the methods of IHTMLDocument2, IHTMLElement and
// IHTMLStyleSheet that the program calls. Results are HRESULTs.
//
// Strings go in as the whole view (an OLE string of that length, embedded
// NULs included) and come out as the whole OLE string received, embedded NULs
// included; a null OLE string comes out as an empty string. Cutting at a NUL
// is the caller's business.
//
// Each call goes to the other process and waits for its answer in COM's
// modal loop, which consults the thread's message filter (ComRuntime): a
// call the other process rejects is retried or given up as RetryRejectedCall
// says (given up: hr::kCallRejected), and while a call waits, MessagePending
// is asked at least every 100 ms whether to wait on (ended:
// hr::kCallCanceled). Without a filter a rejected call fails at once and a
// call waits as long as the other process takes.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

class HtmlDocuments {
  public:
    virtual ~HtmlDocuments() = default;

    // ObjectFromLresult, called through `function` (the address that
    // GetProcAddress gave for it): turns the answer of a "WM_HTML_GETOBJECT"
    // message into the interface `iid` of the document. A negative HRESULT on
    // failure, `document` then unchanged.
    virtual HResult ObjectFromLresult(ProcAddress function, LResult lResult, const Guid& iid,
                                      WParam wParam, HtmlDocument& document) = 0;

    // IHTMLDocument2.
    virtual HResult GetReadyState(HtmlDocument document, String& state) = 0;
    virtual HResult GetTitle(HtmlDocument document, String& title) = 0;
    virtual HResult PutTitle(HtmlDocument document, StringView title) = 0;
    // get_body: may succeed with kNoElement while the document is loading.
    virtual HResult GetBody(HtmlDocument document, HtmlElement& body) = 0;
    // createStyleSheet(href, index).
    virtual HResult CreateStyleSheet(HtmlDocument document, StringView href, std::int32_t index,
                                     HtmlStyleSheet& sheet) = 0;

    // IHTMLElement.
    virtual HResult GetInnerHtml(HtmlElement element, String& html) = 0;
    virtual HResult PutInnerHtml(HtmlElement element, StringView html) = 0;
    virtual HResult GetInnerText(HtmlElement element, String& text) = 0;
    virtual HResult PutInnerText(HtmlElement element, StringView text) = 0;

    // IUnknown::Release of each interface; the handle is invalid afterwards.
    virtual void ReleaseDocument(HtmlDocument document) = 0;
    virtual void ReleaseElement(HtmlElement element) = 0;
    virtual void ReleaseStyleSheet(HtmlStyleSheet sheet) = 0;
};

}  // namespace nimbrel
