#include "ui/CDialog.h"

#include "shell/App.h"
#include "ui/DialogTemplates.h"
#include "ui/WholeNumber.h"

namespace nimbrel {

CDialog::CDialog(Platform& platform_, int templateId_)
    : platform(platform_), templateId(templateId_) {}

CDialog::~CDialog() {
    DestroyWindow();
}

bool CDialog::Create(WindowHandle parent) {
    return platform.dialogs.CreateDialogParamW(templateId, parent, *this) != kNoWindow;
}

std::intptr_t CDialog::DoModal(WindowHandle parent) {
    return platform.dialogs.DialogBoxParamW(templateId, parent, *this);
}

void CDialog::DestroyWindow() {
    if (window != kNoWindow) platform.windows.DestroyWindow(window);
    window = kNoWindow;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    return DoDataExchange(saveAndValidate);
}

bool CDialog::DoDataExchange(bool) {
    return true;
}

bool CDialog::HasControl(int id) const {
    return Item(id) != kNoWindow;
}

void CDialog::SetControlText(int id, StringView text) {
    SetItemText(id, text);
}

void CDialog::SetTitle(StringView text) {
    platform.windows.SetWindowTextW(window, String(text).c_str());
}

std::intptr_t CDialog::DialogProc(WindowHandle dialog, std::uint32_t message, WParam wParam,
                                  LParam lParam) {
    switch (message) {
        case wm::kInitDialog:
            window = dialog;
            return OnInitDialog() ? 1 : 0;
        case wm::kCommand:
            return OnCommand(LowWord(wParam), HighWord(wParam),
                             static_cast<WindowHandle>(static_cast<std::uintptr_t>(lParam)))
                       ? 1
                       : 0;
        case wm::kClose:
            return OnClose() ? 1 : 0;
        case wm::kHelp:
            return OnHelp() ? 1 : 0;
        case wm::kCtlColorStatic:
            return static_cast<std::intptr_t>(
                OnCtlColorStatic(static_cast<DeviceContext>(wParam),
                                 static_cast<WindowHandle>(static_cast<std::uintptr_t>(lParam))));
        case wm::kEndSession:
            OnEndSession(wParam != 0);
            return 0;
        case wm::kDestroy:
            OnDestroy();
            window = kNoWindow;
            return 0;
        default:
            return 0;
    }
}

bool CDialog::OnInitDialog() {
    // The built-in items of the drop-down lists, which the resource script
    // cannot hold.
    if (const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId)) {
        for (const ControlTemplate& control : dialogTemplate->controls) {
            for (const std::u16string_view item : control.items)
                platform.dialogs.ComboAddString(Item(control.id), String(item).c_str());
        }
    }
    UpdateData(false);
    return true;
}

bool CDialog::OnCommand(int id, int code, WindowHandle) {
    if (code != bn::kClicked) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BrushHandle CDialog::OnCtlColorStatic(DeviceContext, WindowHandle) {
    return kNoBrush;
}

void CDialog::EndDialog(std::intptr_t result) {
    platform.dialogs.EndDialog(window, result);
}

WindowHandle CDialog::Item(int id) const {
    return window == kNoWindow ? kNoWindow : platform.dialogs.GetDlgItem(window, id);
}

String CDialog::ItemText(int id) const {
    String text;
    platform.dialogs.GetDlgItemTextW(window, id, text);
    return text;
}

void CDialog::SetItemText(int id, StringView text) {
    platform.dialogs.SetDlgItemTextW(window, id, String(text).c_str());
}

void CDialog::EnableItem(int id, bool enable) {
    platform.windows.EnableWindow(Item(id), enable);
}

void CDialog::ExchangeCheck(bool save, int id, std::int32_t& value) {
    if (save) {
        value = platform.dialogs.IsDlgButtonChecked(window, id) == bst::kChecked ? 1 : 0;
    } else {
        platform.dialogs.CheckDlgButton(window, id, value != 0 ? bst::kChecked : bst::kUnchecked);
    }
}

bool CDialog::ExchangeNumber(bool save, int id, std::int32_t& value) {
    if (!save) {
        SetItemText(id, DecimalText(value));
        return true;
    }
    std::int32_t number = 0;
    if (!ParseWholeNumber(ItemText(id), number)) {
        if (!quiet)
            platform.messageBoxes.AfxMessageBox(kNotAWholeNumberPrompt,
                                                mb::kOk | mb::kIconExclamation);
        return false;
    }
    value = number;
    return true;
}

void CDialog::ExchangeText(bool save, int id, String& value, int maxLength) {
    if (save) {
        value = ItemText(id);
        return;
    }
    SetItemText(id, value);
    if (maxLength > 0) platform.dialogs.EditLimitText(Item(id), maxLength);
}

void CDialog::ExchangeListIndex(bool save, int id, std::int32_t& value) {
    if (save) {
        value = platform.dialogs.ComboGetCurSel(Item(id));
    } else {
        platform.dialogs.ComboSetCurSel(Item(id), value);
    }
}

LanguageTexts* CDialog::Language() {
    return app.langFile;
}

}  // namespace nimbrel
