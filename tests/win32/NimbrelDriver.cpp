// NimbrelDriver.exe: drives a running Nimbrel.exe from another process for
// the Windows end-to-end checks (tests/win32/windows_test.sh). One command
// per run; every result is a line on standard output, which the script
// judges. Every wait has a deadline, so nothing here can hang a test run.
//
//   NimbrelDriver [-w CAPTION] COMMAND ARGS...
//
// -w names the dialog (class "#32770") a control command works on; the
// default is the main dialog, "Nimbrel   ". Times are in milliseconds.
//
//   state                      "main none" or "main visible=V enabled=E"
//   wait-state V E MS          waits until the main dialog is so; then as state
//   wait-gone MS               waits until no main dialog exists: "gone" or "still there"
//   find CLASS TITLE MS        waits for a shown top-level window ("*" is any): "window X Y
//                              W H visible=1" or "none"
//   read-text ID               "text T" of the control
//   read-check ID              "check N" of the button
//   column-width ID N          "width W" of column N of the list view ID
//   click ID                   posts BM_CLICK to the control (returns at once)
//   set-check ID N             BM_SETCHECK, then WM_COMMAND BN_CLICKED as a click sends
//   command ID                 posts WM_COMMAND ID to the dialog
//   tray                       the tray object's callback window and whether the shell
//                              holds its icon: "tray window=H icon=N" or "tray none"
//   tray-event right           posts the tray callback (WM_USER) with WM_RBUTTONUP
//   menu-choose N MS           waits for the pop-up menu, chooses item N (0 based) by keys
//   box CAPTION MS ID          waits for a shown message box: "box-text" lines, "box-end";
//                              then presses button ID
//   no-box CAPTION MS          "no box" when none appears within MS, else the box's lines
//   cfg-write FILE N=V...      writes a Nimbrel.cfg: the defaults with those fields
//   cfg-get FILE NAME...       "NAME=VALUE" of each field of a Nimbrel.cfg
//   tray-remove                NIM_DELETE of the program's icon, as a crashing Explorer loses it
//   taskbar-created            broadcasts "TaskbarCreated", as Explorer does when it starts
//   end-session                WM_QUERYENDSESSION, then WM_ENDSESSION (logoff), to every
//                              top-level window of the program: "ended N"
//   winver                     what Windows reports to this program: "windows MAJOR.MINOR
//                              build=B bits=32|64 wow64=0|1"
//   appdata                    the user's application data folder: "folder PATH" or "none"
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "shell/Settings.h"
#include "shell/SettingsFields.h"
#include "shell/Utf.h"
#include "ui/ResourceIds.h"

namespace {

const wchar_t* const kMainCaption = L"Nimbrel   ";
const wchar_t* const kDialogClass = L"#32770";
constexpr DWORD kPollMs = 50;

std::string Utf8(const std::wstring& text) {
    return nimbrel::Utf16ToUtf8({reinterpret_cast<const char16_t*>(text.data()), text.size()});
}

// An argument as UTF-8 (an invalid byte as Latin-1).
std::wstring Wide(const char* text) {
    return reinterpret_cast<const wchar_t*>(nimbrel::AnsiToUtf16(text).c_str());
}

// One line of the result, flushed at once: a run killed at its deadline
// still shows how far it got.
[[gnu::format(gnu_printf, 1, 2)]] void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

int Number(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 0));
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes for every standard control.
    wchar_t buffer[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

// Polls `find` until it gives something or `timeoutMs` has passed; returns its last answer.
template <typename Find>
auto WaitFor(DWORD timeoutMs, Find find) {
    for (const DWORD start = GetTickCount();; Sleep(kPollMs)) {
        if (auto found = find(); found || GetTickCount() - start >= timeoutMs) return found;
    }
}

// A window being created already has its title but neither its texts nor
// its final place: only a shown one is complete.
HWND FindShown(const wchar_t* className, const wchar_t* title) {
    HWND window = FindWindowW(className, title);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND MainDialog() {
    return FindWindowW(nullptr, kMainCaption);
}

// The tray object's callback window: a hidden 10 x 10 pop-up at 0,0 of the
// program's own, the only such window it has that is not a dialog (class
// "#32770", whose atom is 32770).
HWND TrayWindow() {
    HWND main = MainDialog();
    DWORD process = 0;
    if (main == nullptr || GetWindowThreadProcessId(main, &process) == 0) return nullptr;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, nullptr));) {
        DWORD owner = 0;
        RECT rect;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && window != main && GetWindowRect(window, &rect) && rect.left == 0 &&
            rect.top == 0 && rect.right == 10 && rect.bottom == 10 &&
            (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) != 0 &&
            GetClassWord(window, GCW_ATOM) != 32770)
            return window;
    }
    return nullptr;
}

// The texts of the box's static controls (not its icon), a "box-text" line each.
void PrintBox(HWND box) {
    std::string text;
    for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr));) {
        const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
        const std::string part =
            type == SS_ICON || type == SS_BITMAP ? "" : Utf8(WindowText(child));
        if (!part.empty()) text += part + '\n';
    }
    std::erase(text, '\r');
    std::istringstream lines(text.empty() ? "\n" : text);
    for (std::string line; std::getline(lines, line);)
        Print("box-text %s", line.c_str());
    Print("box-end");
}

}  // namespace

int main(int argc, char** argv) {
    int at = 1;
    std::wstring caption = kMainCaption;
    if (at + 1 < argc && std::string(argv[at]) == "-w") {
        caption = Wide(argv[at + 1]);
        at += 2;
    }
    const std::string command = at < argc ? argv[at++] : "";
    const int left = argc - at;
    char** args = argv + at;
    auto is = [&](const char* name, int count) { return command == name && left == count; };
    HWND dialog = FindWindowW(kDialogClass, caption.c_str());

    if (is("state", 0) || is("wait-state", 3)) {
        if (left == 3) {
            WaitFor(Number(args[2]), [&] {
                HWND main = MainDialog();
                return main != nullptr && (IsWindowVisible(main) != 0) == (Number(args[0]) != 0) &&
                       (IsWindowEnabled(main) != 0) == (Number(args[1]) != 0);
            });
        }
        HWND main = MainDialog();
        if (main == nullptr) {
            Print("main none");
        } else {
            Print("main visible=%d enabled=%d", IsWindowVisible(main) != 0,
                  IsWindowEnabled(main) != 0);
        }
    } else if (is("wait-gone", 1)) {
        Print(WaitFor(Number(args[0]), [] { return MainDialog() == nullptr; }) ? "gone"
                                                                               : "still there");
    } else if (is("find", 3)) {
        const std::wstring className = Wide(args[0]), title = Wide(args[1]);
        HWND window = WaitFor(Number(args[2]), [&] {
            return FindShown(className == L"*" ? nullptr : className.c_str(),
                             title == L"*" ? nullptr : title.c_str());
        });
        RECT rect;
        if (window == nullptr || !GetWindowRect(window, &rect)) {
            Print("none");
        } else {
            Print("window %ld %ld %ld %ld visible=%d", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, IsWindowVisible(window) != 0);
        }
    } else if (is("read-text", 1) || is("read-check", 1) || is("click", 1) || is("set-check", 2)) {
        const int id = Number(args[0]);
        HWND item = GetDlgItem(dialog, id);
        if (item == nullptr) {
            Print("no control");
        } else if (command == "read-text") {
            Print("text %s", Utf8(WindowText(item)).c_str());
        } else if (command == "read-check") {
            Print("check %d", static_cast<int>(SendMessageW(item, BM_GETCHECK, 0, 0)));
        } else if (command == "click") {
            // Posted: a button that opens a modal dialog would keep a sent
            // message waiting until that dialog closes.
            PostMessageW(item, BM_CLICK, 0, 0);
            Print("clicked");
        } else {
            SendMessageW(item, BM_SETCHECK, Number(args[1]) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(item));
            Print("set");
        }
    } else if (is("column-width", 2)) {
        HWND list = GetDlgItem(dialog, Number(args[0]));
        DWORD_PTR width = 0;
        if (list != nullptr)
            SendMessageTimeoutW(list, LVM_GETCOLUMNWIDTH, Number(args[1]), 0, SMTO_ABORTIFHUNG,
                                2000, &width);
        Print("width %d", static_cast<int>(width));
    } else if (is("command", 1)) {
        if (dialog != nullptr) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(Number(args[0]), 0), 0);
        Print(dialog != nullptr ? "posted" : "no dialog");
    } else if (is("tray", 0) || (is("tray-event", 1) && std::string(args[0]) == "right")) {
        HWND tray = TrayWindow();
        if (tray == nullptr) {
            Print("tray none");
        } else if (left == 0) {
            // Modifying nothing succeeds only for an icon the shell holds.
            NOTIFYICONDATAW record = {};
            record.cbSize = NOTIFYICONDATAW_V2_SIZE;
            record.hWnd = tray;
            record.uID = IDR_TRAYMENU;
            Print("tray window=0x%llx icon=%d",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(tray)),
                  Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE);
        } else {
            // Posted: the right button's menu runs a modal loop.
            PostMessageW(tray, WM_USER, IDR_TRAYMENU, WM_RBUTTONUP);
            Print("posted");
        }
    } else if (is("menu-choose", 2)) {
        HWND menu = WaitFor(Number(args[1]), [] { return FindShown(L"#32768", nullptr); });
        // The first Down selects item 0; Return chooses.
        for (int i = 0; menu != nullptr && i <= Number(args[0]) + 1; ++i) {
            const WPARAM key = i <= Number(args[0]) ? VK_DOWN : VK_RETURN;
            PostMessageW(menu, WM_KEYDOWN, key, 1);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
            Sleep(kPollMs);
        }
        Print(menu != nullptr ? "chosen" : "no menu");
    } else if (is("box", 3) || is("no-box", 2)) {
        const std::wstring title = Wide(args[0]);
        HWND box = WaitFor(Number(args[1]), [&] { return FindShown(kDialogClass, title.c_str()); });
        if (box == nullptr) {
            Print(left == 3 ? "none" : "no box");
            return 0;
        }
        PrintBox(box);
        if (left == 3) {
            // As the button would: the box ends with that answer, and is gone
            // before the next command looks for windows.
            const int id = Number(args[2]);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
            WaitFor(3000, [box] { return !IsWindow(box); });
        }
    } else if (command == "cfg-write" && left >= 1) {
        nimbrel::Settings record = nimbrel::Settings::Defaults();
        for (int i = 1; i < left; ++i) {
            const std::string error = nimbrel::ApplySettingsAssignment(record, args[i]);
            if (!error.empty()) {
                Print("error %s", error.c_str());
                return 1;
            }
        }
        const bool failed = nimbrel::SaveSettings(record, std::filesystem::path(Wide(args[0])));
        Print(failed ? "error cannot write" : "written");
    } else if (command == "cfg-get" && left >= 2) {
        nimbrel::Settings record = nimbrel::Settings::Defaults();
        if (nimbrel::LoadSettings(record, std::filesystem::path(Wide(args[0])))) {
            Print("error cannot read");
            return 1;
        }
        for (int i = 1; i < left; ++i) {
            const nimbrel::SettingsField* field = nimbrel::FindSettingsField(args[i]);
            Print("%s=%s", args[i],
                  field != nullptr ? nimbrel::FormatSettingsField(record, *field).c_str() : "?");
        }
    } else if (is("tray-remove", 0)) {
        NOTIFYICONDATAW record = {};
        record.cbSize = NOTIFYICONDATAW_V2_SIZE;
        record.hWnd = TrayWindow();
        record.uID = IDR_TRAYMENU;
        Print(record.hWnd != nullptr && Shell_NotifyIconW(NIM_DELETE, &record) ? "removed"
                                                                               : "not removed");
    } else if (is("taskbar-created", 0)) {
        const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
        SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        Print("broadcast");
    } else if (is("end-session", 0)) {
        DWORD process = 0;
        if (MainDialog() != nullptr) GetWindowThreadProcessId(MainDialog(), &process);
        int ended = 0;
        for (HWND window = nullptr;
             process != 0 && (window = FindWindowExW(nullptr, window, nullptr, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != process) continue;
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                5000, &answer);
            SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                5000, &answer);
            ++ended;
        }
        Print("ended %d", ended);
    } else if (is("winver", 0)) {
        OSVERSIONINFOW version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        GetVersionExW(&version);
        // IsWow64Process is looked up: early XP lacks it.
        using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
        const auto isWow64 = reinterpret_cast<IsWow64>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
        BOOL wow64 = FALSE;
        if (isWow64 != nullptr) isWow64(GetCurrentProcess(), &wow64);
        Print("windows %lu.%lu build=%lu bits=%d wow64=%d", version.dwMajorVersion,
              version.dwMinorVersion, version.dwBuildNumber, static_cast<int>(sizeof(void*) * 8),
              wow64 != FALSE);
    } else if (is("appdata", 0)) {
        wchar_t folder[MAX_PATH] = {};
        if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) ==
            S_OK) {
            Print("folder %s", Utf8(folder).c_str());
        } else {
            Print("none");
        }
    } else {
        Print("usage: NimbrelDriver [-w CAPTION] COMMAND ARGS... (see the source)");
        return 2;
    }
    return 0;
}
