#include "platform/sim/SimWindowSystem.h"

#include <algorithm>

#include "platform/sim/SimStrings.h"

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
    // Children first; each removes itself from this window's list.
    while (!window->children.empty())
        Destroy(window->children.back());
    for (auto& notify : window->destroyed)
        notify();

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
    foreground = top;
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
    const bool ok = window != nullptr && window->process == kProgramProcess;
    focusCalls.push_back({SimFocusCall::Kind::kSetFocus, handle, ok});
    if (!ok) return kNoWindow;
    const WindowHandle previous = focus;
    focus = handle;
    return previous;
}

WindowHandle SimWindowSystem::SetActiveWindow(WindowHandle handle) {
    const SimWindow* window = Get(handle);
    const bool ok = window != nullptr && window->process == kProgramProcess;
    focusCalls.push_back({SimFocusCall::Kind::kSetActiveWindow, handle, ok});
    if (!ok) return kNoWindow;
    const WindowHandle previous = active;
    active = TopLevelOf(handle);
    return previous;
}

bool SimWindowSystem::SetForegroundWindow(WindowHandle handle) {
    const bool ok = IsWindow(handle) && !foregroundLocked;
    focusCalls.push_back({SimFocusCall::Kind::kSetForegroundWindow, handle, ok});
    if (ok) Activate(handle);
    return ok;
}

bool SimWindowSystem::ShowWindow(WindowHandle handle, int showCommand) {
    SimWindow* window = Get(handle);
    if (window == nullptr) return false;
    const bool wasVisible = window->visible;
    window->visible = showCommand != sw::kHide;
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
    std::optional<LResult> answer;
    if (window->procedure) answer = window->procedure(message, wParam, lParam);
    if (result != nullptr) *result = static_cast<std::uintptr_t>(answer.value_or(0));
    return 1;
}

}  // namespace nimbrel
