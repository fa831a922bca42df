#include "compose/Watcher.h"

#include <algorithm>
#include <vector>

#include "shell/App.h"
#include "shell/Settings.h"

namespace nimbrel {

TrackingTable trackedWindows;
WindowHandle lastColoredView = kNoWindow;
WindowHandle lastAltView = kNoWindow;

namespace {

CMessageColorer* timerWatcher = nullptr;
WatchHost* timerHost = nullptr;

constexpr const char16_t* kLatencyErrorFormat =
    u"A latency error (%s) occurred.\nThe message was not processed.\nTry increasing the delay "
    u"settings in advanced options,\n especially the Message Composition Init Delay (see docs)!";
constexpr const char16_t* kErrorCaption = u"Nimbrel Error";

bool AnyColoringOption() {
    return settings.colorMessageView != 0 || settings.reformatMessageView != 0 ||
           settings.fontStyles != 0 || settings.emoticons != 0;
}

bool AltSkipIsOn(Keyboard& keyboard) {
    if (settings.altFunction != 1 && settings.altFunction != 2) return false;
    const bool held = keyboard.GetKeyState(vk::kMenu) < 0;
    return settings.altFunction == 1 ? held : !held;
}

// Clears `busy` however the tick ends.
class BusyScope {
  public:
    explicit BusyScope(std::uint8_t& busy_) : busy(busy_) { busy = 1; }
    ~BusyScope() { busy = 0; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    std::uint8_t& busy;
};

class Tick {
  public:
    Tick(CMessageColorer& watcher_, WatchHost& host_, bool altSkip_)
        : watcher(watcher_), platform(watcher_.GetPlatform()), host(host_), altSkip(altSkip_) {}

    void NoteWindows();
    void PreviewPane(WindowHandle mainWindow);

  private:
    void Consider(WindowHandle window);
    void Handle(WindowHandle window, StringView title, std::uint8_t retitled);

    CMessageColorer& watcher;
    Platform& platform;
    WatchHost& host;
    bool altSkip;
};

void Tick::NoteWindows() {
    trackedWindows.ClearSeen();
    // The note windows are listed first and handled afterwards. Handling a
    // window sleeps and brings it to the top, and the user may close it
    // meanwhile: going on from a closed window would end the enumeration
    // there and make the watcher forget every window after it.
    WindowSystem& windows = platform.windows;
    std::vector<WindowHandle> noteWindows;
    for (WindowHandle window =
             windows.FindWindowExW(kNoWindow, kNoWindow, kNoteWindowClass, nullptr);
         window != kNoWindow;
         window = windows.FindWindowExW(kNoWindow, window, kNoteWindowClass, nullptr)) {
        noteWindows.push_back(window);
    }
    for (const WindowHandle window : noteWindows)
        Consider(window);
    trackedWindows.EraseUnseen();
}

void Tick::Consider(WindowHandle window) {
    const std::size_t index = trackedWindows.Find(window);
    if (index != TrackingTable::kNotFound) trackedWindows[index].seen = 1;

    char16_t buffer[kTrackedTitleUnits] = {};
    const int length = platform.windows.GetWindowTextW(window, buffer, kTrackedTitleUnits);
    const StringView title(buffer, static_cast<std::size_t>(std::max(length, 0)));

    // OE leaves the title empty while it sets the window up; a window that
    // closed since the list was made reads as empty too.
    if (title.empty()) return;
    if (index == TrackingTable::kNotFound) {
        Handle(window, title, 0);
        return;
    }
    const TrackedWindow& record = trackedWindows[index];
    if (record.altIgnored != 0) return;
    if (record.retitled == 0 && record.title != title) {
        // The one re-handling a title change grants. The record goes at the
        // end of the tick; until then no lookup finds it.
        trackedWindows.Retire(index);
        Handle(window, title, 1);
        return;
    }
    if (record.viaCompose != 0) return;
    // A message window: handled again, and the old record stays first. A
    // new record this makes is a younger duplicate, dropped next tick.
    Handle(window, title, 0);
}

void Tick::Handle(WindowHandle window, StringView title, std::uint8_t retitled) {
    TrackedWindow record;
    record.hwnd = window;
    record.seen = 1;
    record.title = String(title);
    record.retitled = retitled;

    const char16_t* status = nullptr;
    if (altSkip) {
        record.altIgnored = 1;
        status = kStatusIgnoredAlt;
    } else if (IsComposeWindow(platform.windows, window)) {
        record.viaCompose = 1;
        const ComposeResult result = ProcessComposeWindow(watcher, window, title);
        status = ComposeStatusText(result);
        if ((result == kComposePutError || result == kComposeGetError) &&
            settings.displayWarnings != 0) {
            platform.messageBoxes.MessageBoxW(LatencyErrorText(status), kErrorCaption,
                                              mb::kSystemModal | mb::kIconExclamation);
        }
    } else if (AnyColoringOption() &&
               watcher.composeDoc.LocateDocumentWindow(window) != kNoWindow &&
               watcher.Colorize(watcher.composeDoc, false) == kColorDone) {
        status = kStatusColored;
    }

    if (status == nullptr) return;
    host.AddStatusLine(record.title, status);
    trackedWindows.Append(std::move(record));
}

void Tick::PreviewPane(WindowHandle mainWindow) {
    if (!AnyColoringOption()) return;
    const WindowHandle pane =
        platform.windows.FindWindowExW(mainWindow, kNoWindow, kPreviewPaneClass, nullptr);
    if (pane == kNoWindow) return;
    CHtmlDocAccess& document = watcher.viewDoc;
    const WindowHandle view = document.LocateDocumentWindow(pane);
    if (view == kNoWindow) return;

    const bool continuous = settings.continuousColoring != 0;
    if (!altSkip) {
        if ((view == lastColoredView || view == lastAltView) && !continuous) return;
        const std::int32_t result = watcher.Colorize(document, false);
        if (result == kColorDone || result == kColorNothingToDo) lastColoredView = view;
        return;
    }
    lastAltView = view;
    if (!continuous) return;
    if (document.Connect()) {
        document.Release();
        return;
    }
    // The done mark keeps continuous colouring off the message shown.
    if (document.IsComplete()) document.SetTitle(kColoredTitle);
    document.Release();
}

}  // namespace

const char16_t* ComposeStatusText(ComposeResult result) {
    switch (result) {
        case kComposeReformatted:
            return u"processed (q)";
        case kComposeUnchanged:
            return u"skipped (quoted)";
        case kComposePutError:
            return u"put error";
        case kComposeGetError:
            return u"get error";
        case kComposeAddedLevel:
            return u"processed (q-qp)";
        case kComposeHtmlSkipped:
            return u"skipped (HTML)";
        case kComposeSignatureOnly:
            return u"processed (sig)";
        default:
            return nullptr;
    }
}

String LatencyErrorText(StringView status) {
    String text = kLatencyErrorFormat;
    const std::size_t at = text.find(u"%s");
    text.replace(at, 2, status);
    return text;
}

WindowHandle FindOEMainWindow(WindowSystem& windows) {
    const WindowHandle browser = windows.FindWindowW(u"Outlook Express Browser Class", nullptr);
    if (browser != kNoWindow) return browser;
    return windows.FindWindowW(u"Outlook Express NewsStore", nullptr);
}

bool IsComposeWindow(WindowSystem& windows, WindowHandle window) {
    const WindowHandle envelope = windows.FindWindowExW(window, kNoWindow, u"OE_Envelope", nullptr);
    return envelope != kNoWindow &&
           windows.FindWindowExW(envelope, kNoWindow, u"ComboBox", nullptr) != kNoWindow;
}

void RunWatchTick(CMessageColorer& watcher, WatchHost& host) {
    Platform& platform = watcher.GetPlatform();
    const WindowHandle mainWindow = FindOEMainWindow(platform.windows);
    if (mainWindow == kNoWindow &&
        platform.windows.FindWindowW(kNoteWindowClass, nullptr) == kNoWindow) {
        if (settings.dependOnOE == 0) return;
        platform.system.Sleep(kSecondLookDelay);
        if (FindOEMainWindow(platform.windows) == kNoWindow) app.EndProgram();
        return;
    }
    if (watcher.suspended != 0 || watcher.busy != 0) return;

    const bool altSkip = AltSkipIsOn(platform.keyboard);
    const BusyScope busy(watcher.busy);
    host.ReadControls();
    Tick tick(watcher, host, altSkip);
    tick.NoteWindows();
    tick.PreviewPane(mainWindow);
}

void SetWatchTimerTarget(CMessageColorer* watcher, WatchHost* host) {
    timerWatcher = watcher;
    timerHost = host;
}

void WatchTimerProc(WindowHandle /*window*/, std::uint32_t /*message*/, std::uintptr_t /*timerId*/,
                    std::uint32_t /*time*/) {
    if (timerWatcher != nullptr && timerHost != nullptr) RunWatchTick(*timerWatcher, *timerHost);
}

void ResetWatcherState() {
    trackedWindows.Clear();
    lastColoredView = kNoWindow;
    lastAltView = kNoWindow;
    SetWatchTimerTarget(nullptr, nullptr);
}

}  // namespace nimbrel
