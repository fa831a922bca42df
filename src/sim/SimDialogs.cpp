#include "sim/SimDialogs.h"

#include <algorithm>
#include <string>
#include <utility>

#include "sim/SimStrings.h"

namespace nimbrel {

namespace {

constexpr int kDialogLeft = 120;
constexpr int kDialogTop = 60;

// MapDialogRect with 6 x 13 pixel base units.
int PixelsX(int units) {
    return units * 6 / 4;
}
int PixelsY(int units) {
    return units * 13 / 8;
}

const char16_t* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Link:
        case ControlKind::Icon:
            return u"Static";
        case ControlKind::Edit:
            return u"Edit";
        case ControlKind::DropDownList:
            return u"ComboBox";
        case ControlKind::ListView:
            return u"SysListView32";
        default:
            return u"Button";
    }
}

std::uint32_t StyleOf(const ControlTemplate& control) {
    const bool centred = (control.style & ControlStyle::kCentered) != 0;
    switch (control.kind) {
        case ControlKind::Label:
            return centred ? ss::kCenter : 0;
        case ControlKind::Link:
            return ss::kNotify | (centred ? ss::kCenter : 0);
        default:
            return 0;
    }
}

bool IsStatic(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Link || kind == ControlKind::Icon ||
           kind == ControlKind::GroupBox;
}

}  // namespace

// --- SimDialog ---------------------------------------------------------------

bool SimDialog::Exists() const {
    return dialogs->dialogs.count(window) != 0;
}

bool SimDialog::Visible() const {
    const SimWindow* w = dialogs->windows.Get(window);
    return w != nullptr && w->visible;
}

bool SimDialog::Enabled() const {
    const SimWindow* w = dialogs->windows.Get(window);
    return w != nullptr && w->enabled;
}

String SimDialog::Title() const {
    const SimWindow* w = dialogs->windows.Get(window);
    return w == nullptr ? String() : w->title;
}

int SimDialog::IconResource(bool big) const {
    const SimWindow* w = dialogs->windows.Get(window);
    if (w == nullptr) return 0;
    return dialogs->windows.IconResource(big ? w->bigIcon : w->smallIcon);
}

int SimDialog::IconSize(bool big) const {
    const SimWindow* w = dialogs->windows.Get(window);
    if (w == nullptr) return 0;
    return dialogs->windows.IconSize(big ? w->bigIcon : w->smallIcon);
}

WindowHandle SimDialog::Control(int id) const {
    return Exists() ? dialogs->GetDlgItem(window, id) : kNoWindow;
}

String SimDialog::Text(int id) const {
    const SimWindow* w = dialogs->windows.Get(Control(id));
    return w == nullptr ? String() : w->title;
}

bool SimDialog::Checked(int id) const {
    return Exists() && dialogs->IsDlgButtonChecked(window, id) == bst::kChecked;
}

bool SimDialog::ControlEnabled(int id) const {
    const SimWindow* w = dialogs->windows.Get(Control(id));
    return w != nullptr && w->enabled;
}

std::vector<String> SimDialog::Items(int id) const {
    const auto found = dialogs->controls.find(Control(id));
    return found == dialogs->controls.end() ? std::vector<String>{} : found->second.items;
}

int SimDialog::Selection(int id) const {
    const auto found = dialogs->controls.find(Control(id));
    return found == dialogs->controls.end() ? -1 : found->second.selection;
}

std::vector<SimListColumn> SimDialog::Columns(int id) const {
    const auto found = dialogs->controls.find(Control(id));
    return found == dialogs->controls.end() ? std::vector<SimListColumn>{} : found->second.columns;
}

std::vector<std::vector<String>> SimDialog::Rows(int id) const {
    const auto found = dialogs->controls.find(Control(id));
    if (found == dialogs->controls.end()) return {};
    std::vector<std::vector<String>> rows = found->second.rows;
    for (auto& row : rows)
        row.resize(std::max(row.size(), found->second.columns.size()));
    return rows;
}

Rect SimDialog::ControlRect(int id) const {
    const SimWindow* w = dialogs->windows.Get(Control(id));
    return w == nullptr ? Rect{} : w->rect;
}

std::optional<String> SimDialog::ToolTip(int id) const {
    const auto found = dialogs->controls.find(Control(id));
    return found == dialogs->controls.end() ? std::nullopt : found->second.toolTip;
}

bool SimDialog::Underlined(int id) const {
    return dialogs->graphics.IsUnderlined(Control(id));
}

Colour SimDialog::TextColour(int id) const {
    const WindowHandle control = Control(id);
    if (control == kNoWindow) return 0;
    const DeviceContext dc = dialogs->graphics.NewPaintContext();
    dialogs->windows.SendMessageW(window, wm::kCtlColorStatic, static_cast<WParam>(dc),
                                  static_cast<LParam>(control));
    return dialogs->graphics.TextColourOf(dc);
}

bool SimDialog::Click(int id) {
    return dialogs->UserClick(window, id);
}
bool SimDialog::Type(int id, StringView text) {
    return dialogs->UserType(window, id, text);
}
bool SimDialog::Focus(int id) {
    return dialogs->UserFocus(window, id);
}
bool SimDialog::Select(int id, int index) {
    return dialogs->UserSelect(window, id, index);
}
bool SimDialog::Deactivate() {
    return dialogs->UserDeactivate(window);
}
bool SimDialog::PressEnter() {
    return dialogs->UserCommand(window, IDOK);
}
bool SimDialog::PressEscape() {
    return dialogs->UserCommand(window, IDCANCEL);
}
bool SimDialog::PressF1() {
    return dialogs->UserHelp(window);
}
bool SimDialog::Close() {
    return dialogs->UserClose(window);
}

void SimDialog::Hover(int id) {
    const Rect rect = dialogs->windows.ScreenRect(Control(id));
    dialogs->windows.MoveMouse(Point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// --- SimDialogs --------------------------------------------------------------

SimDialogs::SimDialogs(SimWindowSystem& windows_, SimGraphics& graphics_, SimFaults& faults_)
    : windows(windows_), graphics(graphics_), faults(faults_) {}

SimDialog SimDialogs::Find(int templateId) {
    for (auto it = creationOrder.rbegin(); it != creationOrder.rend(); ++it) {
        const auto found = dialogs.find(*it);
        if (found != dialogs.end() && found->second.templateId == templateId)
            return SimDialog(*this, *it);
    }
    return SimDialog(*this, kNoWindow);
}

void SimDialogs::WhenModal(int templateId, std::function<void(SimDialog&)> session) {
    sessions.push_back({templateId, std::move(session)});
}

WindowHandle SimDialogs::Build(const DialogTemplate& dialogTemplate, WindowHandle owner,
                               DialogProcedure& procedure, bool modal) {
    const WindowHandle dialog =
        windows.Create(u"#32770", dialogTemplate.title, kNoWindow, kProgramProcess);
    SimWindow* window = windows.Get(dialog);
    window->visible = false;
    window->enabled = (dialogTemplate.style & DialogStyle::kDisabled) == 0;
    window->rect = Rect{kDialogLeft, kDialogTop, kDialogLeft + PixelsX(dialogTemplate.width),
                        kDialogTop + PixelsY(dialogTemplate.height)};
    dialogs.emplace(dialog, Dialog{dialogTemplate.id, &procedure, owner, modal});
    creationOrder.push_back(dialog);
    window->procedure = [this, dialog](std::uint32_t message, WParam wParam, LParam lParam) {
        return DialogWindowProc(dialog, message, wParam, lParam);
    };
    window->visibilityChanged = [this, dialog](bool visible) {
        if (!visible) MoveFocus(dialog, kNoWindow);
    };
    window->destroyed.push_back([this, dialog] {
        dialogs.erase(dialog);
        std::erase(creationOrder, dialog);
    });
    const FontHandle font = graphics.DialogFont();
    graphics.SetWindowFont(dialog, font);

    int group = 0;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const WindowHandle handle =
            windows.Create(ClassOf(control.kind), control.text, dialog, kProgramProcess);
        SimWindow* child = windows.Get(handle);
        child->style = StyleOf(control);
        child->rect = Rect{PixelsX(control.x), PixelsY(control.y),
                           PixelsX(control.x + control.width), PixelsY(control.y + control.height)};
        if (control.kind != ControlKind::RadioButton) {
            group = 0;
        } else if (group == 0 || (control.style & ControlStyle::kGroupStart) != 0) {
            group = nextGroup++;
        }
        Control state;
        state.id = control.id;
        state.kind = control.kind;
        state.dialog = dialog;
        state.group = group;
        controls.emplace(handle, std::move(state));
        child->destroyed.push_back([this, handle] { controls.erase(handle); });
        graphics.SetWindowFont(handle, font);
    }
    return dialog;
}

WindowHandle SimDialogs::CreateDialogParamW(int templateId, WindowHandle parent,
                                            DialogProcedure& procedure) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (dialogTemplate == nullptr || std::exchange(failNextCreate, false)) return kNoWindow;
    const WindowHandle dialog = Build(*dialogTemplate, parent, procedure, false);
    windows.SendMessageW(dialog, wm::kInitDialog, 0, 0);
    return windows.IsWindow(dialog) ? dialog : kNoWindow;
}

std::intptr_t SimDialogs::DialogBoxParamW(int templateId, WindowHandle parent,
                                          DialogProcedure& procedure) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (dialogTemplate == nullptr) return -1;
    const SimWindow* owner = windows.Get(parent);
    const bool ownerWasEnabled = owner != nullptr && owner->enabled;
    if (owner != nullptr) windows.EnableWindow(parent, false);

    const WindowHandle dialog = Build(*dialogTemplate, parent, procedure, true);
    modalRuns.push_back(templateId);
    windows.SendMessageW(dialog, wm::kInitDialog, 0, 0);
    const auto open = [&] {
        const auto found = dialogs.find(dialog);
        return found != dialogs.end() && !found->second.ended;
    };
    if (open()) {
        windows.ShowWindow(dialog, sw::kShowNormal);
        windows.Activate(dialog);
    }
    if (open() && !sessions.empty()) {
        if (sessions.front().templateId == templateId) {
            const Session session = std::move(sessions.front());
            sessions.pop_front();
            SimDialog view(*this, dialog);
            session.run(view);
        } else {
            faults.Report("modal dialog " + std::to_string(templateId) +
                          " opened while the scenario waited for dialog " +
                          std::to_string(sessions.front().templateId));
        }
    }
    // The user is done with it: Escape.
    if (open()) UserCommand(dialog, IDCANCEL);
    std::intptr_t result = IDCANCEL;
    if (const auto found = dialogs.find(dialog); found != dialogs.end()) {
        if (!found->second.ended) faults.Report("a modal dialog did not end on Escape");
        result = found->second.result;
    }
    windows.DestroyWindow(dialog);
    if (windows.IsWindow(parent)) {
        if (ownerWasEnabled) windows.EnableWindow(parent, true);
        if (windows.Get(parent)->visible) windows.Activate(parent);
    }
    return result;
}

bool SimDialogs::EndDialog(WindowHandle dialog, std::intptr_t result) {
    const auto found = dialogs.find(dialog);
    if (found == dialogs.end()) return false;
    found->second.result = result;
    if (found->second.modal) found->second.ended = true;
    windows.ShowWindow(dialog, sw::kHide);
    return true;
}

std::optional<LResult> SimDialogs::DialogWindowProc(WindowHandle dialog, std::uint32_t message,
                                                    WParam wParam, LParam lParam) {
    const auto found = dialogs.find(dialog);
    if (found == dialogs.end()) return std::nullopt;
    DialogProcedure* procedure = found->second.procedure;
    if (const std::intptr_t answer = procedure->DialogProc(dialog, message, wParam, lParam))
        return static_cast<LResult>(answer);
    // The dialog manager's own handling.
    if (message == wm::kClose) {
        windows.SendMessageW(dialog, wm::kCommand, MakeWParam(IDCANCEL, bn::kClicked),
                             static_cast<LParam>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    }
    return std::nullopt;
}

SimDialogs::Control* SimDialogs::ControlOf(WindowHandle window, ControlKind kind,
                                           const char* operation) {
    const auto found = controls.find(window);
    if (found == controls.end() || found->second.kind != kind) {
        faults.Report(std::string(operation) + " on a window that is not such a control");
        return nullptr;
    }
    return &found->second;
}

SimDialogs::Control* SimDialogs::ControlById(WindowHandle dialog, int id) {
    const auto found = controls.find(GetDlgItem(dialog, id));
    return found == controls.end() ? nullptr : &found->second;
}

WindowHandle SimDialogs::GetDlgItem(WindowHandle dialog, int id) {
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr) return kNoWindow;
    for (const WindowHandle child : window->children) {
        const auto found = controls.find(child);
        if (found != controls.end() && found->second.id == id) return child;
    }
    return kNoWindow;
}

void SimDialogs::Notify(WindowHandle dialog, const Control& control, int code) {
    const WindowHandle window = GetDlgItem(dialog, control.id);
    windows.SendMessageW(dialog, wm::kCommand, MakeWParam(control.id, code),
                         static_cast<LParam>(window));
}

bool SimDialogs::SetDlgItemTextW(WindowHandle dialog, int id, const char16_t* text) {
    const WindowHandle window = GetDlgItem(dialog, id);
    if (window == kNoWindow) return false;
    windows.SetTitle(window, sim::Terminated(text));
    const Control& control = controls.at(window);
    if (control.kind == ControlKind::Edit) Notify(dialog, control, en::kChange);
    return true;
}

int SimDialogs::GetDlgItemTextW(WindowHandle dialog, int id, String& text) {
    const SimWindow* window = windows.Get(GetDlgItem(dialog, id));
    text = window == nullptr ? String() : window->title;
    return static_cast<int>(text.size());
}

bool SimDialogs::CheckDlgButton(WindowHandle dialog, int id, std::uint32_t check) {
    Control* control = ControlById(dialog, id);
    if (control == nullptr ||
        (control->kind != ControlKind::CheckBox && control->kind != ControlKind::RadioButton))
        return false;
    control->checked = check;
    return true;
}

std::uint32_t SimDialogs::IsDlgButtonChecked(WindowHandle dialog, int id) {
    const Control* control = ControlById(dialog, id);
    return control == nullptr ? bst::kUnchecked : control->checked;
}

bool SimDialogs::CheckRadioButton(WindowHandle dialog, int first, int last, int check) {
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr) return false;
    for (const WindowHandle child : window->children) {
        Control& control = controls.at(child);
        if (control.kind == ControlKind::RadioButton && control.id >= first && control.id <= last)
            control.checked = control.id == check ? bst::kChecked : bst::kUnchecked;
    }
    return true;
}

int SimDialogs::ComboAddString(WindowHandle combo, const char16_t* text) {
    Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_ADDSTRING");
    if (control == nullptr) return kComboError;
    control->items.emplace_back(sim::Terminated(text));
    return static_cast<int>(control->items.size()) - 1;
}

int SimDialogs::ComboInsertString(WindowHandle combo, int index, const char16_t* text) {
    Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_INSERTSTRING");
    if (control == nullptr) return kComboError;
    const int count = static_cast<int>(control->items.size());
    if (index == -1) index = count;
    if (index < 0 || index > count) return kComboError;
    control->items.emplace(control->items.begin() + index, sim::Terminated(text));
    if (control->selection >= index) ++control->selection;
    return index;
}

void SimDialogs::ComboResetContent(WindowHandle combo) {
    if (Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_RESETCONTENT")) {
        control->items.clear();
        control->selection = -1;
    }
}

int SimDialogs::ComboGetCurSel(WindowHandle combo) {
    const Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_GETCURSEL");
    return control == nullptr ? kComboError : control->selection;
}

int SimDialogs::ComboSetCurSel(WindowHandle combo, int index) {
    Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_SETCURSEL");
    if (control == nullptr) return kComboError;
    if (index < 0 || index >= static_cast<int>(control->items.size())) {
        control->selection = -1;
        return kComboError;
    }
    control->selection = index;
    return index;
}

int SimDialogs::ComboGetLBText(WindowHandle combo, int index, String& text) {
    const Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_GETLBTEXT");
    if (control == nullptr || index < 0 || index >= static_cast<int>(control->items.size()))
        return kComboError;
    text = control->items[static_cast<std::size_t>(index)];
    return static_cast<int>(text.size());
}

int SimDialogs::ComboFindStringExact(WindowHandle combo, const char16_t* text) {
    const Control* control = ControlOf(combo, ControlKind::DropDownList, "CB_FINDSTRINGEXACT");
    if (control == nullptr) return kComboError;
    for (std::size_t i = 0; i < control->items.size(); ++i)
        if (sim::EqualsIgnoreCase(control->items[i], sim::Terminated(text)))
            return static_cast<int>(i);
    return kComboError;
}

void SimDialogs::EditLimitText(WindowHandle edit, int limit) {
    if (Control* control = ControlOf(edit, ControlKind::Edit, "EM_LIMITTEXT"))
        control->limit = limit <= 0 ? 0x7FFFFFFE : limit;
}

int SimDialogs::ListViewInsertColumn(WindowHandle list, int column, const char16_t* heading,
                                     int format, int width) {
    Control* control = ControlOf(list, ControlKind::ListView, "LVM_INSERTCOLUMN");
    if (control == nullptr || column < 0) return -1;
    const std::size_t at = std::min(static_cast<std::size_t>(column), control->columns.size());
    control->columns.insert(control->columns.begin() + static_cast<std::ptrdiff_t>(at),
                            SimListColumn{String(sim::Terminated(heading)), format, width});
    for (auto& row : control->rows)
        if (row.size() > at) row.insert(row.begin() + static_cast<std::ptrdiff_t>(at), String());
    return static_cast<int>(at);
}

int SimDialogs::ListViewInsertItem(WindowHandle list, int item, const char16_t* text) {
    Control* control = ControlOf(list, ControlKind::ListView, "LVM_INSERTITEM");
    if (control == nullptr || item < 0) return -1;
    const std::size_t at = std::min(static_cast<std::size_t>(item), control->rows.size());
    control->rows.insert(control->rows.begin() + static_cast<std::ptrdiff_t>(at),
                         std::vector<String>{String(sim::Terminated(text))});
    return static_cast<int>(at);
}

bool SimDialogs::ListViewSetItemText(WindowHandle list, int item, int subItem,
                                     const char16_t* text) {
    Control* control = ControlOf(list, ControlKind::ListView, "LVM_SETITEMTEXT");
    if (control == nullptr || item < 0 || static_cast<std::size_t>(item) >= control->rows.size())
        return false;
    const std::size_t columns = std::max<std::size_t>(1, control->columns.size());
    if (subItem < 0 || static_cast<std::size_t>(subItem) >= columns) return false;
    auto& row = control->rows[static_cast<std::size_t>(item)];
    row.resize(std::max(row.size(), static_cast<std::size_t>(subItem) + 1));
    row[static_cast<std::size_t>(subItem)] = String(sim::Terminated(text));
    return true;
}

bool SimDialogs::AddToolTip(WindowHandle window, const char16_t* text) {
    const auto found = controls.find(window);
    if (found == controls.end()) return false;
    found->second.toolTip = String(sim::Terminated(text));
    return true;
}

bool SimDialogs::UpdateTipText(WindowHandle window, const char16_t* text) {
    const auto found = controls.find(window);
    if (found == controls.end() || !found->second.toolTip) return false;
    found->second.toolTip = String(sim::Terminated(text));
    return true;
}

// --- What the user does ------------------------------------------------------

SimDialogs::Control* SimDialogs::Reachable(WindowHandle dialog, int id, const char* what) {
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr || dialogs.count(dialog) == 0) {
        faults.Report(std::string("the user ") + what + " in a dialog that is not open");
        return nullptr;
    }
    if (!window->visible || !window->enabled) {
        faults.Report(std::string("the user ") + what + " in a hidden or disabled dialog");
        return nullptr;
    }
    if (id == 0) return nullptr;
    Control* control = ControlById(dialog, id);
    const SimWindow* child = windows.Get(GetDlgItem(dialog, id));
    if (control == nullptr || child == nullptr) {
        faults.Report(std::string("the user ") + what +
                      " a control the dialog does not have: " + std::to_string(id));
        return nullptr;
    }
    if (!child->enabled || !child->visible) {
        faults.Report(std::string("the user ") + what +
                      " a disabled control: " + std::to_string(id));
        return nullptr;
    }
    return control;
}

void SimDialogs::MoveFocus(WindowHandle dialog, WindowHandle control) {
    const auto found = dialogs.find(dialog);
    if (found == dialogs.end()) return;
    const WindowHandle old = found->second.focus;
    if (old == control) return;
    found->second.focus = control;
    const auto oldControl = controls.find(old);
    if (oldControl != controls.end() && oldControl->second.kind == ControlKind::Edit)
        Notify(dialog, oldControl->second, en::kKillFocus);
}

bool SimDialogs::UserClick(WindowHandle dialog, int id) {
    Control* control = Reachable(dialog, id, "clicked");
    if (control == nullptr) return false;
    const WindowHandle window = GetDlgItem(dialog, id);
    const ControlKind kind = control->kind;
    if (IsStatic(kind)) {
        // Statics take no focus and report clicks only with SS_NOTIFY.
        if ((windows.Get(window)->style & ss::kNotify) != 0) Notify(dialog, *control, bn::kClicked);
        return true;
    }
    MoveFocus(dialog, window);
    // The focus change may have run the program; look again.
    const auto found = controls.find(window);
    if (found == controls.end()) return false;
    Control& clicked = found->second;
    switch (kind) {
        case ControlKind::CheckBox:
            clicked.checked = clicked.checked == bst::kUnchecked ? bst::kChecked : bst::kUnchecked;
            break;
        case ControlKind::RadioButton:
            for (auto& [handle, other] : controls)
                if (other.dialog == dialog && other.kind == ControlKind::RadioButton &&
                    other.group == clicked.group)
                    other.checked = handle == window ? bst::kChecked : bst::kUnchecked;
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            break;
        default:
            return true;  // an edit, list or list view only takes the focus
    }
    Notify(dialog, clicked, bn::kClicked);
    return true;
}

bool SimDialogs::UserFocus(WindowHandle dialog, int id) {
    Control* control = Reachable(dialog, id, "focused");
    if (control == nullptr || IsStatic(control->kind)) return false;
    MoveFocus(dialog, GetDlgItem(dialog, id));
    return true;
}

bool SimDialogs::UserType(WindowHandle dialog, int id, StringView text) {
    Control* control = Reachable(dialog, id, "typed into");
    if (control == nullptr) return false;
    if (control->kind != ControlKind::Edit) {
        faults.Report("the user typed into a control that is not an edit: " + std::to_string(id));
        return false;
    }
    const WindowHandle window = GetDlgItem(dialog, id);
    MoveFocus(dialog, window);
    const auto found = controls.find(window);
    if (found == controls.end()) return false;
    const std::size_t limit = static_cast<std::size_t>(found->second.limit);
    windows.SetTitle(window, text.substr(0, std::min(text.size(), limit)));
    Notify(dialog, found->second, en::kChange);
    return true;
}

bool SimDialogs::UserSelect(WindowHandle dialog, int id, int index) {
    Control* control = Reachable(dialog, id, "picked from");
    if (control == nullptr) return false;
    if (control->kind != ControlKind::DropDownList || index < 0 ||
        index >= static_cast<int>(control->items.size())) {
        faults.Report("the user picked an item a list does not have: " + std::to_string(id));
        return false;
    }
    const WindowHandle window = GetDlgItem(dialog, id);
    MoveFocus(dialog, window);
    const auto found = controls.find(window);
    if (found == controls.end()) return false;
    found->second.selection = index;
    Notify(dialog, found->second, cbn::kSelChange);
    return true;
}

bool SimDialogs::UserDeactivate(WindowHandle dialog) {
    if (dialogs.count(dialog) == 0) return false;
    MoveFocus(dialog, kNoWindow);
    return true;
}

bool SimDialogs::UserCommand(WindowHandle dialog, int id) {
    Reachable(dialog, 0, "pressed a key");
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr || !window->visible || !window->enabled) return false;
    // Enter on a push button presses that button.
    const WindowHandle focus = dialogs.at(dialog).focus;
    const auto focused = controls.find(focus);
    if (id == IDOK && focused != controls.end() &&
        (focused->second.kind == ControlKind::PushButton ||
         focused->second.kind == ControlKind::DefaultPushButton)) {
        Notify(dialog, focused->second, bn::kClicked);
        return true;
    }
    windows.SendMessageW(dialog, wm::kCommand, MakeWParam(id, bn::kClicked),
                         static_cast<LParam>(GetDlgItem(dialog, id)));
    return true;
}

bool SimDialogs::UserHelp(WindowHandle dialog) {
    Reachable(dialog, 0, "pressed F1");
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr || !window->visible || !window->enabled) return false;
    windows.SendMessageW(dialog, wm::kHelp, 0, 0);
    return true;
}

bool SimDialogs::UserClose(WindowHandle dialog) {
    Reachable(dialog, 0, "closed");
    const SimWindow* window = windows.Get(dialog);
    if (window == nullptr || !window->visible || !window->enabled) return false;
    windows.SendMessageW(dialog, wm::kSysCommand, sc::kClose, 0);
    return true;
}

}  // namespace nimbrel
