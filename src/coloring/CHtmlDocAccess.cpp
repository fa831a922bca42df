#include "coloring/CHtmlDocAccess.h"

#include "coloring/DocumentCallFilter.h"
#include "shell/App.h"
#include "shell/Settings.h"

namespace nimbrel {

namespace {

constexpr std::uint32_t kErrorFlags = mb::kSystemModal | mb::kIconExclamation;  // 0x1030
constexpr const char16_t* kErrorCaption = u"Nimbrel Error";

// Shared by every instance of the process.
struct ProcessState {
    ModuleHandle oleacc = kNoModule;
    ProcAddress objectFromLresult = kNoProc;
    std::uint32_t getObjectMessage = 0;
    int instances = 0;
    bool msaaErrorShown = false;
};

ProcessState state;
// Registered for the thread while COM is initialised by the instances.
DocumentCallFilter callFilter;

String UpToNul(const String& s) {
    return s.substr(0, s.find(u'\0'));
}

}  // namespace

CHtmlDocAccess::CHtmlDocAccess(Platform& platform_) : platform(platform_) {
    if (state.instances == 0) {
        platform.com.CoInitialize();
        platform.com.CoRegisterMessageFilter(&callFilter);
    }

    if (state.oleacc == kNoModule) state.oleacc = platform.modules.LoadLibraryA("OLEACC.DLL");
    if (state.oleacc == kNoModule) {
        if (!state.msaaErrorShown && settings.displayWarnings) {
            state.msaaErrorShown = true;
            const String* text = app.langFile ? app.langFile->GetText("MSAA Error") : nullptr;
            platform.messageBoxes.MessageBoxW(text ? StringView(*text) : StringView(),
                                              kErrorCaption, kErrorFlags);
        }
    } else if (state.objectFromLresult == kNoProc) {
        state.objectFromLresult =
            platform.modules.GetProcAddress(state.oleacc, "ObjectFromLresult");
        if (state.objectFromLresult == kNoProc) {
            state.msaaErrorShown = true;
            platform.messageBoxes.MessageBoxW(kObjectFromLresultMissing, kErrorCaption,
                                              kErrorFlags);
        }
    }

    state.getObjectMessage = platform.windows.RegisterWindowMessageW(kHtmlGetObjectMessage);
    ++state.instances;
}

CHtmlDocAccess::~CHtmlDocAccess() {
    // The body too: a caller that forgot Release would otherwise leak it.
    Release();
    if (--state.instances == 0) {
        if (state.oleacc != kNoModule) platform.modules.FreeLibrary(state.oleacc);
        state.oleacc = kNoModule;
        state.objectFromLresult = kNoProc;
        platform.com.CoRegisterMessageFilter(nullptr);
        platform.com.CoUninitialize();
    }
}

WindowHandle CHtmlDocAccess::LocateDocumentWindow(WindowHandle parent) {
    window = kNoWindow;
    WindowHandle found = parent;
    for (const char16_t* className :
         {u"ME_DocHost", u"##MIMEEdit_Server", u"Internet Explorer_Server"}) {
        found = platform.windows.FindWindowExW(found, kNoWindow, className, nullptr);
        if (found == kNoWindow) return kNoWindow;
    }
    window = found;
    return window;
}

bool CHtmlDocAccess::Connect() {
    Release();
    if (state.oleacc == kNoModule) return true;
    std::uintptr_t result = 0;
    if (platform.windows.SendMessageTimeoutW(window, state.getObjectMessage, 0, 0,
                                             smto::kAbortIfHung, kHtmlGetObjectTimeout,
                                             &result) == 0) {
        return true;
    }
    if (state.objectFromLresult == kNoProc) return true;
    if (platform.documents.ObjectFromLresult(state.objectFromLresult, static_cast<LResult>(result),
                                             kIidIHtmlDocument2, 0, document) < 0 ||
        document == kNoDocument) {
        return true;
    }
    // A document that is still loading may answer S_OK without a body.
    HtmlElement found = kNoElement;
    if (platform.documents.GetBody(document, found) != hr::kOk || found == kNoElement) {
        if (found != kNoElement) platform.documents.ReleaseElement(found);
        return true;
    }
    body = found;
    return false;
}

void CHtmlDocAccess::Release() {
    if (body != kNoElement) platform.documents.ReleaseElement(body);
    body = kNoElement;
    if (document != kNoDocument) platform.documents.ReleaseDocument(document);
    document = kNoDocument;
}

bool CHtmlDocAccess::IsComplete() {
    if (document == kNoDocument) return false;
    String readyState;
    return platform.documents.GetReadyState(document, readyState) >= 0 &&
           UpToNul(readyState) == u"complete";
}

void CHtmlDocAccess::GetTitle(String& title) {
    if (document == kNoDocument) return;
    String received;
    if (platform.documents.GetTitle(document, received) >= 0) title = UpToNul(received);
}

void CHtmlDocAccess::SetTitle(StringView title) {
    if (document == kNoDocument) return;
    platform.documents.PutTitle(document, title);
}

bool CHtmlDocAccess::GetInnerHtml(String& html) {
    if (body == kNoElement) return true;
    String received;
    if (platform.documents.GetInnerHtml(body, received) != hr::kOk) return true;
    html = UpToNul(received);
    return false;
}

bool CHtmlDocAccess::GetInnerText(String& text) {
    if (body == kNoElement) return true;
    String received;
    if (platform.documents.GetInnerText(body, received) != hr::kOk) return true;
    text = UpToNul(received);
    return false;
}

bool CHtmlDocAccess::SetInnerHtml(StringView html) {
    if (body == kNoElement) return true;
    return platform.documents.PutInnerHtml(body, html) != hr::kOk;
}

bool CHtmlDocAccess::SetInnerText(StringView text) {
    if (body == kNoElement) return true;
    return platform.documents.PutInnerText(body, text) != hr::kOk;
}

bool CHtmlDocAccess::AddStyleSheet(StringView path) {
    if (document == kNoDocument) return true;
    HtmlStyleSheet sheet = kNoStyleSheet;
    const HResult result = platform.documents.CreateStyleSheet(document, path, 0, sheet);
    if (sheet == kNoStyleSheet) return true;
    platform.documents.ReleaseStyleSheet(sheet);
    return result != hr::kOk;
}

int CHtmlDocAccess::InstanceCount() {
    return state.instances;
}

void CHtmlDocAccess::ResetProcessState() {
    state = ProcessState{};
}

}  // namespace nimbrel
