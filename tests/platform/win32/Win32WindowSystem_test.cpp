// The Win32 window system and message loop on windows of our own (run under
// Wine): the procedure trampolines reach the objects, subclassing stacks and
// undoes, timers reach the program's TimerProc through DispatchMessageW.
#ifdef _WIN32

#include "platform/win32/Win32WindowSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/win32/Win32MessageLoop.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

constexpr std::uint32_t kPing = wm::kUser + 7;

// Answers kPing with `answer`; hands everything else on; notes what it got.
class Procedure : public WindowProcedure {
  public:
    Procedure(WindowSystem& windows_, bool subclass_, LResult answer_)
        : windows(windows_), subclass(subclass_), answer(answer_) {}
    LResult WindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                       LParam lParam) override {
        messages.push_back(message);
        if (message == kPing) return answer;
        return subclass ? windows.DefSubclassProc(window, message, wParam, lParam)
                        : windows.DefWindowProcW(window, message, wParam, lParam);
    }
    bool Got(std::uint32_t message) const {
        for (std::uint32_t m : messages)
            if (m == message) return true;
        return false;
    }

    WindowSystem& windows;
    bool subclass;
    LResult answer;
    std::vector<std::uint32_t> messages;
};

TEST(Win32WindowSystem, OwnWindowsReachTheirProcedure) {
    Win32WindowSystem windows;
    Procedure own(windows, false, 11);
    const WindowHandle window =
        windows.CreateWindowExW(u"tray", ws::kPopup, 0, 0, 10, 10, kNoWindow, own);
    ASSERT_NE(window, kNoWindow);
    EXPECT_TRUE(own.Got(WM_NCCREATE));
    EXPECT_TRUE(own.Got(WM_CREATE));
    EXPECT_EQ(windows.SendMessageW(window, kPing, 0, 0), 11);

    char16_t title[16];
    EXPECT_EQ(windows.GetWindowTextW(window, title, 16), 4);
    EXPECT_EQ(String(title), u"tray");
    EXPECT_EQ(windows.FindWindowW(Win32WindowSystem::kWindowClassName, u"TRAY"), window);

    const std::int32_t style = windows.GetWindowLongW(window, kGwlStyle);
    EXPECT_NE(static_cast<std::uint32_t>(style) & ws::kPopup, 0u);
    EXPECT_EQ(windows.SetWindowLongW(
                  window, kGwlStyle,
                  static_cast<std::int32_t>(static_cast<std::uint32_t>(style) | ss::kNotify)),
              style);
    EXPECT_NE(static_cast<std::uint32_t>(windows.GetWindowLongW(window, kGwlStyle)) & ss::kNotify,
              0u);

    std::uintptr_t result = 0;
    EXPECT_NE(windows.SendMessageTimeoutW(window, kPing, 0, 0, smto::kAbortIfHung, 1000, &result),
              0);
    EXPECT_EQ(result, 11u);

    EXPECT_TRUE(windows.DestroyWindow(window));
    EXPECT_TRUE(own.Got(WM_DESTROY));
    EXPECT_TRUE(own.Got(WM_NCDESTROY));
    title[0] = u'x';
    EXPECT_EQ(windows.GetWindowTextW(window, title, 16), 0);
    EXPECT_EQ(title[0], u'\0');
    EXPECT_EQ(windows.SendMessageTimeoutW(window, kPing, 0, 0, smto::kAbortIfHung, 1000, &result),
              0);
}

TEST(Win32WindowSystem, SubclassesComeFirstAndGoAgain) {
    Win32WindowSystem windows;
    Procedure own(windows, false, 1);
    Procedure sub(windows, true, 2);
    const WindowHandle window =
        windows.CreateWindowExW(u"", ws::kPopup, 0, 0, 10, 10, kNoWindow, own);
    ASSERT_NE(window, kNoWindow);

    ASSERT_TRUE(windows.SetWindowSubclass(window, sub));
    EXPECT_EQ(windows.SendMessageW(window, kPing, 0, 0), 2);
    own.messages.clear();
    windows.SendMessageW(window, WM_NULL, 0, 0);
    EXPECT_TRUE(own.Got(WM_NULL));  // handed on by DefSubclassProc

    EXPECT_TRUE(windows.RemoveWindowSubclass(window, sub));
    EXPECT_FALSE(windows.RemoveWindowSubclass(window, sub));
    EXPECT_EQ(windows.SendMessageW(window, kPing, 0, 0), 1);

    // A subclass still installed when its window goes is taken out with it.
    ASSERT_TRUE(windows.SetWindowSubclass(window, sub));
    EXPECT_TRUE(windows.DestroyWindow(window));
    EXPECT_TRUE(sub.Got(WM_NCDESTROY));
    EXPECT_FALSE(windows.RemoveWindowSubclass(window, sub));
}

TEST(Win32WindowSystem, LoadsSystemCursorsAndTheProgramsIcons) {
    Win32WindowSystem windows;
    EXPECT_NE(windows.LoadCursorW(idc::kHand), kNoCursor);
    EXPECT_NE(windows.LoadCursorW(idc::kArrow), kNoCursor);
    const IconHandle icon = windows.LoadImageW(IDI_NIMBREL, 16, 16);
    ASSERT_NE(icon, kNoIcon);
    EXPECT_TRUE(windows.DestroyIcon(icon));
    EXPECT_EQ(windows.LoadImageW(9999, 16, 16), kNoIcon);
    EXPECT_EQ(windows.RegisterWindowMessageW(u"WM_HTML_GETOBJECT"),
              windows.RegisterWindowMessageW(u"wm_html_getobject"));
    EXPECT_GE(windows.RegisterWindowMessageW(u"WM_HTML_GETOBJECT"), 0xC000u);
}

int ticks = 0;
WindowHandle tickWindow = kNoWindow;
std::uintptr_t tickId = 0;
Win32MessageLoop* tickLoop = nullptr;

void OnTick(WindowHandle window, std::uint32_t message, std::uintptr_t id, std::uint32_t) {
    if (message != wm::kTimer) return;
    tickWindow = window;
    tickId = id;
    if (++ticks == 2) tickLoop->PostQuitMessage(5);
}

void OnDeadline(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    tickLoop->PostQuitMessage(-1);
}

TEST(Win32MessageLoop, TimersReachTheirProcThroughDispatch) {
    Win32WindowSystem windows;
    Win32MessageLoop loop;
    Procedure own(windows, false, 0);
    const WindowHandle window =
        windows.CreateWindowExW(u"", ws::kPopup, 0, 0, 10, 10, kNoWindow, own);
    ASSERT_NE(window, kNoWindow);
    tickLoop = &loop;
    ticks = 0;

    EXPECT_EQ(loop.SetTimer(window, 1, 10, OnTick), 1u);
    EXPECT_EQ(loop.SetTimer(window, 2, 5000, OnDeadline), 2u);
    ASSERT_TRUE(loop.PostMessageW(window, kPing, 3, 4));
    Message message;
    ASSERT_EQ(loop.GetMessageW(message), 1);
    EXPECT_EQ(message.window, window);
    EXPECT_EQ(message.message, kPing);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(message.lParam, 4);

    int got;
    while ((got = loop.GetMessageW(message)) > 0) {
        loop.TranslateMessage(message);
        loop.DispatchMessageW(message);
    }
    EXPECT_EQ(got, 0);
    EXPECT_EQ(message.wParam, 5u);  // the exit code of the quit
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(tickWindow, window);
    EXPECT_EQ(tickId, 1u);

    EXPECT_TRUE(loop.KillTimer(window, 1));
    EXPECT_FALSE(loop.KillTimer(window, 1));
    EXPECT_TRUE(loop.KillTimer(window, 2));
    windows.DestroyWindow(window);
    tickLoop = nullptr;
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
