#include "win32/Win32WindowSystem.h"

#include "win32/Win32Handles.h"

#include <commctrl.h>

namespace nimbrel {

using win32::FromWin32;
using win32::ToWin32;
using win32::Wide;

namespace {

HWND ToHwnd(WindowHandle window) {
    return ToWin32<HWND>(window);
}

WindowHandle ToHandle(HWND window) {
    return FromWin32<WindowHandle>(window);
}

Rect ToRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* procedure =
        reinterpret_cast<WindowProcedure*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (procedure == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT answer = procedure->WindowProc(ToHandle(window), message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return answer;
}

LRESULT CALLBACK SubclassTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR data) {
    auto* procedure = reinterpret_cast<WindowProcedure*>(data);
    const LRESULT answer = procedure->WindowProc(ToHandle(window), message, wParam, lParam);
    // A subclass must not outlive its window.
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, SubclassTrampoline, id);
    return answer;
}

UINT_PTR SubclassId(WindowProcedure& procedure) {
    return reinterpret_cast<UINT_PTR>(&procedure);
}

}  // namespace

Win32WindowSystem::~Win32WindowSystem() {
    // Fails harmlessly while a window of the class is left.
    if (classRegistered) ::UnregisterClassW(Wide(kWindowClassName), ::GetModuleHandleW(nullptr));
}

bool Win32WindowSystem::RegisterWindowClass() {
    if (classRegistered) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowTrampoline;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(idc::kArrow));
    windowClass.lpszClassName = Wide(kWindowClassName);
    if (::RegisterClassExW(&windowClass) != 0) {
        classRegistered = true;
        return true;
    }
    // Registered by another object of this process, which unregisters it.
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

WindowHandle Win32WindowSystem::FindWindowW(const char16_t* className, const char16_t* windowName) {
    return ToHandle(::FindWindowW(Wide(className), Wide(windowName)));
}

WindowHandle Win32WindowSystem::FindWindowExW(WindowHandle parent, WindowHandle childAfter,
                                              const char16_t* className,
                                              const char16_t* windowName) {
    return ToHandle(
        ::FindWindowExW(ToHwnd(parent), ToHwnd(childAfter), Wide(className), Wide(windowName)));
}

int Win32WindowSystem::GetWindowTextW(WindowHandle window, char16_t* buffer, int maxCount) {
    // Empty when the window does not exist, whatever the system leaves there.
    if (buffer != nullptr && maxCount > 0) buffer[0] = u'\0';
    return ::GetWindowTextW(ToHwnd(window), Wide(buffer), maxCount);
}

WindowHandle Win32WindowSystem::SetFocus(WindowHandle window) {
    return ToHandle(::SetFocus(ToHwnd(window)));
}

WindowHandle Win32WindowSystem::SetActiveWindow(WindowHandle window) {
    return ToHandle(::SetActiveWindow(ToHwnd(window)));
}

bool Win32WindowSystem::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

bool Win32WindowSystem::ShowWindow(WindowHandle window, int showCommand) {
    return ::ShowWindow(ToHwnd(window), showCommand) != FALSE;
}

bool Win32WindowSystem::EnableWindow(WindowHandle window, bool enable) {
    return ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE) != FALSE;
}

std::uint32_t Win32WindowSystem::RegisterWindowMessageW(const char16_t* name) {
    return ::RegisterWindowMessageW(Wide(name));
}

WindowHandle Win32WindowSystem::CreateWindowExW(const char16_t* windowName, std::uint32_t style,
                                                int x, int y, int width, int height,
                                                WindowHandle parent, WindowProcedure& procedure) {
    if (!RegisterWindowClass()) return kNoWindow;
    return ToHandle(::CreateWindowExW(0, Wide(kWindowClassName), Wide(windowName), style, x, y,
                                      width, height, ToHwnd(parent), nullptr,
                                      ::GetModuleHandleW(nullptr), &procedure));
}

bool Win32WindowSystem::DestroyWindow(WindowHandle window) {
    return ::DestroyWindow(ToHwnd(window)) != FALSE;
}

LResult Win32WindowSystem::DefWindowProcW(WindowHandle window, std::uint32_t message, WParam wParam,
                                          LParam lParam) {
    return ::DefWindowProcW(ToHwnd(window), message, wParam, lParam);
}

LResult Win32WindowSystem::SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                        LParam lParam) {
    return ::SendMessageW(ToHwnd(window), message, wParam, lParam);
}

bool Win32WindowSystem::SetWindowTextW(WindowHandle window, const char16_t* text) {
    return ::SetWindowTextW(ToHwnd(window), Wide(text)) != FALSE;
}

int Win32WindowSystem::GetWindowTextLengthW(WindowHandle window) {
    return ::GetWindowTextLengthW(ToHwnd(window));
}

bool Win32WindowSystem::GetWindowRect(WindowHandle window, Rect& rect) {
    RECT got{};
    if (::GetWindowRect(ToHwnd(window), &got) == FALSE) return false;
    rect = ToRect(got);
    return true;
}

bool Win32WindowSystem::GetClientRect(WindowHandle window, Rect& rect) {
    RECT got{};
    if (::GetClientRect(ToHwnd(window), &got) == FALSE) return false;
    rect = ToRect(got);
    return true;
}

bool Win32WindowSystem::ScreenToClient(WindowHandle window, Point& point) {
    POINT converted{point.x, point.y};
    if (::ScreenToClient(ToHwnd(window), &converted) == FALSE) return false;
    point = Point{converted.x, converted.y};
    return true;
}

bool Win32WindowSystem::SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y,
                                     int width, int height, std::uint32_t flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags) != FALSE;
}

std::int32_t Win32WindowSystem::GetWindowLongW(WindowHandle window, int index) {
    return ::GetWindowLongW(ToHwnd(window), index);
}

std::int32_t Win32WindowSystem::SetWindowLongW(WindowHandle window, int index, std::int32_t value) {
    return ::SetWindowLongW(ToHwnd(window), index, value);
}

bool Win32WindowSystem::InvalidateRect(WindowHandle window, bool erase) {
    return ::InvalidateRect(ToHwnd(window), nullptr, erase ? TRUE : FALSE) != FALSE;
}

bool Win32WindowSystem::UpdateWindow(WindowHandle window) {
    return ::UpdateWindow(ToHwnd(window)) != FALSE;
}

bool Win32WindowSystem::SetWindowSubclass(WindowHandle window, WindowProcedure& procedure) {
    return ::SetWindowSubclass(ToHwnd(window), SubclassTrampoline, SubclassId(procedure),
                               reinterpret_cast<DWORD_PTR>(&procedure)) != FALSE;
}

bool Win32WindowSystem::RemoveWindowSubclass(WindowHandle window, WindowProcedure& procedure) {
    return ::RemoveWindowSubclass(ToHwnd(window), SubclassTrampoline, SubclassId(procedure)) !=
           FALSE;
}

LResult Win32WindowSystem::DefSubclassProc(WindowHandle window, std::uint32_t message,
                                           WParam wParam, LParam lParam) {
    return ::DefSubclassProc(ToHwnd(window), message, wParam, lParam);
}

bool Win32WindowSystem::TrackMouseEvent(std::uint32_t flags, WindowHandle window) {
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request;
    request.dwFlags = flags;
    request.hwndTrack = ToHwnd(window);
    request.dwHoverTime = HOVER_DEFAULT;
    return ::TrackMouseEvent(&request) != FALSE;
}

bool Win32WindowSystem::GetCursorPos(Point& point) {
    POINT position{};
    if (::GetCursorPos(&position) == FALSE) return false;
    point = Point{position.x, position.y};
    return true;
}

CursorHandle Win32WindowSystem::LoadCursorW(int cursorId) {
    return FromWin32<CursorHandle>(::LoadCursorW(nullptr, MAKEINTRESOURCEW(cursorId)));
}

CursorHandle Win32WindowSystem::SetCursor(CursorHandle cursor) {
    return FromWin32<CursorHandle>(::SetCursor(ToWin32<HCURSOR>(cursor)));
}

IconHandle Win32WindowSystem::LoadImageW(int resourceId, int width, int height) {
    return FromWin32<IconHandle>(::LoadImageW(::GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width,
                                              height, LR_DEFAULTCOLOR));
}

bool Win32WindowSystem::DestroyIcon(IconHandle icon) {
    return ::DestroyIcon(ToWin32<HICON>(icon)) != FALSE;
}

bool Win32WindowSystem::MessageBeep(std::uint32_t type) {
    return ::MessageBeep(type) != FALSE;
}

bool Win32WindowSystem::ChangeWindowMessageFilter(std::uint32_t message, std::uint32_t flag) {
    // Windows Vista and later; looked up, as Windows XP's user32 lacks it.
    using Filter = BOOL(WINAPI*)(UINT, DWORD);
    static const auto filter = reinterpret_cast<Filter>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter")));
    return filter != nullptr && filter(message, flag) != FALSE;
}

int Win32WindowSystem::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

LResult Win32WindowSystem::SendMessageTimeoutW(WindowHandle window, std::uint32_t message,
                                               WParam wParam, LParam lParam, std::uint32_t flags,
                                               std::uint32_t timeout, std::uintptr_t* result) {
    DWORD_PTR answer = 0;
    const LRESULT sent = ::SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, flags,
                                               timeout, result != nullptr ? &answer : nullptr);
    if (sent != 0 && result != nullptr) *result = answer;
    return sent;
}

WindowHandle Win32WindowSystem::GetForegroundWindow() {
    return ToHandle(::GetForegroundWindow());
}

std::uint32_t Win32WindowSystem::GetWindowThreadProcessId(WindowHandle window,
                                                          std::uint32_t* processId) {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &process);
    if (processId != nullptr) *processId = process;
    return thread;
}

bool Win32WindowSystem::AttachThreadInput(std::uint32_t attachThread, std::uint32_t toThread,
                                          bool attach) {
    return ::AttachThreadInput(attachThread, toThread, attach ? TRUE : FALSE) != FALSE;
}

}  // namespace nimbrel
