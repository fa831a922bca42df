// The Win32 dialogs, menus and graphics on the program's own resources: what
// the core relies on comes back from the real controls (run under Wine).
// Creating the dialogs, texts, check boxes, the status list and modal
// dialogs are exercised by Nimbrel.exe in the windows stage.
#ifdef _WIN32

#include "win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <tuple>

#include "ui/CLinkLabel.h"
#include "ui/ResourceIds.h"
#include "win32/Win32Handles.h"
#include "win32/Win32Platform.h"

namespace nimbrel {
namespace {

using win32::FromWin32;
using win32::ToWin32;

// Answers colour requests with `brush`.
class Recorder : public DialogProcedure {
  public:
    std::intptr_t DialogProc(WindowHandle, std::uint32_t message, WParam, LParam lParam) override {
        if (message == wm::kInitDialog) return 1;
        return message == wm::kCtlColorStatic && lParam != 0 ? brush : 0;
    }
    std::intptr_t brush = 0;
};

class Win32DialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, procedure);
        ASSERT_NE(dialog, kNoWindow);
        window = ToWin32<HWND>(dialog);
    }
    void TearDown() override {
        if (::IsWindow(window)) ::DestroyWindow(window);
    }
    WindowHandle Item(int id) { return dialogs.GetDlgItem(dialog, id); }

    Win32Dialogs dialogs;
    Recorder procedure;
    WindowHandle dialog = kNoWindow;
    HWND window = nullptr;
};

TEST_F(Win32DialogsTest, ColourRequestsAnswerTheProcedureBrush) {
    procedure.brush = reinterpret_cast<std::intptr_t>(::GetStockObject(NULL_BRUSH));
    const HDC dc = ::GetDC(window);
    EXPECT_EQ(::SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(ToWin32<HWND>(Item(IDC_OPT_VERSION)))),
              procedure.brush);
    ::ReleaseDC(window, dc);
}

TEST_F(Win32DialogsTest, DropDownListOperations) {
    const WindowHandle combo = Item(IDC_OPT_QUOTE_CHAR);
    EXPECT_EQ(dialogs.ComboAddString(combo, u">"), 0);
    EXPECT_EQ(dialogs.ComboAddString(combo, u"|"), 1);
    EXPECT_EQ(dialogs.ComboInsertString(combo, 0, u"Abc"), 0);
    EXPECT_EQ(dialogs.ComboInsertString(combo, -1, u"last"), 3);
    EXPECT_EQ(dialogs.ComboFindStringExact(combo, u"aBC"), 0);  // letter case ignored
    EXPECT_EQ(dialogs.ComboFindStringExact(combo, u"|"), 2);
    EXPECT_EQ(dialogs.ComboFindStringExact(combo, u"Ab"), kComboError);  // whole texts only

    EXPECT_EQ(dialogs.ComboGetCurSel(combo), kComboError);
    EXPECT_EQ(dialogs.ComboSetCurSel(combo, 2), 2);
    EXPECT_EQ(dialogs.ComboGetCurSel(combo), 2);
    // -1 clears the selection. (An index past the end answers CB_ERR too;
    // Windows then clears the selection, Wine keeps it.)
    EXPECT_EQ(dialogs.ComboSetCurSel(combo, 9), kComboError);
    EXPECT_EQ(dialogs.ComboSetCurSel(combo, -1), kComboError);
    EXPECT_EQ(dialogs.ComboGetCurSel(combo), kComboError);

    // An index past the end leaves the text as it was.
    for (const auto& [index, length, after] :
         {std::tuple{3, 4, u"last"}, {4, kComboError, u"unchanged"}}) {
        String text(u"unchanged");
        EXPECT_EQ(dialogs.ComboGetLBText(combo, index, text), length);
        EXPECT_EQ(text, after);
    }

    dialogs.ComboResetContent(combo);
    EXPECT_EQ(dialogs.ComboFindStringExact(combo, u">"), kComboError);
    EXPECT_EQ(dialogs.ComboAddString(combo, u">"), 0);
}

TEST_F(Win32DialogsTest, ToolTipCoversTheControlAndGoesWithIt) {
    const WindowHandle link = Item(IDC_OPT_WEB_LINK);
    ASSERT_TRUE(dialogs.AddToolTip(link, u"http://nimbrel.example/"));
    const HWND tip = ToWin32<HWND>(dialogs.ToolTipOf(link));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), window);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    const auto text = [&] {
        wchar_t buffer[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = ToWin32<HWND>(link);
        tool.uId = 1;
        tool.lpszText = buffer;
        ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(), L"http://nimbrel.example/");
    EXPECT_TRUE(dialogs.UpdateTipText(link, u"mailto:support@nimbrel.example"));
    EXPECT_EQ(text(), L"mailto:support@nimbrel.example");
    EXPECT_FALSE(dialogs.UpdateTipText(Item(IDC_OPT_VERSION), u"none"));

    ::DestroyWindow(window);
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(dialogs.ToolTipOf(link), kNoWindow);
}

// Counts the mouse moves that reach it; installed before the link's own
// subclass, as the tooltip's TTF_SUBCLASS is.
LRESULT CALLBACK CountMouseMoves(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR /*id*/, DWORD_PTR count) {
    if (message == WM_MOUSEMOVE) ++*reinterpret_cast<int*>(count);
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// The mouse messages a link label handles go on down the subclass chain,
// where the tooltip of the link listens.
TEST_F(Win32DialogsTest, LinkLabelPassesMouseMovesToTheSubclassesBelow) {
    const HWND label = ToWin32<HWND>(Item(IDC_OPT_WEB_LINK));
    ASSERT_NE(label, nullptr);
    int moves = 0;
    ASSERT_TRUE(
        ::SetWindowSubclass(label, CountMouseMoves, 7, reinterpret_cast<DWORD_PTR>(&moves)));
    {
        Win32Platform win32;
        CLinkLabel link(win32.platform());
        link.Attach(dialog, IDC_OPT_WEB_LINK);
        ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // enters
        EXPECT_TRUE(link.MouseOver());
        ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 1));
        EXPECT_TRUE(link.MouseOver());
        ::SendMessageW(label, WM_MOUSELEAVE, 0, 0);  // the system tells it the mouse left
        EXPECT_FALSE(link.MouseOver());
        EXPECT_EQ(moves, 2);
    }
    ::RemoveWindowSubclass(label, CountMouseMoves, 7);
}

TEST_F(Win32DialogsTest, GraphicsUnderlinedCopyAndTextExtent) {
    Win32Graphics graphics;
    const WindowHandle label = Item(IDC_OPT_WEB_LINK);
    const FontHandle font = graphics.GetWindowFont(label);
    ASSERT_NE(font, kNoFont);  // the template's font

    for (const FontHandle source : {font, kNoFont}) {
        const FontHandle copy = graphics.CreateUnderlinedFont(source, true);
        ASSERT_NE(copy, kNoFont);
        LOGFONTW original{}, underlined{};
        ::GetObjectW(source != kNoFont ? static_cast<HGDIOBJ>(ToWin32<HFONT>(source))
                                       : ::GetStockObject(SYSTEM_FONT),
                     sizeof(original), &original);
        ::GetObjectW(ToWin32<HFONT>(copy), sizeof(underlined), &underlined);
        EXPECT_TRUE(underlined.lfUnderline);
        EXPECT_EQ(underlined.lfHeight, original.lfHeight);
        EXPECT_EQ(std::wstring(underlined.lfFaceName), std::wstring(original.lfFaceName));
        EXPECT_TRUE(graphics.DeleteObject(copy));
    }

    const FontHandle underlined = graphics.CreateUnderlinedFont(font, true);
    graphics.SetWindowFont(label, underlined);
    EXPECT_EQ(graphics.GetWindowFont(label), underlined);

    Size wide, narrow, none{5, 5};
    ASSERT_TRUE(graphics.GetTextExtentPoint32W(label, u"WWWW", wide));
    ASSERT_TRUE(graphics.GetTextExtentPoint32W(label, u"iiii", narrow));
    ASSERT_TRUE(graphics.GetTextExtentPoint32W(label, u"", none));
    EXPECT_GT(wide.cx, narrow.cx);  // measured in a real font
    EXPECT_GT(wide.cy, 0);
    EXPECT_EQ(none.cx, 0);

    ::DestroyWindow(window);  // before the font it still uses
    EXPECT_TRUE(graphics.DeleteObject(underlined));
    EXPECT_EQ(graphics.GetStockObject(kNullBrush),
              FromWin32<BrushHandle>(::GetStockObject(NULL_BRUSH)));
}

TEST(Win32Menus, TrayMenuFromTheResources) {
    Win32Menus menus;
    const MenuHandle menu = menus.LoadMenuW(IDR_TRAYMENU);
    ASSERT_NE(menu, MenuHandle{});
    EXPECT_EQ(menus.LoadMenuW(4711), MenuHandle{});
    const MenuHandle popup = menus.GetSubMenu(menu, 0);
    ASSERT_NE(popup, MenuHandle{});
    EXPECT_EQ(menus.GetSubMenu(menu, 1), MenuHandle{});

    EXPECT_EQ(menus.GetMenuDefaultItem(popup, true), kNoDefaultItem);
    EXPECT_TRUE(menus.SetMenuDefaultItem(popup, 0, true));
    EXPECT_EQ(menus.GetMenuDefaultItem(popup, true), 0u);
    EXPECT_EQ(menus.GetMenuDefaultItem(popup, false),
              static_cast<std::uint32_t>(ID_TRAY_SHOW_DIALOG));

    // Replacing an item clears its default mark.
    EXPECT_TRUE(menus.ModifyMenuW(popup, 0, mf::kByPosition | mf::kString, ID_TRAY_SHOW_DIALOG,
                                  u"Show Options"));
    EXPECT_EQ(menus.GetMenuDefaultItem(popup, true), kNoDefaultItem);
    wchar_t text[32] = {};
    ::GetMenuStringW(ToWin32<HMENU>(popup), 0, text, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Show Options");
    EXPECT_TRUE(menus.ModifyMenuW(popup, ID_TRAY_HELP, mf::kByCommand | mf::kString, ID_TRAY_HELP,
                                  u"Hilfe"));
    EXPECT_FALSE(menus.ModifyMenuW(popup, 4711, mf::kByCommand | mf::kString, 4711, u"x"));
    EXPECT_TRUE(menus.DestroyMenu(menu));
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
