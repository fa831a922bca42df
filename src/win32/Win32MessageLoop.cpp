#include "win32/Win32MessageLoop.h"

#include <algorithm>
#include <vector>

#include "win32/Win32Handles.h"

namespace nimbrel {

using win32::FromWin32;
using win32::ToWin32;

namespace {

struct TimerEntry {
    HWND window;
    UINT_PTR id;
    TimerProc proc;
};

// The program's timers; a handful at most, all of the one GUI thread.
std::vector<TimerEntry>& Timers() {
    static std::vector<TimerEntry> timers;
    return timers;
}

std::vector<TimerEntry>::iterator FindTimer(HWND window, UINT_PTR id) {
    std::vector<TimerEntry>& timers = Timers();
    return std::find_if(timers.begin(), timers.end(), [&](const TimerEntry& entry) {
        return entry.window == window && entry.id == id;
    });
}

void CALLBACK TimerTrampoline(HWND window, UINT message, UINT_PTR id, DWORD time) {
    const auto found = FindTimer(window, id);
    if (found == Timers().end()) return;
    // Copied out: the callback may set or kill timers.
    const TimerProc proc = found->proc;
    proc(FromWin32<WindowHandle>(window), message, id, time);
}

}  // namespace

std::uintptr_t Win32MessageLoop::SetTimer(WindowHandle window, std::uintptr_t timerId,
                                          std::uint32_t elapse, TimerProc proc) {
    const HWND hwnd = ToWin32<HWND>(window);
    // Without a window Windows picks the id; the one it returns is the key.
    const UINT_PTR id = ::SetTimer(hwnd, timerId, elapse, TimerTrampoline);
    if (id == 0) return 0;
    const auto found = FindTimer(hwnd, id);
    if (found != Timers().end()) {
        found->proc = proc;
    } else {
        Timers().push_back({hwnd, id, proc});
    }
    return id;
}

bool Win32MessageLoop::KillTimer(WindowHandle window, std::uintptr_t timerId) {
    const HWND hwnd = ToWin32<HWND>(window);
    const auto found = FindTimer(hwnd, timerId);
    if (found != Timers().end()) Timers().erase(found);
    return ::KillTimer(hwnd, timerId) != FALSE;
}

int Win32MessageLoop::GetMessageW(Message& message) {
    MSG received{};
    const BOOL got = ::GetMessageW(&received, nullptr, 0, 0);
    if (got == -1) return -1;
    last = received;
    message = Message{FromWin32<WindowHandle>(received.hwnd), received.message, received.wParam,
                      received.lParam, received.time};
    return got;
}

MSG Win32MessageLoop::ToMsg(const Message& message) const {
    MSG msg = last;
    msg.hwnd = ToWin32<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    return msg;
}

bool Win32MessageLoop::TranslateMessage(const Message& message) {
    const MSG msg = ToMsg(message);
    return ::TranslateMessage(&msg) != FALSE;
}

LResult Win32MessageLoop::DispatchMessageW(const Message& message) {
    const MSG msg = ToMsg(message);
    return ::DispatchMessageW(&msg);
}

bool Win32MessageLoop::IsDialogMessageW(WindowHandle dialog, const Message& message) {
    MSG msg = ToMsg(message);
    return ::IsDialogMessageW(ToWin32<HWND>(dialog), &msg) != FALSE;
}

bool Win32MessageLoop::PostMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                    LParam lParam) {
    return ::PostMessageW(ToWin32<HWND>(window), message, wParam, lParam) != FALSE;
}

void Win32MessageLoop::PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

std::uint32_t Win32MessageLoop::MsgWaitForMultipleObjects(std::uint32_t milliseconds,
                                                          std::uint32_t wakeMask) {
    return ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, wakeMask);
}

bool Win32MessageLoop::PeekMessageW(Message& message, WindowHandle window, std::uint32_t filterMin,
                                    std::uint32_t filterMax, std::uint32_t removeFlags) {
    MSG received{};
    if (!::PeekMessageW(&received, ToWin32<HWND>(window), filterMin, filterMax, removeFlags))
        return false;
    if ((removeFlags & PM_REMOVE) != 0) last = received;
    message = Message{FromWin32<WindowHandle>(received.hwnd), received.message, received.wParam,
                      received.lParam, received.time};
    return true;
}

}  // namespace nimbrel
