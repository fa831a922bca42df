#include "sim/SimWindowSystem.h"

#include <algorithm>

#include "sim/SimStrings.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {

namespace {

bool Matches(const SimWindow& window, const char16_t* className, const char16_t* windowName) {
    return (className == nullptr || sim::EqualsIgnoreCase(window.className, className)) &&
           (windowName == nullptr || sim::EqualsIgnoreCase(window.title, windowName));
}

}  // namespace

SimWindowSystem::SimWindowSystem(SimClock& clock_, SimAtoms& atoms_, SimFaults& faults_)
    : clock(clock_), atoms(atoms_), faults(faults_) {}

WindowHandle SimWindowSystem::Create(StringView className, StringView title, WindowHandle parent,
                                     SimProcess process) {
    if (parent != kNoWindow && !IsWindow(parent)) {
        faults.Report("window created under a window that does not exist");
        return kNoWindow;
    }
    WindowHandle handle;
    if (reuseHandles && !freedHandles.empty()) {
        handle = freedHandles.back();
        freedHandles.pop_back();
    } else {
        handle = WindowHandle{nextHandle};
        nextHandle += 2;
    }
    auto window = std::make_unique<SimWindow>();
    window->handle = handle;
    window->className = String(className);
    window->title = String(title);
    window->parent = parent;
    window->process = process;
    windows.emplace(handle, std::move(window));
    if (parent == kNoWindow) {
        topLevel.insert(topLevel.begin(), handle);
    } else {
        windows.at(parent)->children.push_back(handle);
    }
    return handle;
}

void SimWindowSystem::Destroy(WindowHandle handle) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return;
    // The program's windows hear of it, the parent before its children.
    if (window->process == kProgramProcess) {
        CallProcedure(handle, wm::kDestroy, 0, 0);
        window = Get(handle);
        if (window == nullptr) return;
    }
    // Children first; each removes itself from this window's list.
    while (!window->children.empty())
        Destroy(window->children.back());
    for (auto& notify : window->destroyed)
        notify();
    if (leaveTracked == handle) leaveTracked = kNoWindow;

    if (std::vector<WindowHandle>* siblings = SiblingsOf(window->parent)) {
        siblings->erase(std::remove(siblings->begin(), siblings->end(), handle), siblings->end());
    }
    windows.erase(handle);
    freedHandles.push_back(handle);
    if (focus == handle) focus = kNoWindow;
    if (active == handle) active = kNoWindow;
    if (foreground == handle) foreground = topLevel.empty() ? kNoWindow : topLevel.front();
}

void SimWindowSystem::SetTitle(WindowHandle handle, StringView title) {
    if (SimWindow* window = Get(handle)) window->title = String(title);
}

void SimWindowSystem::Activate(WindowHandle handle) {
    const WindowHandle top = TopLevelOf(handle);
    if (top == kNoWindow) return;
    BringToTop(top);
    const WindowHandle previous = foreground;
    foreground = top;
    inputProcess = Get(top)->process;
    if (SimWindow* left = Get(previous); left != nullptr && previous != top && left->deactivated) {
        // Copied: the handler may change the window.
        const auto notify = left->deactivated;
        notify();
    }
}

bool SimWindowSystem::InputAttachedTo(const SimWindow* window) const {
    return window != nullptr && attached.count(window->process) != 0;
}

std::uint32_t SimWindowSystem::GetWindowThreadProcessId(WindowHandle handle,
                                                        std::uint32_t* processId) {
    const SimWindow* window = Get(handle);
    if (window == nullptr) return 0;
    if (processId != nullptr) *processId = SimProcessId(window->process);
    return SimThreadId(window->process);
}

bool SimWindowSystem::AttachThreadInput(std::uint32_t attachThread, std::uint32_t toThread,
                                        bool attach) {
    if (attachThread != SimThreadId(kProgramProcess)) {
        faults.Report("AttachThreadInput for a thread that is not the program's");
        return false;
    }
    for (const SimProcess process : {kOeProcess, kOtherProcess}) {
        if (toThread != SimThreadId(process)) continue;
        if (attach) return attached.insert(process).second;
        if (attached.erase(process) == 0) {
            faults.Report("AttachThreadInput detaching a thread that is not attached");
            return false;
        }
        return true;
    }
    return false;
}

SimWindow* SimWindowSystem::Get(WindowHandle handle) {
    const auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

WindowHandle SimWindowSystem::TopLevelOf(WindowHandle handle) const {
    auto found = windows.find(handle);
    while (found != windows.end() && found->second->parent != kNoWindow) {
        found = windows.find(found->second->parent);
    }
    return found == windows.end() ? kNoWindow : found->first;
}

std::vector<WindowHandle>* SimWindowSystem::SiblingsOf(WindowHandle parent) {
    if (parent == kNoWindow) return &topLevel;
    SimWindow* window = Get(parent);
    return window ? &window->children : nullptr;
}

void SimWindowSystem::BringToTop(WindowHandle top) {
    topLevel.erase(std::remove(topLevel.begin(), topLevel.end(), top), topLevel.end());
    topLevel.insert(topLevel.begin(), top);
}

WindowHandle SimWindowSystem::FindWindowW(const char16_t* className, const char16_t* windowName) {
    return FindWindowExW(kNoWindow, kNoWindow, className, windowName);
}

WindowHandle SimWindowSystem::FindWindowExW(WindowHandle parent, WindowHandle childAfter,
                                            const char16_t* className, const char16_t* windowName) {
    const std::vector<WindowHandle>* siblings = SiblingsOf(parent);
    if (siblings == nullptr) return kNoWindow;
    auto from = siblings->begin();
    if (childAfter != kNoWindow) {
        from = std::find(siblings->begin(), siblings->end(), childAfter);
        if (from == siblings->end()) return kNoWindow;
        ++from;
    }
    for (auto it = from; it != siblings->end(); ++it) {
        if (Matches(*windows.at(*it), className, windowName)) return *it;
    }
    return kNoWindow;
}

int SimWindowSystem::GetWindowTextW(WindowHandle handle, char16_t* buffer, int maxCount) {
    if (buffer == nullptr || maxCount <= 0) return 0;
    const SimWindow* window = Get(handle);
    if (window == nullptr) {
        buffer[0] = u'\0';
        return 0;
    }
    const std::size_t count =
        std::min(window->title.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(window->title.begin(), count, buffer);
    buffer[count] = u'\0';
    return static_cast<int>(count);
}

WindowHandle SimWindowSystem::SetFocus(WindowHandle handle) {
    const SimWindow* window = Get(handle);
    const bool ok =
        window != nullptr && (window->process == kProgramProcess || InputAttachedTo(window));
    focusCalls.push_back({SimFocusCall::Kind::kSetFocus, handle, ok});
    if (!ok) return kNoWindow;
    const WindowHandle previous = focus;
    focus = handle;
    return previous;
}

WindowHandle SimWindowSystem::SetActiveWindow(WindowHandle handle) {
    const SimWindow* window = Get(handle);
    const bool ok =
        window != nullptr && (window->process == kProgramProcess || InputAttachedTo(window));
    focusCalls.push_back({SimFocusCall::Kind::kSetActiveWindow, handle, ok});
    if (!ok) return kNoWindow;
    const WindowHandle previous = active;
    active = TopLevelOf(handle);
    return previous;
}

bool SimWindowSystem::SetForegroundWindow(WindowHandle handle) {
    const SimWindow* front = Get(foreground);
    const bool allowed = TopLevelOf(handle) == foreground || front == nullptr ||
                         front->process == kProgramProcess || InputAttachedTo(front) ||
                         inputProcess == kProgramProcess;
    const bool ok = IsWindow(handle) && !foregroundLocked && allowed;
    focusCalls.push_back({SimFocusCall::Kind::kSetForegroundWindow, handle, ok});
    if (ok) Activate(handle);
    return ok;
}

bool SimWindowSystem::ShowWindow(WindowHandle handle, int showCommand) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    const bool wasVisible = window->visible;
    window->visible = showCommand != sw::kHide;
    if (window->visible != wasVisible && window->visibilityChanged) {
        // Copied: the handler may change the window.
        const auto notify = window->visibilityChanged;
        notify(!wasVisible);
    }
    return wasVisible;
}

bool SimWindowSystem::EnableWindow(WindowHandle handle, bool enable) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    const bool wasDisabled = !window->enabled;
    window->enabled = enable;
    return wasDisabled;
}

std::uint32_t SimWindowSystem::RegisterWindowMessageW(const char16_t* name) {
    return atoms.Register(sim::Terminated(name));
}

LResult SimWindowSystem::SendMessageTimeoutW(WindowHandle handle, std::uint32_t message,
                                             WParam wParam, LParam lParam, std::uint32_t flags,
                                             std::uint32_t timeout, std::uintptr_t* result) {
    const SimWindow* window = Get(handle);
    if (window == nullptr) return 0;
    if (window->hung) {
        if ((flags & smto::kAbortIfHung) == 0) clock.AdvanceBy(timeout);
        return 0;
    }
    if (window->responseDelay > timeout) {
        clock.AdvanceBy(timeout);
        return 0;
    }
    clock.AdvanceBy(window->responseDelay);
    // The desktop went on meanwhile: the window may be gone.
    window = Get(handle);
    if (window == nullptr) return 0;
    const LResult answer = SendMessageW(handle, message, wParam, lParam);
    if (result != nullptr) *result = static_cast<std::uintptr_t>(answer);
    return 1;
}

WindowHandle SimWindowSystem::CreateWindowExW(const char16_t* windowName, std::uint32_t style,
                                              int x, int y, int width, int height,
                                              WindowHandle parent, WindowProcedure& procedure) {
    if (parent != kNoWindow && !IsWindow(parent)) return kNoWindow;
    const WindowHandle handle =
        Create(u"NimbrelWindow", sim::Terminated(windowName), parent, kProgramProcess);
    SimWindow* window = Get(handle);
    window->style = style;
    window->visible = false;
    window->rect = Rect{x, y, x + width, y + height};
    window->procedure = [&procedure, handle](std::uint32_t message, WParam wParam,
                                             LParam lParam) -> std::optional<LResult> {
        return procedure.WindowProc(handle, message, wParam, lParam);
    };
    return handle;
}

bool SimWindowSystem::DestroyWindow(WindowHandle handle) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    if (window->process != kProgramProcess) {
        faults.Report("DestroyWindow on another process's window");
        return false;
    }
    Destroy(handle);
    return true;
}

LResult SimWindowSystem::DefWindowProcW(WindowHandle handle, std::uint32_t message, WParam wParam,
                                        LParam lParam) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return 0;
    switch (message) {
        case wm::kSetIcon: {
            IconHandle& slot =
                wParam == static_cast<WParam>(icon::kBig) ? window->bigIcon : window->smallIcon;
            const IconHandle previous = slot;
            slot = static_cast<IconHandle>(static_cast<std::uintptr_t>(lParam));
            return static_cast<LResult>(previous);
        }
        case wm::kSysCommand:
            if ((wParam & 0xFFF0) == sc::kClose) SendMessageW(handle, wm::kClose, 0, 0);
            return 0;
        case wm::kClose:
            Destroy(handle);
            return 0;
        default:
            return 0;
    }
}

LResult SimWindowSystem::CallProcedure(WindowHandle handle, std::uint32_t message, WParam wParam,
                                       LParam lParam) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return 0;
    if (window->procedure) {
        // Copied: the procedure may destroy the window.
        const auto procedure = window->procedure;
        if (const std::optional<LResult> answer = procedure(message, wParam, lParam))
            return *answer;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LResult SimWindowSystem::SendMessageW(WindowHandle handle, std::uint32_t message, WParam wParam,
                                      LParam lParam) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return 0;
    if (window->subclass != nullptr)
        return window->subclass->WindowProc(handle, message, wParam, lParam);
    return CallProcedure(handle, message, wParam, lParam);
}

bool SimWindowSystem::SetWindowTextW(WindowHandle handle, const char16_t* text) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    window->title = String(sim::Terminated(text));
    return true;
}

int SimWindowSystem::GetWindowTextLengthW(WindowHandle handle) {
    const SimWindow* window = Get(handle);
    return window == nullptr ? 0 : static_cast<int>(window->title.size());
}

Rect SimWindowSystem::ScreenRect(WindowHandle handle) {
    Rect rect;
    for (SimWindow* window = Get(handle); window != nullptr; window = Get(window->parent)) {
        if (window->handle == handle) {
            rect = window->rect;
        } else {
            rect.left += window->rect.left;
            rect.right += window->rect.left;
            rect.top += window->rect.top;
            rect.bottom += window->rect.top;
        }
    }
    return rect;
}

bool SimWindowSystem::GetWindowRect(WindowHandle handle, Rect& rect) {
    if (!IsWindow(handle)) return false;
    rect = ScreenRect(handle);
    return true;
}

bool SimWindowSystem::GetClientRect(WindowHandle handle, Rect& rect) {
    const SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    rect = Rect{0, 0, window->rect.Width(), window->rect.Height()};
    return true;
}

bool SimWindowSystem::ScreenToClient(WindowHandle handle, Point& point) {
    if (!IsWindow(handle)) return false;
    const Rect rect = ScreenRect(handle);
    point.x -= rect.left;
    point.y -= rect.top;
    return true;
}

bool SimWindowSystem::SetWindowPos(WindowHandle handle, WindowHandle, int x, int y, int width,
                                   int height, std::uint32_t flags) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    if ((flags & swp::kNoZOrder) == 0) faults.Report("SetWindowPos without SWP_NOZORDER");
    window->rect = Rect{x, y, x + width, y + height};
    return true;
}

std::int32_t SimWindowSystem::GetWindowLongW(WindowHandle handle, int index) {
    const SimWindow* window = Get(handle);
    if (window == nullptr || index != kGwlStyle) return 0;
    return static_cast<std::int32_t>(window->style);
}

std::int32_t SimWindowSystem::SetWindowLongW(WindowHandle handle, int index, std::int32_t value) {
    SimWindow* window = Get(handle);
    if (window == nullptr || index != kGwlStyle) return 0;
    const std::uint32_t previous = window->style;
    window->style = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(previous);
}

bool SimWindowSystem::InvalidateRect(WindowHandle handle, bool) {
    return IsWindow(handle);
}

bool SimWindowSystem::UpdateWindow(WindowHandle handle) {
    return IsWindow(handle);
}

bool SimWindowSystem::SetWindowSubclass(WindowHandle handle, WindowProcedure& procedure) {
    SimWindow* window = Get(handle);
    if (window == nullptr || window->process != kProgramProcess) return false;
    if (window->subclass != nullptr && window->subclass != &procedure) {
        faults.Report("a second subclass procedure on one window");
        return false;
    }
    window->subclass = &procedure;
    return true;
}

bool SimWindowSystem::RemoveWindowSubclass(WindowHandle handle, WindowProcedure& procedure) {
    SimWindow* window = Get(handle);
    if (window == nullptr || window->subclass != &procedure) return false;
    window->subclass = nullptr;
    return true;
}

LResult SimWindowSystem::DefSubclassProc(WindowHandle handle, std::uint32_t message, WParam wParam,
                                         LParam lParam) {
    return CallProcedure(handle, message, wParam, lParam);
}

bool SimWindowSystem::TrackMouseEvent(std::uint32_t flags, WindowHandle handle) {
    if (!IsWindow(handle)) return false;
    if ((flags & tme::kCancel) != 0) {
        if (leaveTracked == handle) leaveTracked = kNoWindow;
    } else if ((flags & tme::kLeave) != 0) {
        leaveTracked = handle;
    }
    return true;
}

bool SimWindowSystem::GetCursorPos(Point& point) {
    point = mouse;
    return true;
}

namespace {

constexpr CursorHandle kArrowCursor{1};
constexpr CursorHandle kHandCursor{2};

}  // namespace

CursorHandle SimWindowSystem::LoadCursorW(int cursorId) {
    if (cursorId == idc::kArrow) return kArrowCursor;
    if (cursorId == idc::kHand && handCursorAvailable) return kHandCursor;
    return kNoCursor;
}

CursorHandle SimWindowSystem::SetCursor(CursorHandle newCursor) {
    const CursorHandle previous = cursor;
    cursor = newCursor;
    return previous;
}

IconHandle SimWindowSystem::LoadImageW(int resourceId, int width, int height) {
    for (const nimbrel::IconResource& resource : AllIconResources()) {
        if (resource.id != resourceId) continue;
        if (width != height || width <= 0) return kNoIcon;
        icons.push_back({resourceId, true, width});
        return IconHandle{icons.size()};
    }
    return kNoIcon;
}

bool SimWindowSystem::DestroyIcon(IconHandle handle) {
    const auto index = static_cast<std::size_t>(handle);
    if (index == 0 || index > icons.size() || !icons[index - 1].alive) {
        faults.Report("DestroyIcon of an icon that is not loaded");
        return false;
    }
    icons[index - 1].alive = false;
    return true;
}

int SimWindowSystem::IconResource(IconHandle handle) const {
    const auto index = static_cast<std::size_t>(handle);
    if (index == 0 || index > icons.size() || !icons[index - 1].alive) return 0;
    return icons[index - 1].resourceId;
}

int SimWindowSystem::IconSize(IconHandle handle) const {
    const auto index = static_cast<std::size_t>(handle);
    if (index == 0 || index > icons.size() || !icons[index - 1].alive) return 0;
    return icons[index - 1].size;
}

bool SimWindowSystem::ChangeWindowMessageFilter(std::uint32_t message, std::uint32_t flag) {
    if (flag == msgflt::kAdd) filterAllowed.insert(message);
    return true;
}

int SimWindowSystem::GetSystemMetrics(int index) {
    switch (index) {
        case sm::kCxSmIcon:
        case sm::kCySmIcon:
            return 16 * dpi / 96;
        case sm::kCxIcon:
        case sm::kCyIcon:
            return 32 * dpi / 96;
        default:
            return 0;
    }
}

bool SimWindowSystem::MessageBeep(std::uint32_t type) {
    beeps.push_back(type);
    return true;
}

WindowHandle SimWindowSystem::WindowFromPoint(Point point) {
    for (const WindowHandle top : topLevel) {
        const SimWindow* window = Get(top);
        if (!window->visible || !ScreenRect(top).Contains(point)) continue;
        WindowHandle found = top;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (const WindowHandle child : Get(found)->children) {
                if (Get(child)->visible && ScreenRect(child).Contains(point)) {
                    found = child;
                    deeper = true;
                    break;
                }
            }
        }
        return found;
    }
    return kNoWindow;
}

void SimWindowSystem::SendToTopLevelWindows(std::uint32_t message, WParam wParam, LParam lParam) {
    // Copied: a window may close or open others while it answers.
    const std::vector<WindowHandle> targets = topLevel;
    for (const WindowHandle window : targets) {
        const SimWindow* found = Get(window);
        if (found != nullptr && found->process == kProgramProcess)
            SendMessageW(window, message, wParam, lParam);
    }
}

void SimWindowSystem::MoveMouse(Point point) {
    mouse = point;
    const WindowHandle target = WindowFromPoint(point);
    // A window that asked to hear of it learns that the mouse left, once.
    if (leaveTracked != kNoWindow && leaveTracked != target) {
        const WindowHandle left = leaveTracked;
        leaveTracked = kNoWindow;
        SendMessageW(left, wm::kMouseLeave, 0, 0);
    }
    if (target == kNoWindow) {
        cursor = kArrowCursor;
        return;
    }
    constexpr LParam kHitClient = 1;  // HTCLIENT
    if (SendMessageW(target, wm::kSetCursor, static_cast<WParam>(target),
                     MakeLParam(kHitClient, static_cast<int>(wm::kMouseMove))) == 0)
        cursor = kArrowCursor;
    Point client = point;
    ScreenToClient(target, client);
    SendMessageW(target, wm::kMouseMove, 0, MakeLParam(client.x, client.y));
}

}  // namespace nimbrel
