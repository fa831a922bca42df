// The Win32 dialogs, menus and graphics on the program's own resources: what
// the core relies on comes back from the real controls (run under Wine).
// Creating the dialogs, texts, check boxes, the status list and modal
// dialogs are exercised by Nimbrel.exe in the windows stage.
#ifdef _WIN32

#include "platform/win32/Win32Dialogs.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/win32/Win32Graphics.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Menus.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

using win32::FromWin32;
using win32::ToWin32;

HWND Hwnd(WindowHandle window) {
    return ToWin32<HWND>(window);
}

// Answers colour requests with `brush`.
class Recorder : public DialogProcedure {
  public:
    std::intptr_t DialogProc(WindowHandle, std::uint32_t message, WParam, LParam lParam) override {
        if (message == wm::kInitDialog) return 1;
        if (message == wm::kCtlColorStatic && lParam != 0) return brush;
        return 0;
    }
    std::intptr_t brush = 0;
};

class Win32DialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, procedure);
        ASSERT_NE(dialog, kNoWindow);
    }
    void TearDown() override {
        if (::IsWindow(Hwnd(dialog))) ::DestroyWindow(Hwnd(dialog));
    }
    WindowHandle Item(int id) { return dialogs.GetDlgItem(dialog, id); }

    Win32Dialogs dialogs;
    Recorder procedure;
    WindowHandle dialog = kNoWindow;
};

TEST_F(Win32DialogsTest, ColourRequestsAnswerTheProcedureBrush) {
    procedure.brush = reinterpret_cast<std::intptr_t>(::GetStockObject(NULL_BRUSH));
    const HDC dc = ::GetDC(Hwnd(dialog));
    const LRESULT answer =
        ::SendMessageW(Hwnd(dialog), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(Hwnd(Item(IDC_OPT_VERSION))));
    ::ReleaseDC(Hwnd(dialog), dc);
    EXPECT_EQ(answer, procedure.brush);
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

    String text(u"unchanged");
    EXPECT_EQ(dialogs.ComboGetLBText(combo, 3, text), 4);
    EXPECT_EQ(text, u"last");
    text = u"unchanged";
    EXPECT_EQ(dialogs.ComboGetLBText(combo, 4, text), kComboError);
    EXPECT_EQ(text, u"unchanged");

    dialogs.ComboResetContent(combo);
    EXPECT_EQ(dialogs.ComboFindStringExact(combo, u">"), kComboError);
    EXPECT_EQ(dialogs.ComboAddString(combo, u">"), 0);
}

TEST_F(Win32DialogsTest, ToolTipCoversTheControlAndGoesWithIt) {
    const WindowHandle link = Item(IDC_OPT_WEB_LINK);
    ASSERT_TRUE(dialogs.AddToolTip(link, u"http://nimbrel.example/"));
    const HWND tip = Hwnd(dialogs.ToolTipOf(link));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), Hwnd(dialog));
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    const auto text = [&] {
        wchar_t buffer[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = Hwnd(link);
        tool.uId = 1;
        tool.lpszText = buffer;
        ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(), L"http://nimbrel.example/");
    EXPECT_TRUE(dialogs.UpdateTipText(link, u"mailto:support@nimbrel.example"));
    EXPECT_EQ(text(), L"mailto:support@nimbrel.example");
    EXPECT_FALSE(dialogs.UpdateTipText(Item(IDC_OPT_VERSION), u"none"));

    ::DestroyWindow(Hwnd(dialog));
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(dialogs.ToolTipOf(link), kNoWindow);
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

TEST(Win32Graphics, UnderlinedCopyAndTextExtent) {
    Win32Dialogs dialogs;
    Win32Graphics graphics;
    Recorder procedure;
    const WindowHandle dialog = dialogs.CreateDialogParamW(IDD_OPTIONS, kNoWindow, procedure);
    ASSERT_NE(dialog, kNoWindow);
    const WindowHandle label = dialogs.GetDlgItem(dialog, IDC_OPT_WEB_LINK);
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

    ::DestroyWindow(Hwnd(dialog));
    EXPECT_TRUE(graphics.DeleteObject(underlined));
    EXPECT_EQ(graphics.GetStockObject(kNullBrush),
              FromWin32<BrushHandle>(::GetStockObject(NULL_BRUSH)));
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
