#include "win32/Win32Dialogs.h"

#include "win32/Win32Handles.h"

#include <commctrl.h>

namespace nimbrel {

namespace {

using win32::FromWin32;
using win32::ToWin32;
using win32::Wide;

HWND ToHwnd(WindowHandle window) {
    return ToWin32<HWND>(window);
}

WindowHandle ToHandle(HWND window) {
    return FromWin32<WindowHandle>(window);
}

// The controls' messages take text through non-const pointers they do not
// write to.
wchar_t* WideBuffer(const char16_t* text) {
    return const_cast<wchar_t*>(Wide(text));
}

HINSTANCE ProgramModule() {
    return ::GetModuleHandleW(nullptr);
}

// The dialog procedure of every dialog: the procedure object arrives with
// WM_INITDIALOG and is kept in DWLP_USER. Messages before that (WM_SETFONT)
// are left to the dialog manager. The answer is passed on unchanged: for
// most messages nonzero means handled, for the colour requests it is the
// brush.
INT_PTR CALLBACK DialogTrampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* procedure = reinterpret_cast<DialogProcedure*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (procedure == nullptr) return FALSE;
    return procedure->DialogProc(ToHandle(dialog), message, wParam, lParam);
}

// Watches a control that has a tooltip and lets the tooltip go with it.
constexpr UINT_PTR kToolTipWatchId = 1;

LRESULT CALLBACK ToolTipWatch(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR owner) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, ToolTipWatch, kToolTipWatchId);
        reinterpret_cast<Win32Dialogs*>(owner)->ControlDestroyed(ToHandle(control));
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// Tool 1 of a tooltip: the control's whole client rectangle. The version-2
// record size is understood by every common controls version from 4.70 on,
// with or without the version 6 manifest.
TTTOOLINFOW ToolOf(HWND control, const char16_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = 1;
    ::GetClientRect(control, &tool.rect);
    tool.lpszText = WideBuffer(text);
    return tool;
}

}  // namespace

Win32Dialogs::Win32Dialogs() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC =
        ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&classes);
}

Win32Dialogs::~Win32Dialogs() {
    for (const auto& [control, toolTip] : toolTips) {
        if (::IsWindow(ToHwnd(control)))
            ::RemoveWindowSubclass(ToHwnd(control), ToolTipWatch, kToolTipWatchId);
        if (::IsWindow(ToHwnd(toolTip))) ::DestroyWindow(ToHwnd(toolTip));
    }
}

WindowHandle Win32Dialogs::CreateDialogParamW(int templateId, WindowHandle parent,
                                              DialogProcedure& procedure) {
    return ToHandle(::CreateDialogParamW(ProgramModule(), MAKEINTRESOURCEW(templateId),
                                         ToHwnd(parent), DialogTrampoline,
                                         reinterpret_cast<LPARAM>(&procedure)));
}

std::intptr_t Win32Dialogs::DialogBoxParamW(int templateId, WindowHandle parent,
                                            DialogProcedure& procedure) {
    return ::DialogBoxParamW(ProgramModule(), MAKEINTRESOURCEW(templateId), ToHwnd(parent),
                             DialogTrampoline, reinterpret_cast<LPARAM>(&procedure));
}

bool Win32Dialogs::EndDialog(WindowHandle dialog, std::intptr_t result) {
    return ::EndDialog(ToHwnd(dialog), result) != FALSE;
}

WindowHandle Win32Dialogs::GetDlgItem(WindowHandle dialog, int id) {
    return ToHandle(::GetDlgItem(ToHwnd(dialog), id));
}

bool Win32Dialogs::SetDlgItemTextW(WindowHandle dialog, int id, const char16_t* text) {
    return ::SetDlgItemTextW(ToHwnd(dialog), id, Wide(text)) != FALSE;
}

int Win32Dialogs::GetDlgItemTextW(WindowHandle dialog, int id, String& text) {
    const HWND control = ::GetDlgItem(ToHwnd(dialog), id);
    if (control == nullptr) {
        text.clear();
        return 0;
    }
    const int length = ::GetWindowTextLengthW(control);
    String buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const UINT copied = ::GetDlgItemTextW(ToHwnd(dialog), id, Wide(buffer.data()), length + 1);
    buffer.resize(copied);
    text = std::move(buffer);
    return static_cast<int>(text.size());
}

bool Win32Dialogs::CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check) {
    return ::CheckDlgButton(ToHwnd(dialog), id, check) != FALSE;
}

std::uint32_t Win32Dialogs::IsDlgButtonChecked(WindowHandle dialog, int id) {
    return ::IsDlgButtonChecked(ToHwnd(dialog), id);
}

bool Win32Dialogs::CheckRadioButton(WindowHandle dialog, int first, int last, int check) {
    return ::CheckRadioButton(ToHwnd(dialog), first, last, check) != FALSE;
}

int Win32Dialogs::ComboAddString(WindowHandle combo, const char16_t* text) {
    return static_cast<int>(
        ::SendMessageW(ToHwnd(combo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text))));
}

int Win32Dialogs::ComboInsertString(WindowHandle combo, int index, const char16_t* text) {
    return static_cast<int>(::SendMessageW(ToHwnd(combo), CB_INSERTSTRING,
                                           static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(Wide(text))));
}

void Win32Dialogs::ComboResetContent(WindowHandle combo) {
    ::SendMessageW(ToHwnd(combo), CB_RESETCONTENT, 0, 0);
}

int Win32Dialogs::ComboGetCurSel(WindowHandle combo) {
    return static_cast<int>(::SendMessageW(ToHwnd(combo), CB_GETCURSEL, 0, 0));
}

int Win32Dialogs::ComboSetCurSel(WindowHandle combo, int index) {
    return static_cast<int>(
        ::SendMessageW(ToHwnd(combo), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int Win32Dialogs::ComboGetLBText(WindowHandle combo, int index, String& text) {
    const HWND window = ToHwnd(combo);
    const auto length =
        static_cast<int>(::SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length < 0) return CB_ERR;
    String buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const auto copied = static_cast<int>(::SendMessageW(
        window, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data())));
    if (copied < 0) return CB_ERR;
    buffer.resize(static_cast<std::size_t>(copied));
    text = std::move(buffer);
    return copied;
}

int Win32Dialogs::ComboFindStringExact(WindowHandle combo, const char16_t* text) {
    // Searching "after item -1" searches the whole list from the start.
    return static_cast<int>(::SendMessageW(ToHwnd(combo), CB_FINDSTRINGEXACT,
                                           static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(Wide(text))));
}

void Win32Dialogs::EditLimitText(WindowHandle edit, int limit) {
    ::SendMessageW(ToHwnd(edit), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

int Win32Dialogs::ListViewInsertColumn(WindowHandle list, int column, const char16_t* heading,
                                       int format, int width) {
    LVCOLUMNW entry{};
    entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    entry.fmt = format;
    entry.cx = width;
    entry.pszText = WideBuffer(heading);
    return static_cast<int>(::SendMessageW(ToHwnd(list), LVM_INSERTCOLUMNW,
                                           static_cast<WPARAM>(column),
                                           reinterpret_cast<LPARAM>(&entry)));
}

int Win32Dialogs::ListViewInsertItem(WindowHandle list, int item, const char16_t* text) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = item;
    row.pszText = WideBuffer(text);
    return static_cast<int>(
        ::SendMessageW(ToHwnd(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
}

bool Win32Dialogs::ListViewSetItemText(WindowHandle list, int item, int subItem,
                                       const char16_t* text) {
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = WideBuffer(text);
    return ::SendMessageW(ToHwnd(list), LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(&cell)) != FALSE;
}

bool Win32Dialogs::AddToolTip(WindowHandle control, const char16_t* text) {
    const HWND window = ToHwnd(control);
    if (!::IsWindow(window) || toolTips.count(control) != 0) return false;
    const HWND toolTip =
        ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          ::GetAncestor(window, GA_ROOT), nullptr, ProgramModule(), nullptr);
    if (toolTip == nullptr) return false;
    TTTOOLINFOW tool = ToolOf(window, text);
    if (::SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE ||
        ::SetWindowSubclass(window, ToolTipWatch, kToolTipWatchId,
                            reinterpret_cast<DWORD_PTR>(this)) == FALSE) {
        ::DestroyWindow(toolTip);
        return false;
    }
    toolTips.emplace(control, ToHandle(toolTip));
    return true;
}

bool Win32Dialogs::UpdateTipText(WindowHandle control, const char16_t* text) {
    const WindowHandle toolTip = ToolTipOf(control);
    if (toolTip == kNoWindow) return false;
    TTTOOLINFOW tool = ToolOf(ToHwnd(control), text);
    ::SendMessageW(ToHwnd(toolTip), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}

WindowHandle Win32Dialogs::ToolTipOf(WindowHandle control) const {
    const auto found = toolTips.find(control);
    return found == toolTips.end() ? kNoWindow : found->second;
}

void Win32Dialogs::ControlDestroyed(WindowHandle control) {
    const auto found = toolTips.find(control);
    if (found == toolTips.end()) return;
    // The dialog owns the tooltip, so when the whole dialog goes the tooltip
    // has gone before its controls.
    if (::IsWindow(ToHwnd(found->second))) ::DestroyWindow(ToHwnd(found->second));
    toolTips.erase(found);
}

}  // namespace nimbrel
