// Dialogs of the simulated desktop, built from the portable template table
// (ui/DialogTemplates.h), so they have the ids, kinds, styles and built-in
// texts of the resource script. A dialog is a top-level window of class
// "#32770" with one child window per control; positions are the template's
// dialog units at 6 x 13 pixel base units (x * 6 / 4, y * 13 / 8).
//
// What the user does goes through `SimDialog` (see below) and reaches the
// dialog procedure as Windows would deliver it: a click on a control first
// moves the keyboard focus there, so an edit that had the focus reports
// en::kKillFocus before the click's command; typing and setting an edit's
// text report en::kChange; hiding a dialog takes the focus out of it. The
// user can only reach visible, enabled dialogs and enabled controls; trying
// anything else is noted as a fault and does nothing.
//
// A modal dialog (DialogBoxParamW) runs the next scripted user session for
// its template (see WhenModal) and, when the session leaves it open or there
// is none, the user presses Escape.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"
#include "sim/SimFaults.h"
#include "sim/SimGraphics.h"
#include "sim/SimWindowSystem.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {

class SimDialogs;

struct SimListColumn {
    String heading;
    int format;
    int width;
};

// One open dialog as the user sees and drives it. A cheap handle; it stays
// usable after the dialog is gone (it then reads nothing and can do nothing).
class SimDialog {
  public:
    SimDialog(SimDialogs& owner, WindowHandle dialog) : dialogs(&owner), window(dialog) {}

    WindowHandle Window() const { return window; }
    bool Exists() const;
    bool Visible() const;
    bool Enabled() const;
    String Title() const;
    // The resource id of the dialog's big or small icon (0 for none).
    int IconResource(bool big) const;
    // The size it was loaded at.
    int IconSize(bool big) const;

    // What a control shows.
    WindowHandle Control(int id) const;
    String Text(int id) const;
    bool Checked(int id) const;
    bool ControlEnabled(int id) const;
    std::vector<String> Items(int id) const;  // a drop-down list's items
    int Selection(int id) const;              // -1 for none
    std::vector<SimListColumn> Columns(int id) const;
    std::vector<std::vector<String>> Rows(int id) const;  // list view, one cell per column
    Rect ControlRect(int id) const;                       // in the dialog's client coordinates
    std::optional<String> ToolTip(int id) const;
    bool Underlined(int id) const;
    // Paints the control and answers the text colour it chose.
    Colour TextColour(int id) const;

    // What the user does.
    bool Click(int id);
    bool Type(int id, StringView text);  // replaces the edit's text
    bool Focus(int id);
    bool Select(int id, int index);  // picks an item of a drop-down list
    bool Deactivate();               // the user turns to another program
    bool PressEnter();
    bool PressEscape();
    bool PressF1();
    bool Close();  // the title bar's close button
    // The mouse goes to the middle of the control.
    void Hover(int id);

  private:
    SimDialogs* dialogs;
    WindowHandle window;
};

class SimDialogs : public Dialogs {
  public:
    SimDialogs(SimWindowSystem& windows, SimGraphics& graphics, SimFaults& faults);

    // Scenario operations.
    // The open dialog of template `templateId` created last (it may be
    // hidden); a handle on nothing when there is none.
    SimDialog Find(int templateId);
    // The user session for the next modal dialog of template `templateId`.
    void WhenModal(int templateId, std::function<void(SimDialog&)> session);
    // Modal dialogs run so far, by template id, in order.
    const std::vector<int>& ModalRuns() const { return modalRuns; }
    // The next CreateDialogParamW fails, as it does when Windows is out of
    // resources.
    void FailNextCreate() { failNextCreate = true; }

    // The seam.
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

  private:
    friend class SimDialog;

    struct Control {
        int id = 0;
        ControlKind kind = ControlKind::Label;
        WindowHandle dialog = kNoWindow;
        int group = 0;  // radio buttons of one group share it
        std::uint32_t checked = bst::kUnchecked;
        std::vector<String> items;
        int selection = -1;
        int limit = 0x7FFFFFFE;
        std::vector<SimListColumn> columns;
        std::vector<std::vector<String>> rows;
        std::optional<String> toolTip;
    };
    struct Dialog {
        int templateId;
        DialogProcedure* procedure;
        WindowHandle owner;
        bool modal;
        bool ended = false;
        std::intptr_t result = 0;
        WindowHandle focus = kNoWindow;
    };

    WindowHandle Build(const DialogTemplate& dialogTemplate, WindowHandle owner,
                       DialogProcedure& procedure, bool modal);
    std::optional<LResult> DialogWindowProc(WindowHandle dialog, std::uint32_t message,
                                            WParam wParam, LParam lParam);
    Control* ControlOf(WindowHandle window, ControlKind kind, const char* operation);
    Control* ControlById(WindowHandle dialog, int id);
    void Notify(WindowHandle dialog, const Control& control, int code);
    // The user's reach: a visible, enabled dialog and (for id != 0) an
    // enabled, visible control of it.
    Control* Reachable(WindowHandle dialog, int id, const char* what);
    void MoveFocus(WindowHandle dialog, WindowHandle control);

    // User actions behind SimDialog.
    bool UserClick(WindowHandle dialog, int id);
    bool UserType(WindowHandle dialog, int id, StringView text);
    bool UserFocus(WindowHandle dialog, int id);
    bool UserSelect(WindowHandle dialog, int id, int index);
    bool UserDeactivate(WindowHandle dialog);
    bool UserCommand(WindowHandle dialog, int id);
    bool UserHelp(WindowHandle dialog);
    bool UserClose(WindowHandle dialog);

    SimWindowSystem& windows;
    SimGraphics& graphics;
    SimFaults& faults;
    std::map<WindowHandle, Dialog> dialogs;
    std::map<WindowHandle, Control> controls;
    std::vector<WindowHandle> creationOrder;
    struct Session {
        int templateId;
        std::function<void(SimDialog&)> run;
    };
    std::deque<Session> sessions;
    std::vector<int> modalRuns;
    bool failNextCreate = false;
    int nextGroup = 1;
};

}  // namespace nimbrel
