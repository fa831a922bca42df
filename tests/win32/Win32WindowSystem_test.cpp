// The Win32 window system on windows of our own (run under Wine):
// subclassing stacks and undoes, the cursors and icons load. Window
// procedures and timers are exercised by Nimbrel.exe in the windows stage.
#ifdef _WIN32

#include "win32/Win32WindowSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

constexpr std::uint32_t kPing = wm::kUser + 7;

// Answers kPing with `answer`, hands everything else on and notes every message.
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

    WindowSystem& windows;
    bool subclass;
    LResult answer;
    std::vector<std::uint32_t> messages;
};

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
    EXPECT_GT(std::ranges::count(own.messages, WM_NULL), 0);  // handed on by DefSubclassProc

    EXPECT_TRUE(windows.RemoveWindowSubclass(window, sub));
    EXPECT_FALSE(windows.RemoveWindowSubclass(window, sub));
    EXPECT_EQ(windows.SendMessageW(window, kPing, 0, 0), 1);

    // A subclass still installed when its window goes is taken out with it.
    ASSERT_TRUE(windows.SetWindowSubclass(window, sub));
    EXPECT_TRUE(windows.DestroyWindow(window));
    EXPECT_GT(std::ranges::count(sub.messages, WM_NCDESTROY), 0);
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

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
