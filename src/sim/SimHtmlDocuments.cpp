#include "sim/SimHtmlDocuments.h"

#include <algorithm>
#include <utility>

namespace nimbrel {

namespace {

// How often COM's modal loop hears of a message while a call waits (the
// platform makes sure one comes at least that often).
constexpr std::uint64_t kMessageInterval = 100;

std::uint32_t Ticks(std::uint64_t milliseconds) {
    return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace

SimHtmlDocuments::SimHtmlDocuments(SimWindowSystem& windows_, SimAtoms& atoms_,
                                   SimModules& modules_, SimComRuntime& com_, SimClock& clock_,
                                   SimFaults& faults_)
    : windows(windows_),
      atoms(atoms_),
      modules(modules_),
      com(com_),
      clock(clock_),
      faults(faults_) {}

HResult SimHtmlDocuments::GetThrough() {
    std::uint64_t waited = 0;
    while (clock.Now() < busyUntil) {
        ++rejectedCalls;
        MessageFilter* filter = com.Filter();
        const std::uint32_t answer =
            filter != nullptr ? filter->RetryRejectedCall(Ticks(waited), servercall::kRetryLater)
                              : kCancelRejectedCall;
        if (answer == kCancelRejectedCall) return hr::kCallRejected;
        // "At once" is still a moment later.
        const std::uint64_t delay = answer < 100 ? 1 : answer;
        clock.AdvanceBy(delay);
        waited += delay;
    }
    return hr::kOk;
}

bool SimHtmlDocuments::AwaitAnswer(std::uint64_t duration, std::uint64_t& waited) {
    waited = 0;
    while (waited < duration) {
        const std::uint64_t step = std::min(kMessageInterval, duration - waited);
        clock.AdvanceBy(step);
        waited += step;
        MessageFilter* filter = com.Filter();
        if (waited < duration && filter != nullptr &&
            filter->MessagePending(Ticks(waited), pendingtype::kTopLevel) ==
                pendingmsg::kCancelCall)
            return false;
    }
    return true;
}

HResult SimHtmlDocuments::Write(std::uintptr_t handle, const char* call,
                                const std::function<void(SimDocument&)>& write) {
    HResult result;
    SimDocument* d = Resolve(handle, Kind::kElement, call, result);
    if (d == nullptr) return result;
    if (d->putResult != hr::kOk) return d->putResult;
    std::uint64_t waited = 0;
    if (!AwaitAnswer(d->writeDelay, waited)) {
        // The client finishes the write; nobody waits for its answer.
        clock.After(d->writeDelay - waited, [document = references.at(handle).document, write] {
            if (document->alive) write(*document);
        });
        return hr::kCallCanceled;
    }
    // The window may have gone meanwhile.
    if (!d->alive) return hr::kDisconnected;
    write(*d);
    return hr::kOk;
}

std::shared_ptr<SimDocument> SimHtmlDocuments::Attach(WindowHandle window) {
    SimWindow* simWindow = windows.Get(window);
    auto document = std::make_shared<SimDocument>();
    if (simWindow == nullptr) {
        faults.Report("a document attached to a window that does not exist");
        document->alive = false;
        return document;
    }
    auto& slot = shown[window];
    const bool first = slot == nullptr;
    if (slot) slot->alive = false;
    slot = document;
    if (first) {
        simWindow->procedure = [this, window](std::uint32_t message, WParam,
                                              LParam) -> std::optional<LResult> {
            if (message == 0 || message != atoms.Find(u"WM_HTML_GETOBJECT")) return std::nullopt;
            const LResult cookie = nextCookie++;
            cookies[cookie] = shown.at(window);
            return cookie;
        };
        simWindow->destroyed.push_back([this, window] {
            shown.at(window)->alive = false;
            shown.erase(window);
        });
    }
    return document;
}

SimDocument* SimHtmlDocuments::DocumentOf(WindowHandle window) {
    const auto found = shown.find(window);
    return found == shown.end() ? nullptr : found->second.get();
}

std::uintptr_t SimHtmlDocuments::NewReference(Kind kind, std::shared_ptr<SimDocument> document) {
    const std::uintptr_t handle = nextReference;
    nextReference += 8;
    references.emplace(handle, Reference{kind, std::move(document)});
    return handle;
}

SimDocument* SimHtmlDocuments::Resolve(std::uintptr_t handle, Kind kind, const char* call,
                                       HResult& result) {
    const auto found = references.find(handle);
    if (found == references.end() || found->second.kind != kind) {
        faults.Report(std::string(call) + " on an interface pointer that is not held");
        result = hr::kPointer;
        return nullptr;
    }
    if (!found->second.document->alive) {
        result = hr::kDisconnected;
        return nullptr;
    }
    result = GetThrough();
    if (result != hr::kOk) return nullptr;
    // The client may have closed the window meanwhile.
    if (!found->second.document->alive) {
        result = hr::kDisconnected;
        return nullptr;
    }
    return found->second.document.get();
}

void SimHtmlDocuments::Release(std::uintptr_t handle, Kind kind, const char* call) {
    const auto found = references.find(handle);
    if (found == references.end() || found->second.kind != kind) {
        faults.Report(std::string(call) + " of an interface pointer that is not held");
        return;
    }
    references.erase(found);
}

HResult SimHtmlDocuments::ObjectFromLresult(ProcAddress function, LResult lResult, const Guid& iid,
                                            WParam /*wParam*/, HtmlDocument& document) {
    if (function == kNoProc || function != modules.AddressOf("OLEACC.DLL", "ObjectFromLresult")) {
        faults.Report("ObjectFromLresult called through a wrong address");
        return hr::kFail;
    }
    const auto found = cookies.find(lResult);
    if (found == cookies.end()) return hr::kInvalidArg;
    std::shared_ptr<SimDocument> target = found->second.lock();
    cookies.erase(found);  // a cookie is good for one call
    if (target == nullptr || !target->alive) return hr::kFail;
    if (iid != kIidIHtmlDocument2) return hr::kNoInterface;
    document = HtmlDocument{NewReference(Kind::kDocument, std::move(target))};
    return hr::kOk;
}

HResult SimHtmlDocuments::GetReadyState(HtmlDocument document, String& state) {
    HResult result;
    if (SimDocument* d = Resolve(static_cast<std::uintptr_t>(document), Kind::kDocument,
                                 "get_readyState", result)) {
        state = d->readyState;
    }
    return result;
}

HResult SimHtmlDocuments::GetTitle(HtmlDocument document, String& title) {
    HResult result;
    if (SimDocument* d =
            Resolve(static_cast<std::uintptr_t>(document), Kind::kDocument, "get_title", result)) {
        title = d->title.value_or(String());
    }
    return result;
}

HResult SimHtmlDocuments::PutTitle(HtmlDocument document, StringView title) {
    HResult result;
    if (SimDocument* d =
            Resolve(static_cast<std::uintptr_t>(document), Kind::kDocument, "put_title", result)) {
        d->title = String(title);
    }
    return result;
}

HResult SimHtmlDocuments::GetBody(HtmlDocument document, HtmlElement& body) {
    HResult result;
    const auto handle = static_cast<std::uintptr_t>(document);
    if (SimDocument* d = Resolve(handle, Kind::kDocument, "get_body", result)) {
        body = d->hasBody
                   ? HtmlElement{NewReference(Kind::kElement, references.at(handle).document)}
                   : kNoElement;
    }
    return result;
}

HResult SimHtmlDocuments::CreateStyleSheet(HtmlDocument document, StringView href,
                                           std::int32_t index, HtmlStyleSheet& sheet) {
    HResult result;
    const auto handle = static_cast<std::uintptr_t>(document);
    if (SimDocument* d = Resolve(handle, Kind::kDocument, "createStyleSheet", result)) {
        const std::size_t at =
            index < 0 ? d->styleSheets.size()
                      : std::min(static_cast<std::size_t>(index), d->styleSheets.size());
        d->styleSheets.insert(d->styleSheets.begin() + static_cast<std::ptrdiff_t>(at),
                              String(href));
        sheet = HtmlStyleSheet{NewReference(Kind::kStyleSheet, references.at(handle).document)};
    }
    return result;
}

HResult SimHtmlDocuments::GetInnerHtml(HtmlElement element, String& html) {
    HResult result;
    if (SimDocument* d = Resolve(static_cast<std::uintptr_t>(element), Kind::kElement,
                                 "get_innerHTML", result)) {
        html = d->InnerHtml();
    }
    return result;
}

HResult SimHtmlDocuments::PutInnerHtml(HtmlElement element, StringView html) {
    return Write(static_cast<std::uintptr_t>(element), "put_innerHTML",
                 [html = String(html)](SimDocument& d) { d.SetInnerHtml(html); });
}

HResult SimHtmlDocuments::GetInnerText(HtmlElement element, String& text) {
    HResult result;
    if (SimDocument* d = Resolve(static_cast<std::uintptr_t>(element), Kind::kElement,
                                 "get_innerText", result)) {
        text = d->InnerText();
        if (d->busyAfterRead > 0) SetBusyUntil(clock.Now() + std::exchange(d->busyAfterRead, 0));
    }
    return result;
}

HResult SimHtmlDocuments::PutInnerText(HtmlElement element, StringView text) {
    return Write(static_cast<std::uintptr_t>(element), "put_innerText",
                 [text = String(text)](SimDocument& d) { d.SetInnerText(text); });
}

void SimHtmlDocuments::ReleaseDocument(HtmlDocument document) {
    Release(static_cast<std::uintptr_t>(document), Kind::kDocument, "Release");
}

void SimHtmlDocuments::ReleaseElement(HtmlElement element) {
    Release(static_cast<std::uintptr_t>(element), Kind::kElement, "Release");
}

void SimHtmlDocuments::ReleaseStyleSheet(HtmlStyleSheet sheet) {
    Release(static_cast<std::uintptr_t>(sheet), Kind::kStyleSheet, "Release");
}

}  // namespace nimbrel
