// Dialogs from the program's own templates and their controls (user32 and
// the common controls). Dialog creation and the dialog-item calls are the
// Win32 calls of the same name; the control messages (CB_..., EM_...,
// LVM_..., TTM_...) are offered as one typed operation each, named after the
// framework's control class operation that sends the message.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

// The dialog procedure of one dialog (DLGPROC). It receives wm::kInitDialog
// once the dialog and its controls exist, wm::kCommand for buttons, menu
// commands and control notifications (identifier in the low word of wParam,
// notification code in the high word, the control in lParam),
// wm::kSysCommand, wm::kClose, wm::kHelp, wm::kCtlColorStatic (wParam the
// device context, lParam the control; the answer is the brush), wm::kDestroy
// and whatever is sent to the dialog window. Nonzero means handled;
// unhandled messages get the dialog manager's default handling (wm::kClose
// becomes the command IDCANCEL; a system-menu close becomes wm::kClose; the
// Enter and Escape keys become the commands IDOK and IDCANCEL).
class DialogProcedure {
  public:
    virtual ~DialogProcedure() = default;
    virtual std::intptr_t DialogProc(WindowHandle dialog, std::uint32_t message, WParam wParam,
                                     LParam lParam) = 0;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // CreateDialogParamW: a modeless dialog from the program's template
    // `templateId` with `procedure` as its dialog procedure; wm::kInitDialog
    // has been handled when it returns. Visible only when the template says
    // so. kNoWindow on failure. The procedure must outlive the dialog.
    virtual WindowHandle CreateDialogParamW(int templateId, WindowHandle parent,
                                            DialogProcedure& procedure) = 0;
    // DialogBoxParamW: a modal dialog; `parent` is disabled while it runs.
    // Returns the value given to EndDialog once the dialog is gone, -1 when
    // it could not be created.
    virtual std::intptr_t DialogBoxParamW(int templateId, WindowHandle parent,
                                          DialogProcedure& procedure) = 0;
    // EndDialog: ends a modal dialog with `result` after the current
    // message; a modeless dialog is only hidden.
    virtual bool EndDialog(WindowHandle dialog, std::intptr_t result) = 0;

    // GetDlgItem: the control with identifier `id`, kNoWindow when there is
    // none.
    virtual WindowHandle GetDlgItem(WindowHandle dialog, int id) = 0;
    // SetDlgItemTextW; GetDlgItemTextW into a string (the framework's
    // variant), returning the text's length (0 for a missing control).
    // Setting the text of an edit control reports en::kChange, as typing does.
    virtual bool SetDlgItemTextW(WindowHandle dialog, int id, const char16_t* text) = 0;
    virtual int GetDlgItemTextW(WindowHandle dialog, int id, String& text) = 0;
    // CheckDlgButton / IsDlgButtonChecked (bst::...); CheckRadioButton checks
    // `check` and clears the other buttons from `first` to `last`.
    virtual bool CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check) = 0;
    virtual std::uint32_t IsDlgButtonChecked(WindowHandle dialog, int id) = 0;
    virtual bool CheckRadioButton(WindowHandle dialog, int first, int last, int check) = 0;

    // Combo boxes (drop-down lists). Indexes count from 0; kComboError (-1)
    // reports a failure or "no selection".
    // CB_ADDSTRING (unsorted lists: at the end) and CB_INSERTSTRING: the new
    // item's index.
    virtual int ComboAddString(WindowHandle combo, const char16_t* text) = 0;
    virtual int ComboInsertString(WindowHandle combo, int index, const char16_t* text) = 0;
    // CB_RESETCONTENT: no items, no selection.
    virtual void ComboResetContent(WindowHandle combo) = 0;
    // CB_GETCURSEL; CB_SETCURSEL (an index out of range, -1 included, clears
    // the selection and answers kComboError). Neither reports cbn::kSelChange.
    virtual int ComboGetCurSel(WindowHandle combo) = 0;
    virtual int ComboSetCurSel(WindowHandle combo, int index) = 0;
    // CB_GETLBTEXT into a string: the item's length, kComboError for an index
    // out of range (`text` is then unchanged).
    virtual int ComboGetLBText(WindowHandle combo, int index, String& text) = 0;
    // CB_FINDSTRINGEXACT from the start: the first item whose whole text
    // equals `text`, letter case ignored; kComboError when none does.
    virtual int ComboFindStringExact(WindowHandle combo, const char16_t* text) = 0;

    // EM_LIMITTEXT: the edit accepts no more than `limit` characters (typed
    // or pasted; text the program sets is not cut).
    virtual void EditLimitText(WindowHandle edit, int limit) = 0;

    // List view in report view. LVM_INSERTCOLUMNW with heading, format
    // (lvcfmt::...) and width in pixels: the column's index or -1.
    // LVM_INSERTITEMW of a row whose first column is `text`, at `item`: the
    // row's index or -1. LVM_SETITEMTEXTW of column `subItem` of a row.
    virtual int ListViewInsertColumn(WindowHandle list, int column, const char16_t* heading,
                                     int format, int width) = 0;
    virtual int ListViewInsertItem(WindowHandle list, int item, const char16_t* text) = 0;
    virtual bool ListViewSetItemText(WindowHandle list, int item, int subItem,
                                     const char16_t* text) = 0;

    // A tooltip for `control`: creates the tooltip control and registers the
    // control's whole client rectangle as tool 1 with `text`, the tooltip
    // following the control's mouse messages itself (TOOLTIPS_CLASS,
    // TTM_ADDTOOLW with TTF_SUBCLASS). UpdateTipText replaces the text
    // (TTM_UPDATETIPTEXTW).
    virtual bool AddToolTip(WindowHandle control, const char16_t* text) = 0;
    virtual bool UpdateTipText(WindowHandle control, const char16_t* text) = 0;
};

}  // namespace nimbrel
