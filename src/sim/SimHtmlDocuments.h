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
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/HtmlDocuments.h"
#include "sim/SimAtoms.h"
#include "sim/SimDocument.h"
#include "sim/SimFaults.h"
#include "sim/SimModules.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

class SimHtmlDocuments : public HtmlDocuments {
  public:
    SimHtmlDocuments(SimWindowSystem& windows, SimAtoms& atoms, SimModules& modules,
                     SimFaults& faults);

    // Gives `window` a new, empty document (disconnecting the one it showed)
    // and makes it answer "WM_HTML_GETOBJECT".
    std::shared_ptr<SimDocument> Attach(WindowHandle window);
    // The document `window` shows, nullptr for none.
    SimDocument* DocumentOf(WindowHandle window);
    // References the program holds and has not released.
    std::size_t OutstandingReferences() const { return references.size(); }

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
    // The live document behind a reference, or nullptr with `result` set.
    SimDocument* Resolve(std::uintptr_t handle, Kind kind, const char* call, HResult& result);
    void Release(std::uintptr_t handle, Kind kind, const char* call);

    SimWindowSystem& windows;
    SimAtoms& atoms;
    SimModules& modules;
    SimFaults& faults;
    std::map<WindowHandle, std::shared_ptr<SimDocument>> shown;
    std::map<LResult, std::weak_ptr<SimDocument>> cookies;
    std::map<std::uintptr_t, Reference> references;
    LResult nextCookie = 0x5000;
    std::uintptr_t nextReference = 0x800000;
};

}  // namespace nimbrel
