// The MSHTML documents of the simulated desktop and the program's COM
// references to them. A document belongs to an "Internet Explorer_Server"
// window; that window answers the registered message "WM_HTML_GETOBJECT"
// with a cookie that ObjectFromLresult (only through the address OLEACC.DLL
// gives for it) turns into a document reference, once. When the window is
// destroyed or shows a new document, the old document is disconnected: its
// references stay valid to release, and every other call answers
// RPC_E_DISCONNECTED.
//
// Each reference handle holds one reference; using or releasing one that was
// released is noted as a fault.
//
// A call reaches the client as through COM's modal loop, with the message
// filter the program registered (SimComRuntime): while the client is busy
// (SetBusyUntil, or a document's `busyAfterRead` once its text was read)
// it rejects every call with "retry later", and the filter's
// RetryRejectedCall says when to try again or to give up (hr::kCallRejected;
// without a filter at once). A write of the body takes the document's
// `writeDelay`, during which the filter's MessagePending is asked every
// 100 ms whether to wait on; a call it ends fails with hr::kCallCanceled,
// and the client still makes the write when its time is up.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/HtmlDocuments.h"
#include "sim/SimAtoms.h"
#include "sim/SimClock.h"
#include "sim/SimComRuntime.h"
#include "sim/SimDocument.h"
#include "sim/SimFaults.h"
#include "sim/SimModules.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

class SimHtmlDocuments : public HtmlDocuments {
  public:
    SimHtmlDocuments(SimWindowSystem& windows, SimAtoms& atoms, SimModules& modules,
                     SimComRuntime& com, SimClock& clock, SimFaults& faults);

    // Gives `window` a new, empty document (disconnecting the one it showed)
    // and makes it answer "WM_HTML_GETOBJECT".
    std::shared_ptr<SimDocument> Attach(WindowHandle window);
    // The document `window` shows, nullptr for none.
    SimDocument* DocumentOf(WindowHandle window);
    // References the program holds and has not released.
    std::size_t OutstandingReferences() const { return references.size(); }
    // The client rejects every call ("retry later") until `time` on the
    // clock, as it does while a menu or dialog of its own runs.
    void SetBusyUntil(std::uint64_t time) { busyUntil = time; }
    // Calls the client rejected.
    int RejectedCalls() const { return rejectedCalls; }

    // The seam.
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

  private:
    enum class Kind { kDocument, kElement, kStyleSheet };
    struct Reference {
        Kind kind;
        std::shared_ptr<SimDocument> document;
    };
    std::uintptr_t NewReference(Kind kind, std::shared_ptr<SimDocument> document);
    // The live document behind a reference, once the call got through to
    // the client, or nullptr with `result` set.
    SimDocument* Resolve(std::uintptr_t handle, Kind kind, const char* call, HResult& result);
    // The call meets the busy client: hr::kOk once it gets through, else the
    // failure.
    HResult GetThrough();
    // Waits for an answer that takes `duration` ms; false when the filter
    // ended the wait first, `waited` ms into it.
    bool AwaitAnswer(std::uint64_t duration, std::uint64_t& waited);
    // A write of the body (`write` applies it), with the document's delay.
    HResult Write(std::uintptr_t handle, const char* call,
                  const std::function<void(SimDocument&)>& write);
    void Release(std::uintptr_t handle, Kind kind, const char* call);

    SimWindowSystem& windows;
    SimAtoms& atoms;
    SimModules& modules;
    SimComRuntime& com;
    SimClock& clock;
    SimFaults& faults;
    std::uint64_t busyUntil = 0;
    int rejectedCalls = 0;
    std::map<WindowHandle, std::shared_ptr<SimDocument>> shown;
    std::map<LResult, std::weak_ptr<SimDocument>> cookies;
    std::map<std::uintptr_t, Reference> references;
    LResult nextCookie = 0x5000;
    std::uintptr_t nextReference = 0x800000;
};

}  // namespace nimbrel
