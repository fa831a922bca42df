// Outlook Express on the simulated desktop, driven by a readable scenario:
// OE starts, opens a reply with a given text, the user types a subject, OE
// shows a message in its preview pane, closes a window, exits. It builds the
// windows OE has (classes, titles, children) and the documents inside them:
//
//   main window  "Outlook Express Browser Class" (or "Outlook Express
//                NewsStore")
//     "Outlook Express Message View"      the preview pane
//       "ME_DocHost" / "##MIMEEdit_Server" / "Internet Explorer_Server"
//   note window  "ATH_NOTE" (top level; its title is empty until OE has set
//                it up)
//     "OE_Envelope" / "ComboBox"          compose windows only
//     "ME_DocHost" / "##MIMEEdit_Server" / "Internet Explorer_Server"
//
// A document is "loading" until its delay has passed on the clock, then
// "complete". A compose window's editor reacts to keys while the window is in
// the foreground (SimEditor). A new note window comes up in the foreground.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "sim/SimDesktop.h"

namespace nimbrel {

enum class OeMainWindowClass { kBrowser, kNewsStore };

struct OeNoteOptions {
    String title = u"Re: Test";
    // How long the title stays empty, and the document "loading".
    std::uint64_t titleDelay = 0;
    std::uint64_t completeDelay = 0;
    // The body is HTML (an HTML message) rather than plain text.
    bool html = false;
};

// The windows of one message.
struct OeNote {
    WindowHandle note = kNoWindow;
    // The "Internet Explorer_Server" window holding the document.
    WindowHandle documentWindow = kNoWindow;
};

class OeTestHost {
  public:
    explicit OeTestHost(SimDesktop& desktop);

    // OE starts: its main window with the (empty) preview pane.
    WindowHandle Start(OeMainWindowClass mainClass = OeMainWindowClass::kBrowser);
    // OE exits: every window it has goes away.
    void Exit();
    WindowHandle MainWindow() const { return mainWindow; }
    WindowHandle PreviewPane() const { return previewPane; }

    // OE opens a compose window (a reply or a new message) whose body is
    // `body`: plain text (CR LF line breaks), or HTML with options.html.
    OeNote OpenReply(StringView body, const OeNoteOptions& options = {});
    // OE opens a message for reading in its own window.
    OeNote OpenMessage(StringView body, const OeNoteOptions& options = {});
    // OE brings up another window of its own ("Nimbrel focus thief" class)
    // that keeps the foreground: whenever it loses it, it takes it back a
    // moment (1 ms) later, until it is closed (Close). Its text is `body`,
    // and every key that reaches it is written at the end (KeyTrace).
    WindowHandle OpenFocusThief(StringView body);
    // The user types into the subject line: the window's title changes.
    void TypeSubject(WindowHandle note, StringView title);
    // The user closes a note window.
    void Close(WindowHandle note);

    // The user selects a message: the preview pane shows it in a new
    // document window (the old one is destroyed afterwards), or with
    // `reuseWindow` in the same one. Returns the document window.
    WindowHandle ShowInPreview(StringView body, bool html = false, std::uint64_t completeDelay = 0,
                               bool reuseWindow = false);

    // The document of a note window or of a document window (throws
    // std::invalid_argument for a window without one).
    SimDocument& Document(WindowHandle window);
    String BodyText(WindowHandle window) { return Document(window).InnerText(); }
    String BodyHtml(WindowHandle window) { return Document(window).InnerHtml(); }
    int CaretLine(WindowHandle window) { return Document(window).CaretLine(); }

  private:
    OeNote OpenNote(StringView body, const OeNoteOptions& options, bool compose);
    WindowHandle CreateDocumentWindow(WindowHandle parent, StringView body, bool html,
                                      std::uint64_t completeDelay);
    void Load(const std::shared_ptr<SimDocument>& document, StringView body, bool html,
              std::uint64_t completeDelay);
    WindowHandle DocumentWindowOf(WindowHandle window);

    SimDesktop& desktop;
    WindowHandle mainWindow = kNoWindow;
    WindowHandle previewPane = kNoWindow;
    std::vector<WindowHandle> notes;
    std::map<WindowHandle, std::shared_ptr<SimDocument>> thieves;
};

}  // namespace nimbrel
