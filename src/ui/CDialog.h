// The dialog framework the program's dialogs derive from: a dialog from one
// of the program's templates, modeless (Create) or modal (DoModal), whose
// dialog procedure turns the platform's messages into the virtual handlers
// below, and the data exchange between controls and variables.
//
// Initialisation (OnInitDialog) first puts the template's built-in items
// into its drop-down lists, then fills the controls from the variables
// (UpdateData(false)); derived dialogs do their own part after that. The
// Enter and Escape keys arrive as the commands IDOK and IDCANCEL: OnOK reads
// the controls and ends the dialog with IDOK unless a value was refused;
// OnCancel ends it with IDCANCEL. Ending a modeless dialog only hides it.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "shell/LanguageTexts.h"
#include "shell/Text.h"

namespace nimbrel {

// The framework's prompt for a number field that holds no whole number.
constexpr const char16_t* kNotAWholeNumberPrompt = u"Please enter an integer.";

class CDialog : public DialogProcedure, public DialogTexts {
  public:
    CDialog(Platform& platform, int templateId);
    // Destroys the dialog's window if it still exists.
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog modeless; false when it could not be created.
    bool Create(WindowHandle parent);
    // Runs the dialog modally and returns the value it ended with (IDOK,
    // IDCANCEL), -1 when it could not be created.
    std::intptr_t DoModal(WindowHandle parent);
    void DestroyWindow();
    WindowHandle Window() const { return window; }

    // Exchanges the data between the controls and the variables:
    // `saveAndValidate` reads the controls, otherwise the controls are
    // filled. Reading stops at the first refused value (after its prompt)
    // and returns false.
    bool UpdateData(bool saveAndValidate);

    // DialogTexts, for the language file's translation steps.
    bool HasControl(int id) const override;
    void SetControlText(int id, StringView text) override;
    void SetTitle(StringView text) override;

    // The dialog procedure.
    std::intptr_t DialogProc(WindowHandle dialog, std::uint32_t message, WParam wParam,
                             LParam lParam) override;

  protected:
    // The exchange of the dialog's variables; false when a value was
    // refused (only while saving).
    virtual bool DoDataExchange(bool saveAndValidate);
    virtual bool OnInitDialog();
    // A command: a button, a control notification (`code`) or a menu item.
    // True when handled; the default handles IDOK and IDCANCEL.
    virtual bool OnCommand(int id, int code, WindowHandle control);
    virtual void OnOK();
    virtual void OnCancel();
    // Closing by the title bar or the system menu; false leaves it to the
    // dialog manager, which turns it into IDCANCEL.
    virtual bool OnClose() { return false; }
    // The help key; true when handled.
    virtual bool OnHelp() { return false; }
    // The colour request of a static control: the brush to paint it with,
    // kNoBrush for the default.
    virtual BrushHandle OnCtlColorStatic(DeviceContext dc, WindowHandle control);
    // The window is being destroyed.
    virtual void OnDestroy() {}
    // The session ends (`ending`, WM_ENDSESSION): Windows ends the process
    // after this returns, without the message loop ending.
    virtual void OnEndSession(bool /*ending*/) {}

    void EndDialog(std::intptr_t result);

    // Controls by identifier.
    WindowHandle Item(int id) const;
    String ItemText(int id) const;
    void SetItemText(int id, StringView text);
    void EnableItem(int id, bool enable);

    // Exchange helpers for DoDataExchange.
    // A check box and a 0/1 variable.
    void ExchangeCheck(bool save, int id, std::int32_t& value);
    // An edit and a whole number. A text that is not a whole number is
    // refused with the framework's prompt (without it while `quiet`); the
    // variable keeps its value.
    bool ExchangeNumber(bool save, int id, std::int32_t& value);
    // An edit and a text; with `maxLength` > 0 the edit accepts no more.
    void ExchangeText(bool save, int id, String& value, int maxLength);
    // A drop-down list and the index of its selected item (-1 for none).
    void ExchangeListIndex(bool save, int id, std::int32_t& value);

    // The process-wide language file, null when start-up has opened none.
    static LanguageTexts* Language();

    Platform& platform;
    // Set while the controls are read where no one may be asked (the
    // session is ending): a refused value is refused without its prompt.
    bool quiet = false;

  private:
    int templateId;
    WindowHandle window = kNoWindow;
};

}  // namespace nimbrel
