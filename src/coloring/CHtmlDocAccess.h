// Access to the MSHTML document of one Outlook Express window from outside
// its process: the document window is found by its child chain, the document
// is asked for with the registered message "WM_HTML_GETOBJECT" and
// ObjectFromLresult of OLEACC.DLL, and then its ready state, title and body
// are read and written.
//
// Most operations report failure as true. An instance is disconnected after
// construction and after Release; Connect connects it; every user ends its
// work with Release. COM is initialised, with the program's message filter
// registered (DocumentCallFilter: every call into the document is bounded in
// time), and OLEACC.DLL loaded from the first construction to the last
// destruction; all instances of a process must use the same Platform.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "shell/Text.h"

namespace nimbrel {

constexpr const char16_t* kHtmlGetObjectMessage = u"WM_HTML_GETOBJECT";
constexpr std::uint32_t kHtmlGetObjectTimeout = 1000;  // ms
constexpr const char16_t* kObjectFromLresultMissing =
    u"oleacc.dll: Pointer to ObjectFromLresult could not be obtained!\nColoring will not work.\n";

class CHtmlDocAccess {
  public:
    // Initialises COM for the first instance, loads OLEACC.DLL and finds
    // ObjectFromLresult when they are not there yet, and registers the
    // message. When the library cannot be loaded, the language file's
    // "MSAA Error" text is shown once per process (only with
    // `displayWarnings`); when it lacks ObjectFromLresult, a box says so for
    // every instance constructed meanwhile.
    explicit CHtmlDocAccess(Platform& platform);
    // Releases the document and the body; the last instance frees OLEACC.DLL
    // and uninitialises COM.
    virtual ~CHtmlDocAccess();
    CHtmlDocAccess(const CHtmlDocAccess&) = delete;
    CHtmlDocAccess& operator=(const CHtmlDocAccess&) = delete;

    // Descends from `parent` through the first direct children of the classes
    // "ME_DocHost", "##MIMEEdit_Server" and "Internet Explorer_Server" and
    // keeps the last as the document window; kNoWindow (also kept) when any
    // step finds nothing.
    WindowHandle LocateDocumentWindow(WindowHandle parent);
    WindowHandle Window() const { return window; }

    // Asks the document window for its document (at most 1000 ms, giving up
    // at once when it is hung) and takes the document's body. True on
    // failure: no OLEACC.DLL or ObjectFromLresult, no answer, no document, or
    // no body (a document that has no body yet stays held until Release).
    bool Connect();
    // Releases the body, then the document.
    void Release();
    bool IsConnected() const { return body != kNoElement; }

    // True only when the ready state could be read and is "complete"
    // (case-sensitive); false when disconnected.
    bool IsComplete();
    // The document's title (empty for a null title); `title` is unchanged
    // when disconnected or when the read fails.
    void GetTitle(String& title);
    // Sets the title; nothing when disconnected.
    void SetTitle(StringView title);

    // The body's innerHTML / innerText, up to its first NUL. True on failure
    // (disconnected or a non-zero HRESULT); `out` is then unchanged.
    bool GetInnerHtml(String& html);
    bool GetInnerText(String& text);
    // Replace the body's content. True on failure, a write the client
    // rejected or did not finish in time among them (it may still happen).
    bool SetInnerHtml(StringView html);
    bool SetInnerText(StringView text);

    // Attaches the style sheet at `path` (passed on unchanged) as the
    // document's first style sheet. True on failure (disconnected, a non-zero
    // HRESULT, or no style sheet returned).
    bool AddStyleSheet(StringView path);

    // Live instances in the process.
    static int InstanceCount();
    // Forgets the process-wide state (the error-shown flag among it); for
    // tests, with no instance alive.
    static void ResetProcessState();

  private:
    Platform& platform;
    HtmlElement body = kNoElement;
    HtmlDocument document = kNoDocument;
    WindowHandle window = kNoWindow;
};

}  // namespace nimbrel
