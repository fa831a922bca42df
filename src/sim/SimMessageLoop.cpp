#include "sim/SimMessageLoop.h"

#include <algorithm>

namespace nimbrel {

namespace {

constexpr std::uint32_t kMinimumElapse = 10;

}  // namespace

SimMessageLoop::SimMessageLoop(SimClock& clock_, SimWindowSystem& windows_)
    : clock(clock_), windows(windows_) {}

std::uintptr_t SimMessageLoop::SetTimer(WindowHandle window, std::uintptr_t timerId,
                                        std::uint32_t elapse, TimerProc proc) {
    ++setTimerCalls;
    if (window != kNoWindow && !windows.IsWindow(window)) return 0;
    const std::uint32_t requested = elapse;
    elapse = std::max(elapse, kMinimumElapse);
    for (Timer& timer : timers) {
        if (timer.window == window && timer.id == timerId) {
            timer.elapse = elapse;
            timer.proc = proc;
            timer.due = clock.Now() + elapse;
            timer.requested = requested;
            return timerId;
        }
    }
    timers.push_back({window, timerId, elapse, proc, clock.Now() + elapse, requested});
    return timerId;
}

std::optional<std::uint32_t> SimMessageLoop::TimerPeriod(WindowHandle window,
                                                         std::uintptr_t timerId) const {
    for (const Timer& timer : timers)
        if (timer.window == window && timer.id == timerId) return timer.requested;
    return std::nullopt;
}

bool SimMessageLoop::KillTimer(WindowHandle window, std::uintptr_t timerId) {
    return std::erase_if(
               timers, [&](const Timer& t) { return t.window == window && t.id == timerId; }) != 0;
}

SimMessageLoop::Timer* SimMessageLoop::NextTimer() {
    const auto next = std::min_element(
        timers.begin(), timers.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
    return next == timers.end() ? nullptr : &*next;
}

Message SimMessageLoop::TimerMessage(Timer& timer) {
    timer.due = clock.Now() + timer.elapse;
    return Message{timer.window, wm::kTimer, timer.id, 0, clock.TimeGetTime()};
}

void SimMessageLoop::SendFromOtherProcess(std::function<void()> answered) {
    if (waiting) {
        ++answeredCount;
        answered();
    } else {
        unanswered.push_back(std::move(answered));
    }
}

void SimMessageLoop::AnswerSentMessages() {
    while (!unanswered.empty()) {
        const std::function<void()> answered = std::move(unanswered.front());
        unanswered.erase(unanswered.begin());
        ++answeredCount;
        answered();
    }
}

void SimMessageLoop::WaitUntil(std::uint64_t time) {
    waiting = true;
    clock.AdvanceTo(time);
    waiting = false;
}

int SimMessageLoop::GetMessageW(Message& message) {
    for (;;) {
        AnswerSentMessages();
        if (!posted.empty()) {
            message = posted.front();
            posted.pop_front();
            return 1;
        }
        if (quitCode) {
            message = Message{kNoWindow, wm::kQuit, static_cast<WParam>(*quitCode), 0,
                              clock.TimeGetTime()};
            quitCode.reset();
            return 0;
        }
        Timer* timer = NextTimer();
        if (timer != nullptr && timer->due <= clock.Now()) {
            message = TimerMessage(*timer);
            return 1;
        }
        std::optional<std::uint64_t> wake = clock.NextEventTime();
        if (timer != nullptr) wake = std::min(wake.value_or(timer->due), timer->due);
        if (!wake) return -1;
        if (stopAt && *wake > *stopAt) {
            WaitUntil(*stopAt);
            message = Message{kNoWindow, wm::kQuit, 0, 0, clock.TimeGetTime()};
            return 0;
        }
        WaitUntil(*wake);
    }
}

void SimMessageLoop::RunFor(std::uint64_t milliseconds) {
    const std::uint64_t end = clock.Now() + milliseconds;
    for (;;) {
        AnswerSentMessages();
        if (!posted.empty()) {
            const Message message = posted.front();
            posted.pop_front();
            DispatchMessageW(message);
            continue;
        }
        Timer* timer = NextTimer();
        if (timer == nullptr || timer->due > end) break;
        WaitUntil(timer->due);
        // The clock's actions may have killed or changed timers.
        timer = NextTimer();
        if (timer != nullptr && timer->due <= clock.Now()) DispatchMessageW(TimerMessage(*timer));
    }
    WaitUntil(end);
    AnswerSentMessages();
}

bool SimMessageLoop::TranslateMessage(const Message&) {
    return false;
}

LResult SimMessageLoop::DispatchMessageW(const Message& message) {
    if (message.message == wm::kTimer) {
        // Copied out: the callback may set or kill timers.
        TimerProc proc = nullptr;
        for (const Timer& timer : timers) {
            if (timer.window == message.window && timer.id == message.wParam) proc = timer.proc;
        }
        if (proc != nullptr) proc(message.window, wm::kTimer, message.wParam, message.time);
        return 0;
    }
    return windows.SendMessageW(message.window, message.message, message.wParam, message.lParam);
}

bool SimMessageLoop::IsDialogMessageW(WindowHandle, const Message&) {
    return false;
}

bool SimMessageLoop::PostMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                  LParam lParam) {
    if (window != kNoWindow && !windows.IsWindow(window)) return false;
    posted.push_back(Message{window, message, wParam, lParam, clock.TimeGetTime()});
    return true;
}

void SimMessageLoop::PostQuitMessage(int exitCode) {
    quitCode = exitCode;
}

std::uint32_t SimMessageLoop::MsgWaitForMultipleObjects(std::uint32_t milliseconds,
                                                        std::uint32_t wakeMask) {
    const int before = answeredCount;
    AnswerSentMessages();
    if ((wakeMask & qs::kSendMessage) != 0) WaitUntil(clock.Now() + milliseconds);
    return answeredCount != before ? wait::kObject0 : wait::kTimeout;
}

bool SimMessageLoop::PeekMessageW(Message& message, WindowHandle window, std::uint32_t filterMin,
                                  std::uint32_t filterMax, std::uint32_t removeFlags) {
    AnswerSentMessages();
    if ((removeFlags & ~pm::kRemove) == pm::kQsSendMessage) return false;
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        const bool inRange = (filterMin == 0 && filterMax == 0) ||
                             (it->message >= filterMin && it->message <= filterMax);
        if (!inRange || (window != kNoWindow && it->window != window)) continue;
        message = *it;
        if ((removeFlags & pm::kRemove) != 0) posted.erase(it);
        return true;
    }
    return false;
}

}  // namespace nimbrel
