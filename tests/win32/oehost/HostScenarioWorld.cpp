#include "HostScenarioWorld.h"

#include <commctrl.h>

#include "HostEditor.h"

namespace nimbrel {

namespace {

constexpr int kStatusListId = 1002;
constexpr DWORD kSendTimeout = 1000;
constexpr std::size_t kCellUnits = 512;

String FromWide(const wchar_t* text, std::size_t length) {
    return String(reinterpret_cast<const char16_t*>(text), length);
}

// Memory in another process, freed when the object goes.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process_, std::size_t size)
        : process(process_),
          address(
              VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address != nullptr) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    void* Address() const { return address; }

  private:
    HANDLE process;
    void* address;
};

}  // namespace

HWND FindNimbrelDialog() {
    return FindWindowW(L"#32770", L"Nimbrel   ");
}

HostScenarioWorld::HostScenarioWorld(OeHostWindows& windows_, HANDLE process_,
                                     std::wstring installDirectory_, std::wstring userDirectory_)
    : windows(windows_),
      process(process_),
      installDirectory(std::move(installDirectory_)),
      userDirectory(std::move(userDirectory_)) {}

HostScenarioWorld::~HostScenarioWorld() {
    CloseAll();
}

void HostScenarioWorld::CloseAll() {
    for (auto& [id, note] : notes)
        windows.Close(note);
    if (altDown) HoldAlt(false);
    for (const HANDLE holder : clipboardHolders) {
        WaitForSingleObject(holder, INFINITE);  // each lets go when its time is up
        CloseHandle(holder);
    }
    clipboardHolders.clear();
}

void HostScenarioWorld::Open(const ScenarioStep& step) {
    if (step.kind == ScenarioStep::Kind::kPreview) {
        notes[step.id] = windows.ShowInPreview(step.text, step.html);
        return;
    }
    if (step.kind == ScenarioStep::Kind::kThief) {
        notes[step.id] = windows.OpenThief(step.text);
        return;
    }
    HostNoteOptions options;
    options.compose = step.kind == ScenarioStep::Kind::kReply;
    options.html = step.html;
    options.hung = step.hung;
    options.titleAfter = static_cast<DWORD>(step.titleAfter);
    options.completeAfter.reset();
    if (step.completeAfter) options.completeAfter = static_cast<DWORD>(*step.completeAfter);
    notes[step.id] = windows.OpenNote(step.title, step.text, options);
    if (const std::shared_ptr<SimDocument>& model = notes[step.id].model) {
        model->writeDelay = step.writeDelay;
        model->busyAfterRead = step.busyAfterRead;
    }
}

void HostScenarioWorld::SetTitle(const std::string& id, StringView title) {
    const auto found = notes.find(id);
    if (found != notes.end()) windows.SetTitle(found->second, title);
}

void HostScenarioWorld::Close(const std::string& id) {
    const auto found = notes.find(id);
    if (found != notes.end()) windows.Close(found->second);
}

void HostScenarioWorld::SetClipboardText(StringView text) {
    WriteClipboardText(windows.MainWindow(), text);
}

namespace {

// A held key repeats, as a keyboard's does. Under Wine the repeats matter:
// when a window of the client takes the focus, the X11 driver takes the key
// state from the X server, where no key is down, and an injected Alt would
// count as let go.
VOID CALLBACK RepeatAlt(HWND, UINT, UINT_PTR, DWORD) {
    keybd_event(VK_MENU, 0x38, 0, 0);
}

}  // namespace

namespace {

struct ClipboardHold {
    DWORD milliseconds;
    HANDLE opened;  // set once the clipboard is open, or given up
};

// Holds the clipboard open, with no window, as a clipboard manager does
// while it reads what was copied.
DWORD WINAPI HoldClipboardOpen(LPVOID parameter) {
    const ClipboardHold hold = *static_cast<const ClipboardHold*>(parameter);
    const bool open = OpenClipboardWithin(nullptr, 1000);
    SetEvent(hold.opened);
    if (!open) return 1;
    Sleep(hold.milliseconds);
    CloseClipboard();
    return 0;
}

}  // namespace

void HostScenarioWorld::HoldClipboard(std::uint64_t milliseconds) {
    ClipboardHold hold{static_cast<DWORD>(milliseconds), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (hold.opened == nullptr) return;
    if (const HANDLE holder = CreateThread(nullptr, 0, HoldClipboardOpen, &hold, 0, nullptr)) {
        WaitForSingleObject(hold.opened, INFINITE);  // the next step comes after the hold began
        clipboardHolders.push_back(holder);
    }
    CloseHandle(hold.opened);
}

void HostScenarioWorld::HoldAlt(bool down) {
    keybd_event(VK_MENU, 0x38, down ? 0 : KEYEVENTF_KEYUP, 0);
    if (down && altTimer == 0) altTimer = SetTimer(nullptr, 0, 30, RepeatAlt);
    if (!down && altTimer != 0) {
        KillTimer(nullptr, altTimer);
        altTimer = 0;
    }
    altDown = down;
}

void HostScenarioWorld::ExitOe() {
    for (auto& [id, note] : notes)
        windows.Close(note);
    windows.Exit();
}

const SimDocument* HostScenarioWorld::Model(const std::string& id) const {
    const auto found = notes.find(id);
    return found == notes.end() || !found->second.model ? nullptr : found->second.model.get();
}

std::optional<String> HostScenarioWorld::BodyText(const std::string& id) {
    const SimDocument* model = Model(id);
    return model ? std::optional<String>(model->InnerText()) : std::nullopt;
}

std::optional<String> HostScenarioWorld::BodyHtml(const std::string& id) {
    const SimDocument* model = Model(id);
    return model ? std::optional<String>(model->InnerHtml()) : std::nullopt;
}

std::optional<String> HostScenarioWorld::Title(const std::string& id) {
    const SimDocument* model = Model(id);
    return model ? model->title : std::nullopt;
}

std::vector<String> HostScenarioWorld::StyleSheets(const std::string& id) {
    const SimDocument* model = Model(id);
    return model ? model->styleSheets : std::vector<String>{};
}

String HostScenarioWorld::StyleSheetPath() {
    return FromWide(installDirectory.c_str(), installDirectory.size()) + u"\\styles.css";
}

std::optional<String> HostScenarioWorld::ClipboardText() {
    return ReadClipboardText(nullptr);
}

namespace {

// One reading of the list, on a thread of its own: the messages sent to the
// program may wait while it is busy, and the client must go on answering
// it meanwhile (its keys, its documents).
struct RowsReading {
    HANDLE process;
    HWND list;
    bool ok = false;
    std::vector<std::pair<String, String>> rows;
};

DWORD WINAPI ReadRows(LPVOID parameter) {
    auto* reading = static_cast<RowsReading*>(parameter);
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(reading->list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout,
                             &count))
        return 0;
    // LVM_GETITEMTEXTW reads its LVITEMW and writes the text in the list's
    // own process.
    RemoteBlock remote(reading->process, sizeof(LVITEMW) + kCellUnits * sizeof(wchar_t));
    if (remote.Address() == nullptr) return 0;
    auto* const remoteText =
        static_cast<wchar_t*>(remote.Address()) + sizeof(LVITEMW) / sizeof(wchar_t);
    for (DWORD_PTR row = 0; row < count; ++row) {
        String cells[2];
        for (int column = 0; column < 2; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.cchTextMax = static_cast<int>(kCellUnits);
            item.pszText = remoteText;
            DWORD_PTR length = 0;
            wchar_t text[kCellUnits] = {};
            if (!WriteProcessMemory(reading->process, remote.Address(), &item, sizeof item,
                                    nullptr) ||
                !SendMessageTimeoutW(reading->list, LVM_GETITEMTEXTW, row,
                                     reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG,
                                     kSendTimeout, &length) ||
                !ReadProcessMemory(reading->process, remoteText, text,
                                   sizeof text - sizeof(wchar_t), nullptr))
                return 0;
            cells[column] = FromWide(text, std::min<std::size_t>(length, kCellUnits - 1));
        }
        reading->rows.emplace_back(cells[0], cells[1]);
    }
    reading->ok = true;
    return 0;
}

}  // namespace

std::vector<std::pair<String, String>> HostScenarioWorld::StatusRows() {
    const HWND list = GetDlgItem(FindNimbrelDialog(), kStatusListId);
    if (list == nullptr) return lastRows;
    auto* reading = new RowsReading{process, list, false, {}};
    const HANDLE thread = CreateThread(nullptr, 0, ReadRows, reading, 0, nullptr);
    if (thread == nullptr) {
        delete reading;
        return lastRows;
    }
    // Every send gives up after a second and the first failure ends the
    // reading, so this deadline is only a guard.
    const DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (GetTickCount() - start > 30000) {
            CloseHandle(thread);
            return lastRows;  // `reading` stays with the thread
        }
    }
    CloseHandle(thread);
    if (reading->ok) lastRows = reading->rows;
    delete reading;
    return lastRows;
}

bool HostScenarioWorld::ProgramRunning() {
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool HostScenarioWorld::SettingsWritten() {
    const std::wstring path = userDirectory + L"\\Nimbrel.cfg";
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace nimbrel
