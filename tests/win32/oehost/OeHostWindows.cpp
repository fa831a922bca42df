#include "OeHostWindows.h"

#include <oleacc.h>

#include <map>

#include "HostDocument.h"
#include "HostEditor.h"
#include "sim/SimEditor.h"

namespace nimbrel {

namespace {

constexpr UINT_PTR kCompleteTimer = 1;
constexpr UINT_PTR kTitleTimer = 2;
// A hung note's thread is let go at the latest after this.
constexpr DWORD kHungLimit = 600000;

const wchar_t* const kMainClass = L"Outlook Express Browser Class";
const wchar_t* const kPaneClass = L"Outlook Express Message View";
const wchar_t* const kNoteClass = L"ATH_NOTE";
const wchar_t* const kEnvelopeClass = L"OE_Envelope";
const wchar_t* const kDocHostClass = L"ME_DocHost";
const wchar_t* const kMimeClass = L"##MIMEEdit_Server";
const wchar_t* const kServerClass = L"Internet Explorer_Server";
const wchar_t* const kThiefClass = L"Nimbrel focus thief";

// The thief takes the foreground back with this message, posted when it
// loses it, and at this timer's ticks: under Wine the deactivation can come
// before the foreground has moved, and then the message finds nothing to
// take back.
constexpr UINT kRetakeMessage = WM_APP + 1;
constexpr UINT_PTR kRetakeTimer = 3;
constexpr UINT kRetakePeriod = 10;

// Only the client's own thread writes documents (a hung note's never does).
std::map<const SimDocument*, DWORD> writes;

const wchar_t* Wide(StringView text, std::wstring& buffer) {
    buffer.assign(text.begin(), text.end());
    return buffer.c_str();
}

// What a document window keeps: its model and the object handed out.
struct ServerData {
    std::shared_ptr<SimDocument> model;
    HostDocument* document;
    bool editor;
    std::optional<DWORD> completeAfter;
};

struct NoteData {
    std::wstring title;
    HWND server = nullptr;
    std::shared_ptr<DWORD> titledAt;
};

UINT HtmlGetObjectMessage() {
    static const UINT message = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
    return message;
}

LRESULT CALLBACK ServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<ServerData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (data != nullptr && message == HtmlGetObjectMessage()) {
        NoteCall("WM_HTML_GETOBJECT");
        return LresultFromObject(IID_IHTMLDocument2, wParam,
                                 static_cast<IHTMLDocument2*>(data->document));
    }
    switch (message) {
        case WM_TIMER:
            if (data != nullptr && wParam == kCompleteTimer) {
                KillTimer(window, kCompleteTimer);
                data->model->readyState = u"complete";
            }
            return 0;
        case WM_KEYDOWN:
            if (data != nullptr && data->editor) {
                const String before = data->model->InnerHtml();
                const bool ctrl = GetKeyState(VK_CONTROL) < 0;
                if (ctrl && wParam == 'C') NoteCall("editor: copy");
                if (ctrl && wParam == 'V') NoteCall("editor: paste");
                HostEditor::KeyPressed(window, *data->model, static_cast<UINT>(wParam), ctrl);
                if (ctrl && (wParam == 'C' || wParam == 'V')) NoteCall("editor: done");
                if (wParam == 'V' && data->model->InnerHtml() != before)
                    NoteBodyWritten(*data->model);
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_NCDESTROY:
            if (data != nullptr) {
                data->model->alive = false;
                data->document->Release();
                delete data;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK NoteProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<NoteData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ACTIVATE:
            // The client moves its focus to its editor itself.
            if (LOWORD(wParam) != WA_INACTIVE && data != nullptr) SetFocus(data->server);
            return 0;
        case WM_SETFOCUS:
            if (data != nullptr) SetFocus(data->server);
            return 0;
        case WM_TIMER:
            if (data != nullptr && wParam == kTitleTimer) {
                KillTimer(window, kTitleTimer);
                SetWindowTextW(window, data->title.c_str());
                *data->titledAt = GetTickCount();
            }
            return 0;
        case WM_SYSCOMMAND:
            // Alt alone would open the window menu.
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_CLOSE:
            return 0;  // closed by the scenario only
        case WM_NCDESTROY:
            delete data;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct ThiefData {
    std::shared_ptr<SimDocument> model;
};

LRESULT CALLBACK ThiefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<ThiefData*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                NoteCall("thief deactivated");
                PostMessageW(window, kRetakeMessage, 0, 0);
            }
            break;  // DefWindowProcW gives it the focus when it is activated
        case kRetakeMessage:
        case WM_TIMER:
            if (GetForegroundWindow() != window) {
                NoteCall(SetForegroundWindow(window) ? "thief took the foreground back"
                                                     : "thief could not take the foreground back");
            }
            return 0;
        case WM_KEYDOWN:
            if (data != nullptr) {
                data->model->SetInnerText(
                    data->model->InnerText() +
                    KeyTrace(static_cast<std::uint8_t>(wParam), GetKeyState(VK_CONTROL) < 0));
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_CLOSE:
            return 0;  // closed by the scenario only
        case WM_NCDESTROY:
            delete data;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The client's message filter: calls are rejected while it is busy.
class BusyFilter : public IMessageFilter {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)
                      ? static_cast<IMessageFilter*>(this)
                      : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        if (static_cast<LONG>(busyUntil - GetTickCount()) <= 0) return SERVERCALL_ISHANDLED;
        ++rejected;
        NoteCall("rejected (retry later)");
        return SERVERCALL_RETRYLATER;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

    DWORD busyUntil = 0;
    int rejected = 0;
};

BusyFilter busyFilter;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Registers the client's window classes; a class registered by an earlier
// call counts, so that a failed start may be tried again.
bool RegisterClasses() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const struct {
        const wchar_t* name;
        WNDPROC procedure;
    } classes[] = {{kMainClass, PlainProc},     {kPaneClass, PlainProc},    {kNoteClass, NoteProc},
                   {kEnvelopeClass, PlainProc}, {kDocHostClass, PlainProc}, {kMimeClass, PlainProc},
                   {kServerClass, ServerProc},  {kThiefClass, ThiefProc}};
    for (const auto& c : classes) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = c.procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = c.name;
        if (RegisterClassW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    return true;
}

HWND Child(const wchar_t* className, HWND parent, LPVOID data = nullptr) {
    RECT client{};
    GetClientRect(parent, &client);
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           client.right, client.bottom, parent, nullptr, GetModuleHandleW(nullptr),
                           data);
}

// The document chain in `parent`; the server window, its model in `note`.
HWND CreateDocumentWindow(HWND parent, StringView body, bool html, bool editor,
                          std::optional<DWORD> completeAfter, HostNote& note) {
    const HWND host = Child(kDocHostClass, parent);
    const HWND mime = Child(kMimeClass, host);
    const HWND server = Child(kServerClass, mime);
    if (server == nullptr) return nullptr;
    auto model = std::make_shared<SimDocument>();
    model->htmlMessage = html;
    if (html) {
        model->SetInnerHtml(body);
    } else {
        model->SetInnerText(body);
    }
    model->caret = model->anchor = 0;  // a message opens at its start
    model->readyState = completeAfter == 0u ? u"complete" : u"loading";
    auto* data = new ServerData{model, new HostDocument(model), editor, completeAfter};
    SetWindowLongPtrW(server, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    if (completeAfter && *completeAfter > 0)
        SetTimer(server, kCompleteTimer, *completeAfter, nullptr);
    note.server = server;
    note.model = model;
    return server;
}

HostNote CreateNote(StringView title, StringView body, const HostNoteOptions& options) {
    HostNote note;
    note.titledAt = std::make_shared<DWORD>(0);
    auto* data = new NoteData;
    data->title.assign(title.begin(), title.end());
    data->titledAt = note.titledAt;
    const bool titled = options.titleAfter == 0;
    note.note = CreateWindowExW(0, kNoteClass, titled ? data->title.c_str() : L"",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 120, 80, 640, 480, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (note.note == nullptr) {
        delete data;
        return note;
    }
    SetWindowLongPtrW(note.note, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    if (options.compose) {
        const HWND envelope = Child(kEnvelopeClass, note.note);
        CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 0, 0, 200, 100,
                        envelope, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    data->server = CreateDocumentWindow(note.note, body, options.html, options.compose,
                                        options.completeAfter, note);
    if (titled) {
        *note.titledAt = GetTickCount();
    } else {
        SetTimer(note.note, kTitleTimer, options.titleAfter, nullptr);
    }
    // A new note window comes up in front, its editor focused.
    ShowWindow(note.note, SW_SHOW);
    SetForegroundWindow(note.note);
    SetFocus(data->server);
    return note;
}

struct HungStart {
    String title;
    String body;
    HostNoteOptions options;
    HostNote note;
    HANDLE created;
};

DWORD WINAPI HungNoteThread(LPVOID parameter) {
    auto* start = static_cast<HungStart*>(parameter);
    start->note = CreateNote(start->title, start->body, start->options);
    const HWND window = start->note.note;
    const HANDLE release = start->note.release;
    // Up and shown, then this thread answers nothing until it is let go.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    SetEvent(start->created);
    WaitForSingleObject(release, kHungLimit);
    if (window != nullptr) DestroyWindow(window);
    return 0;
}

}  // namespace

DWORD BodyWrittenAt(const SimDocument& model) {
    const auto found = writes.find(&model);
    return found == writes.end() ? 0 : found->second;
}

namespace {
std::vector<std::pair<DWORD, const char*>> calls;
}  // namespace

void NoteCall(const char* method) {
    calls.emplace_back(GetTickCount(), method);
}

const std::vector<std::pair<DWORD, const char*>>& Calls() {
    return calls;
}

void NoteBodyWritten(const SimDocument& model) {
    writes.emplace(&model, GetTickCount());  // the first write counts
}

OeHostWindows::OeHostWindows() = default;

OeHostWindows::~OeHostWindows() {
    Exit();
}

bool OeHostWindows::Start() {
    if (!RegisterClasses()) return false;
    CoRegisterMessageFilter(&busyFilter, nullptr);
    mainWindow = CreateWindowExW(0, kMainClass, L"Inbox - Outlook Express",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800, 600,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (mainWindow == nullptr) return false;
    previewPane =
        CreateWindowExW(0, kPaneClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 300, 800,
                        300, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (previewPane != nullptr) return true;
    const DWORD error = GetLastError();
    Exit();
    SetLastError(error);
    return false;
}

HostNote OeHostWindows::OpenNote(StringView title, StringView body,
                                 const HostNoteOptions& options) {
    if (!options.hung) return CreateNote(title, body, options);
    HungStart start{
        String(title), String(body), options, {}, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    start.note.release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = start.note.release;
    HANDLE thread = CreateThread(nullptr, 0, HungNoteThread, &start, 0, nullptr);
    if (thread != nullptr) WaitForSingleObject(start.created, 10000);
    CloseHandle(start.created);
    HostNote note = start.note;
    note.release = release;
    note.thread = thread;
    return note;
}

HostNote OeHostWindows::ShowInPreview(StringView body, bool html) {
    HostNote shown;
    if (previewPane == nullptr) return shown;
    shown.note = previewPane;
    // The new document window comes up before the old one goes, so the two
    // never share a handle.
    const HWND old = previewHost;
    CreateDocumentWindow(previewPane, body, html, false, 0, shown);
    previewHost = GetParent(GetParent(shown.server));
    if (old != nullptr) DestroyWindow(old);
    return shown;
}

HostNote OeHostWindows::OpenThief(StringView body) {
    HostNote thief;
    thief.model = std::make_shared<SimDocument>();
    thief.model->SetInnerText(body);
    thief.note = CreateWindowExW(0, kThiefClass, L"Another window", WS_OVERLAPPEDWINDOW, 300, 200,
                                 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (thief.note == nullptr) return thief;
    SetWindowLongPtrW(thief.note, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new ThiefData{thief.model}));
    SetTimer(thief.note, kRetakeTimer, kRetakePeriod, nullptr);
    ShowWindow(thief.note, SW_SHOW);
    SetForegroundWindow(thief.note);
    return thief;
}

void SetClientBusy(DWORD milliseconds) {
    busyFilter.busyUntil = GetTickCount() + milliseconds;
}

int OeHostWindows::RejectedCalls() const {
    return busyFilter.rejected;
}

void OeHostWindows::SetTitle(HostNote& note, StringView title) {
    if (note.thread != nullptr || note.note == nullptr) return;  // hung: it would not answer
    std::wstring buffer;
    SetWindowTextW(note.note, Wide(title, buffer));
}

void OeHostWindows::Close(HostNote& note) {
    if (note.thread != nullptr) {
        SetEvent(note.release);
        WaitForSingleObject(note.thread, 5000);
        CloseHandle(note.thread);
        CloseHandle(note.release);
        note.thread = note.release = nullptr;
    } else if (note.note != nullptr && note.note != previewPane && IsWindow(note.note)) {
        DestroyWindow(note.note);
    }
    note.note = nullptr;
}

void OeHostWindows::Exit() {
    // Note windows are closed by the world, which holds them; the main
    // window takes the preview pane with it.
    if (mainWindow != nullptr) {
        DestroyWindow(mainWindow);
        CoRegisterMessageFilter(nullptr, nullptr);
    }
    mainWindow = previewPane = previewHost = nullptr;
}

}  // namespace nimbrel
