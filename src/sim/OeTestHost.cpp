#include "sim/OeTestHost.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace nimbrel {

OeTestHost::OeTestHost(SimDesktop& desktop_) : desktop(desktop_) {}

WindowHandle OeTestHost::Start(OeMainWindowClass mainClass) {
    const char16_t* className = mainClass == OeMainWindowClass::kBrowser
                                    ? u"Outlook Express Browser Class"
                                    : u"Outlook Express NewsStore";
    mainWindow =
        desktop.windows.Create(className, u"Inbox - Outlook Express", kNoWindow, kOeProcess);
    previewPane =
        desktop.windows.Create(u"Outlook Express Message View", u"", mainWindow, kOeProcess);
    desktop.windows.Activate(mainWindow);
    return mainWindow;
}

void OeTestHost::Exit() {
    for (const WindowHandle note : notes)
        desktop.windows.Destroy(note);
    notes.clear();
    for (const auto& [thief, model] : thieves)
        desktop.windows.Destroy(thief);
    thieves.clear();
    desktop.windows.Destroy(mainWindow);
    mainWindow = previewPane = kNoWindow;
}

void OeTestHost::Load(const std::shared_ptr<SimDocument>& document, StringView body, bool html,
                      std::uint64_t completeDelay) {
    document->htmlMessage = html;
    if (html) {
        document->SetInnerHtml(body);
    } else {
        document->SetInnerText(body);
    }
    document->caret = document->anchor = 0;  // OE opens a message at its start
    if (completeDelay == 0) {
        document->readyState = u"complete";
        return;
    }
    document->readyState = u"loading";
    // The document may have been closed or replaced by then.
    desktop.clock.After(completeDelay, [weak = std::weak_ptr<SimDocument>(document)] {
        if (const auto d = weak.lock(); d && d->alive) d->readyState = u"complete";
    });
}

WindowHandle OeTestHost::CreateDocumentWindow(WindowHandle parent, StringView body, bool html,
                                              std::uint64_t completeDelay) {
    const WindowHandle host = desktop.windows.Create(u"ME_DocHost", u"", parent, kOeProcess);
    const WindowHandle mime = desktop.windows.Create(u"##MIMEEdit_Server", u"", host, kOeProcess);
    const WindowHandle server =
        desktop.windows.Create(u"Internet Explorer_Server", u"", mime, kOeProcess);
    Load(desktop.documents.Attach(server), body, html, completeDelay);
    return server;
}

OeNote OeTestHost::OpenNote(StringView body, const OeNoteOptions& options, bool compose) {
    const bool titled = options.titleDelay == 0;
    OeNote result;
    result.note = desktop.windows.Create(u"ATH_NOTE", titled ? StringView(options.title) : u"",
                                         kNoWindow, kOeProcess);
    if (compose) {
        const WindowHandle envelope =
            desktop.windows.Create(u"OE_Envelope", u"", result.note, kOeProcess);
        desktop.windows.Create(u"ComboBox", u"", envelope, kOeProcess);
    }
    result.documentWindow =
        CreateDocumentWindow(result.note, body, options.html, options.completeDelay);
    notes.push_back(result.note);
    desktop.windows.Activate(result.note);

    if (!titled) {
        const WindowHandle note = result.note;
        const String title = options.title;
        desktop.clock.After(options.titleDelay, [this, note, title] {
            if (std::find(notes.begin(), notes.end(), note) != notes.end()) {
                desktop.windows.SetTitle(note, title);
            }
        });
    }
    if (compose) {
        const WindowHandle note = result.note;
        desktop.windows.Get(note)->keyPressed = [this, note](std::uint8_t key, bool ctrl) {
            if (SimDocument* document = desktop.documents.DocumentOf(DocumentWindowOf(note))) {
                desktop.editor.KeyPressed(*document, key, ctrl);
            }
        };
    }
    return result;
}

OeNote OeTestHost::OpenReply(StringView body, const OeNoteOptions& options) {
    return OpenNote(body, options, true);
}

OeNote OeTestHost::OpenMessage(StringView body, const OeNoteOptions& options) {
    return OpenNote(body, options, false);
}

WindowHandle OeTestHost::OpenFocusThief(StringView body) {
    const WindowHandle thief =
        desktop.windows.Create(u"Nimbrel focus thief", u"", kNoWindow, kOeProcess);
    auto model = std::make_shared<SimDocument>();
    model->SetInnerText(body);
    thieves[thief] = model;
    SimWindow* window = desktop.windows.Get(thief);
    window->keyPressed = [model](std::uint8_t key, bool ctrl) {
        model->SetInnerText(model->InnerText() + KeyTrace(key, ctrl));
    };
    window->deactivated = [this, thief] {
        desktop.clock.After(1, [this, thief] {
            if (thieves.count(thief) != 0) desktop.windows.Activate(thief);
        });
    };
    desktop.windows.Activate(thief);
    return thief;
}

void OeTestHost::TypeSubject(WindowHandle note, StringView title) {
    desktop.windows.SetTitle(note, title);
}

void OeTestHost::Close(WindowHandle note) {
    notes.erase(std::remove(notes.begin(), notes.end(), note), notes.end());
    thieves.erase(note);
    desktop.windows.Destroy(note);
}

WindowHandle OeTestHost::ShowInPreview(StringView body, bool html, std::uint64_t completeDelay,
                                       bool reuseWindow) {
    if (previewPane == kNoWindow) return kNoWindow;
    const WindowHandle oldHost =
        desktop.windows.FindWindowExW(previewPane, kNoWindow, u"ME_DocHost", nullptr);
    if (reuseWindow && oldHost != kNoWindow) {
        const WindowHandle server = DocumentWindowOf(previewPane);
        Load(desktop.documents.Attach(server), body, html, completeDelay);
        return server;
    }
    // The new document window comes up before the old one goes, so the two
    // never share a handle.
    const WindowHandle server = CreateDocumentWindow(previewPane, body, html, completeDelay);
    desktop.windows.Destroy(oldHost);
    return server;
}

WindowHandle OeTestHost::DocumentWindowOf(WindowHandle window) {
    SimWindow* w = desktop.windows.Get(window);
    if (w != nullptr && w->className == u"Internet Explorer_Server") return window;
    WindowHandle found = window;
    for (const char16_t* className :
         {u"ME_DocHost", u"##MIMEEdit_Server", u"Internet Explorer_Server"}) {
        found = desktop.windows.FindWindowExW(found, kNoWindow, className, nullptr);
        if (found == kNoWindow) return kNoWindow;
    }
    return found;
}

SimDocument& OeTestHost::Document(WindowHandle window) {
    if (const auto thief = thieves.find(window); thief != thieves.end()) return *thief->second;
    SimDocument* document = desktop.documents.DocumentOf(DocumentWindowOf(window));
    if (document == nullptr) {
        throw std::invalid_argument("the scenario asked for the document of a window without one");
    }
    return *document;
}

}  // namespace nimbrel
