// Dialogs on Windows: the program's dialog templates from its own resources,
// the dialog-item calls of user32 and the common controls' messages.
//
// The dialog procedure object travels as the CreateDialogParamW /
// DialogBoxParamW parameter and is kept in the dialog's DWLP_USER; a
// CALLBACK trampoline hands every message from wm::kInitDialog on to it.
// Tooltips are TOOLTIPS_CLASS windows owned by the control's dialog; each is
// destroyed with its control (a subclass watches for the end of the
// control), and whatever is left when this object goes is destroyed then.
#pragma once

#include <map>

#include "platform/Dialogs.h"

namespace nimbrel {

class Win32Dialogs : public Dialogs {
  public:
    // Registers the common control classes the templates use (list view,
    // tooltips and the standard controls).
    Win32Dialogs();
    ~Win32Dialogs() override;
    Win32Dialogs(const Win32Dialogs&) = delete;
    Win32Dialogs& operator=(const Win32Dialogs&) = delete;

    WindowHandle CreateDialogParamW(int templateId, WindowHandle parent,
                                    DialogProcedure& procedure) override;
    std::intptr_t DialogBoxParamW(int templateId, WindowHandle parent,
                                  DialogProcedure& procedure) override;
    bool EndDialog(WindowHandle dialog, std::intptr_t result) override;
    WindowHandle GetDlgItem(WindowHandle dialog, int id) override;
    bool SetDlgItemTextW(WindowHandle dialog, int id, const char16_t* text) override;
    int GetDlgItemTextW(WindowHandle dialog, int id, String& text) override;
    bool CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check) override;
    std::uint32_t IsDlgButtonChecked(WindowHandle dialog, int id) override;
    bool CheckRadioButton(WindowHandle dialog, int first, int last, int check) override;
    int ComboAddString(WindowHandle combo, const char16_t* text) override;
    int ComboInsertString(WindowHandle combo, int index, const char16_t* text) override;
    void ComboResetContent(WindowHandle combo) override;
    int ComboGetCurSel(WindowHandle combo) override;
    int ComboSetCurSel(WindowHandle combo, int index) override;
    int ComboGetLBText(WindowHandle combo, int index, String& text) override;
    int ComboFindStringExact(WindowHandle combo, const char16_t* text) override;
    void EditLimitText(WindowHandle edit, int limit) override;
    int ListViewInsertColumn(WindowHandle list, int column, const char16_t* heading, int format,
                             int width) override;
    int ListViewInsertItem(WindowHandle list, int item, const char16_t* text) override;
    bool ListViewSetItemText(WindowHandle list, int item, int subItem,
                             const char16_t* text) override;
    bool AddToolTip(WindowHandle control, const char16_t* text) override;
    bool UpdateTipText(WindowHandle control, const char16_t* text) override;

    // The tooltip window of `control`, kNoWindow when it has none.
    WindowHandle ToolTipOf(WindowHandle control) const;
    // The control's end (WM_NCDESTROY), from the subclass: its tooltip goes.
    void ControlDestroyed(WindowHandle control);

  private:
    std::map<WindowHandle, WindowHandle> toolTips;  // control -> its tooltip window
};

}  // namespace nimbrel
