// The windows of the mail client the test host plays, as the program finds
// them:
//
//   "Outlook Express Browser Class"        main window
//     "Outlook Express Message View"       preview pane
//       "ME_DocHost" / "##MIMEEdit_Server" / "Internet Explorer_Server"
//   "ATH_NOTE"                             one per message in its own window;
//                                          the title is set a moment later
//     "OE_Envelope" / "ComboBox"           compose windows only
//     "ME_DocHost" / "##MIMEEdit_Server" / "Internet Explorer_Server"
//
// Beside them the client can bring up a focus thief: a window of its own
// (class "Nimbrel focus thief") that keeps the foreground, taking it back
// whenever it loses it, and writes down every key that reaches it at the
// end of its text (KeyTrace).
//
// The client's thread has a message filter that rejects every incoming call
// ("retry later") while the client is busy (SetClientBusy), as a client does
// while a menu or dialog of its own runs; a document whose model has a
// `busyAfterRead` makes it busy once its text was read. A document whose
// model has a `writeDelay` blocks the client that long inside each write of
// its body.
//
// Every "Internet Explorer_Server" window answers the registered message
// "WM_HTML_GETOBJECT" with LresultFromObject for its HostDocument; a compose
// window's one is also its editor (HostEditor): when the note window is
// activated it gives its editor the focus, and keys reach the editor. A
// document is "loading" until its delay has passed. A hung note lives on a
// thread of its own that stops pumping messages once the window is up.
// Everything else runs on the thread that created the object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "sim/SimDocument.h"

namespace nimbrel {

struct HostNote {
    HWND note = nullptr;    // the note window, or the preview pane
    HWND server = nullptr;  // its "Internet Explorer_Server" window
    std::shared_ptr<SimDocument> model;
    // A hung note: its thread, and the event that lets it go on.
    HANDLE thread = nullptr;
    HANDLE release = nullptr;
    // When the window first got its title, GetTickCount.
    std::shared_ptr<DWORD> titledAt;
};

struct HostNoteOptions {
    bool compose = true;
    bool html = false;
    bool hung = false;
    DWORD titleAfter = 0;
    std::optional<DWORD> completeAfter = 0;  // nullopt: never
};

class OeHostWindows {
  public:
    OeHostWindows();
    ~OeHostWindows();
    OeHostWindows(const OeHostWindows&) = delete;
    OeHostWindows& operator=(const OeHostWindows&) = delete;

    // The main window and its preview pane; false when they cannot be made.
    bool Start();
    HWND MainWindow() const { return mainWindow; }

    HostNote OpenNote(StringView title, StringView body, const HostNoteOptions& options);
    // A new document window in the preview pane; the old one goes.
    HostNote ShowInPreview(StringView body, bool html);
    // The focus thief, in front; Close lets it go.
    HostNote OpenThief(StringView body);
    // Calls rejected so far.
    int RejectedCalls() const;
    void SetTitle(HostNote& note, StringView title);
    void Close(HostNote& note);
    // The client exits: every window goes.
    void Exit();

  private:
    HWND mainWindow = nullptr;
    HWND previewPane = nullptr;
    HWND previewHost = nullptr;
};

// The client rejects incoming calls for `milliseconds` from now.
void SetClientBusy(DWORD milliseconds);

// When a document's body was first written (GetTickCount, 0 for never), by
// the program through the document or by a paste; and noting a write.
DWORD BodyWrittenAt(const SimDocument& model);
void NoteBodyWritten(const SimDocument& model);
// The calls the program made on the documents, in order: GetTickCount and
// the method's name, for the report.
void NoteCall(const char* method);
const std::vector<std::pair<DWORD, const char*>>& Calls();

}  // namespace nimbrel
