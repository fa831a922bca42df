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
//   click ID                   posts BM_CLICK to the control (returns at once)
//   set-check ID N             BM_SETCHECK, then WM_COMMAND BN_CLICKED as a click sends
//   command ID                 posts WM_COMMAND ID to the dialog
//   tray                       the tray object's callback window and whether the shell
//                              holds its icon: "tray window=H icon=N" or "tray none"
//   tray-event right|double    posts the tray callback (WM_USER) with that mouse message
//   menu-choose N MS           waits for the pop-up menu, chooses item N (0 based) by keys
//   box CAPTION MS [ID]        waits for a shown message box: "box-text" lines, "box-end";
//                              with ID, presses that button afterwards
//   no-box CAPTION MS          "no box" when none appears within MS, else as box
//   cfg-write FILE N=V...      writes a Nimbrel.cfg: the defaults with those fields
//   cfg-get FILE NAME...       "NAME=VALUE" of each field of a Nimbrel.cfg
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "shell/Settings.h"
#include "shell/SettingsFields.h"
#include "ui/ResourceIds.h"

namespace {

const wchar_t* const kMainCaption = L"Nimbrel   ";
const wchar_t* const kDialogClass = L"#32770";
const wchar_t* const kMenuClass = L"#32768";
constexpr DWORD kPollMs = 50;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes for every standard control.
    wchar_t buffer[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

std::string Hex(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// Polls `find` until it gives a window or `timeoutMs` has passed.
template <typename Find>
HWND WaitFor(DWORD timeoutMs, Find find) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = find()) return window;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(kPollMs);
    }
}

HWND FindTopLevel(const wchar_t* className, const wchar_t* title) {
    return FindWindowW(className, title);
}

// A window being created already has its title but neither its texts nor
// its final place: only a shown one is complete.
HWND FindShown(const wchar_t* className, const wchar_t* title) {
    HWND window = FindWindowW(className, title);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND MainDialog() {
    return FindTopLevel(nullptr, kMainCaption);
}

std::string StateOf(HWND main) {
    if (main == nullptr) return "main none";
    return std::string("main visible=") + (IsWindowVisible(main) ? "1" : "0") +
           " enabled=" + (IsWindowEnabled(main) ? "1" : "0");
}

int Number(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 0));
}

DWORD Millis(const char* text) {
    return static_cast<DWORD>(std::strtoul(text, nullptr, 0));
}

std::wstring Wide(const char* text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    if (size > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
    return out;
}

// "*" stands for any class or title.
const wchar_t* Pattern(const std::wstring& text) {
    return text == L"*" ? nullptr : text.c_str();
}

// --- the tray object's window ---------------------------------------------

struct TraySearch {
    DWORD process;
    HWND main;
    HWND found;
};

// The tray object's callback window: a hidden 10 x 10 pop-up at 0,0 of the
// program's own, the only such window it has.
BOOL CALLBACK FindTrayWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TraySearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || window == search->main) return TRUE;
    RECT rect;
    if (!GetWindowRect(window, &rect)) return TRUE;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if ((style & WS_POPUP) != 0 && rect.left == 0 && rect.top == 0 && rect.right == 10 &&
        rect.bottom == 10 && ClassOf(window) != kDialogClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND TrayWindow() {
    TraySearch search{0, MainDialog(), nullptr};
    if (search.main == nullptr) return nullptr;
    GetWindowThreadProcessId(search.main, &search.process);
    EnumWindows(&FindTrayWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the shell holds an icon for (window, id): modifying nothing
// succeeds only for an icon it has.
bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAW record = {};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = window;
    record.uID = id;
    record.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

// --- message boxes --------------------------------------------------------

BOOL CALLBACK CollectStatics(HWND child, LPARAM data) {
    auto* text = reinterpret_cast<std::wstring*>(data);
    if (ClassOf(child) != L"Static") return TRUE;
    const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP) return TRUE;
    const std::wstring part = WindowText(child);
    if (!part.empty()) {
        if (!text->empty()) text->push_back(L'\n');
        *text += part;
    }
    return TRUE;
}

void PrintBox(HWND box, const char* button) {
    std::wstring text;
    EnumChildWindows(box, &CollectStatics, reinterpret_cast<LPARAM>(&text));
    std::wstring line;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        if (c == L'\n') {
            Print("box-text " + Utf8(line));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    Print("box-text " + Utf8(line));
    Print("box-end");
    if (button != nullptr) {
        // As the button would: the box ends with that answer.
        const int id = Number(button);
        HWND control = GetDlgItem(box, id);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        // The box is gone before the next command looks for windows.
        WaitFor(3000, [box] { return IsWindow(box) ? nullptr : box; });
    }
}

// --- the pop-up menu ------------------------------------------------------

HWND VisibleMenu() {
    return FindShown(kMenuClass, nullptr);
}

void SendKey(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    Sleep(kPollMs);
}

// --- settings files -------------------------------------------------------

bool ReadSettingsFile(const char* path, nimbrel::Settings& record) {
    record = nimbrel::Settings::Defaults();
    return !nimbrel::LoadSettings(record, std::filesystem::path(Wide(path)));
}

int Usage() {
    Print("usage: NimbrelDriver [-w CAPTION] COMMAND ARGS... (see the source)");
    return 2;
}

int Run(int argc, char** argv) {
    int at = 1;
    std::wstring caption = kMainCaption;
    if (at + 1 < argc && std::string(argv[at]) == "-w") {
        caption = Wide(argv[at + 1]);
        at += 2;
    }
    if (at >= argc) return Usage();
    const std::string command = argv[at++];
    const int left = argc - at;
    char** args = argv + at;
    auto dialog = [&caption] { return FindTopLevel(kDialogClass, caption.c_str()); };
    auto control = [&](const char* id) -> HWND {
        HWND owner = dialog();
        return owner != nullptr ? GetDlgItem(owner, Number(id)) : nullptr;
    };

    if (command == "state") {
        Print(StateOf(MainDialog()));
    } else if (command == "wait-state" && left == 3) {
        const bool visible = Number(args[0]) != 0;
        const bool enabled = Number(args[1]) != 0;
        WaitFor(Millis(args[2]), [&] {
            HWND main = MainDialog();
            const bool match = main != nullptr && (IsWindowVisible(main) != FALSE) == visible &&
                               (IsWindowEnabled(main) != FALSE) == enabled;
            return match ? main : nullptr;
        });
        Print(StateOf(MainDialog()));
    } else if (command == "wait-gone" && left == 1) {
        HWND none = WaitFor(Millis(args[0]),
                            [] { return MainDialog() == nullptr ? GetDesktopWindow() : nullptr; });
        Print(none != nullptr ? "gone" : "still there");
    } else if (command == "find" && left == 3) {
        const std::wstring className = Wide(args[0]);
        const std::wstring title = Wide(args[1]);
        HWND window =
            WaitFor(Millis(args[2]), [&] { return FindShown(Pattern(className), Pattern(title)); });
        if (window == nullptr) {
            Print("none");
        } else {
            RECT rect;
            GetWindowRect(window, &rect);
            char line[128];
            std::snprintf(line, sizeof line, "window %ld %ld %ld %ld visible=%d", rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          IsWindowVisible(window) ? 1 : 0);
            Print(line);
        }
    } else if (command == "read-text" && left == 1) {
        HWND item = control(args[0]);
        Print(item != nullptr ? "text " + Utf8(WindowText(item)) : "no control");
    } else if (command == "read-check" && left == 1) {
        HWND item = control(args[0]);
        if (item == nullptr) {
            Print("no control");
        } else {
            const LRESULT state = SendMessageW(item, BM_GETCHECK, 0, 0);
            Print("check " + std::to_string(state));
        }
    } else if (command == "click" && left == 1) {
        HWND item = control(args[0]);
        if (item == nullptr) {
            Print("no control");
        } else {
            // Posted: a button that opens a modal dialog would keep a sent
            // message waiting until that dialog closes.
            PostMessageW(item, BM_CLICK, 0, 0);
            Print("clicked");
        }
    } else if (command == "set-check" && left == 2) {
        HWND item = control(args[0]);
        if (item == nullptr) {
            Print("no control");
        } else {
            SendMessageW(item, BM_SETCHECK, Number(args[1]) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
            PostMessageW(GetParent(item), WM_COMMAND, MAKEWPARAM(Number(args[0]), BN_CLICKED),
                         reinterpret_cast<LPARAM>(item));
            Print("set");
        }
    } else if (command == "command" && left == 1) {
        HWND owner = dialog();
        if (owner == nullptr) {
            Print("no dialog");
        } else {
            PostMessageW(owner, WM_COMMAND, MAKEWPARAM(Number(args[0]), 0), 0);
            Print("posted");
        }
    } else if (command == "tray" && left == 0) {
        HWND tray = TrayWindow();
        if (tray == nullptr) {
            Print("tray none");
        } else {
            Print("tray window=" + Hex(tray) +
                  " icon=" + (ShellHasIcon(tray, IDR_TRAYMENU) ? "1" : "0"));
        }
    } else if (command == "tray-event" && left == 1) {
        HWND tray = TrayWindow();
        const std::string which = args[0];
        const UINT mouse = which == "right" ? WM_RBUTTONUP : WM_LBUTTONDBLCLK;
        if (tray == nullptr) {
            Print("tray none");
        } else {
            // Posted: the right button's menu runs a modal loop.
            PostMessageW(tray, WM_USER, IDR_TRAYMENU, mouse);
            Print("posted");
        }
    } else if (command == "menu-choose" && left == 2) {
        HWND menu = WaitFor(Millis(args[1]), VisibleMenu);
        if (menu == nullptr) {
            Print("no menu");
        } else {
            for (int i = 0; i <= Number(args[0]); ++i)
                SendKey(menu, VK_DOWN);
            SendKey(menu, VK_RETURN);
            Print("chosen");
        }
    } else if ((command == "box" || command == "no-box") && (left == 2 || left == 3)) {
        const std::wstring boxCaption = Wide(args[0]);
        HWND box =
            WaitFor(Millis(args[1]), [&] { return FindShown(kDialogClass, boxCaption.c_str()); });
        if (box == nullptr) {
            Print(command == "box" ? "none" : "no box");
        } else {
            PrintBox(box, left == 3 ? args[2] : nullptr);
        }
    } else if (command == "cfg-write" && left >= 1) {
        nimbrel::Settings record = nimbrel::Settings::Defaults();
        for (int i = 1; i < left; ++i) {
            const std::string error = nimbrel::ApplySettingsAssignment(record, args[i]);
            if (!error.empty()) {
                Print("error " + error);
                return 1;
            }
        }
        const bool failed = nimbrel::SaveSettings(record, std::filesystem::path(Wide(args[0])));
        Print(failed ? "error cannot write" : "written");
    } else if (command == "cfg-get" && left >= 2) {
        nimbrel::Settings record;
        if (!ReadSettingsFile(args[0], record)) {
            Print("error cannot read");
            return 1;
        }
        for (int i = 1; i < left; ++i) {
            const nimbrel::SettingsField* field = nimbrel::FindSettingsField(args[i]);
            Print(std::string(args[i]) + "=" +
                  (field != nullptr ? nimbrel::FormatSettingsField(record, *field) : "?"));
        }
    } else {
        return Usage();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(argc, argv);
}
