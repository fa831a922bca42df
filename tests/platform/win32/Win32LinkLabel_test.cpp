// A link label on a real static control: the mouse messages it handles go on
// down the subclass chain, where the tooltip of the link listens (run under
// Wine).
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"
#include "ui/CLinkLabel.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

class Quiet : public DialogProcedure {
  public:
    std::intptr_t DialogProc(WindowHandle, std::uint32_t message, WParam, LParam) override {
        return message == wm::kInitDialog ? 1 : 0;
    }
};

// Counts the mouse moves that reach it; installed before the link's own
// subclass, as the tooltip's TTF_SUBCLASS is.
LRESULT CALLBACK CountMouseMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR /*id*/, DWORD_PTR count) {
    if (message == WM_MOUSEMOVE) ++*reinterpret_cast<int*>(count);
    return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST(Win32LinkLabel, MouseMovesReachTheSubclassesBelowTheLink) {
    Win32Platform win32;
    Platform& platform = win32.platform();
    Quiet procedure;
    const WindowHandle dialog =
        platform.dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, procedure);
    ASSERT_NE(dialog, kNoWindow);
    const HWND label = ::GetDlgItem(win32::ToWin32<HWND>(dialog), IDC_OPT_WEB_LINK);
    ASSERT_NE(label, nullptr);
    int moves = 0;
    ASSERT_TRUE(
        ::SetWindowSubclass(label, CountMouseMoves, 7, reinterpret_cast<DWORD_PTR>(&moves)));
    {
        CLinkLabel link(platform);
        link.Attach(dialog, IDC_OPT_WEB_LINK);
        ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // enters
        EXPECT_TRUE(link.MouseOver());
        ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(30000, 1));  // leaves
        EXPECT_FALSE(link.MouseOver());
        EXPECT_EQ(moves, 2);
    }
    ::RemoveWindowSubclass(label, CountMouseMoves, 7);
    ::DestroyWindow(win32::ToWin32<HWND>(dialog));
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
