// The advanced options dialog (template 146), run modally from the options
// dialog. It works on copies of its settings: the settings record changes
// only when OK is pressed and every number field holds a whole number. A
// changed "Hide tray icon" hides or shows the tray icon at once.
#pragma once

#include <cstdint>

#include "ui/CDialog.h"

namespace nimbrel {

class COptionsDlg;

class CAdvancedOptionsDlg : public CDialog {
  public:
    // Copies the dialog's eleven settings from the settings record.
    // `optionsDialog` hides or shows the tray icon.
    CAdvancedOptionsDlg(Platform& platform, COptionsDlg& optionsDialog);

    std::int32_t oeReactionDelay;
    std::int32_t clipboardOpenTimeout;
    std::int32_t checkInterval;
    std::int32_t displayWarnings;
    std::int32_t compositionInitDelay;
    std::int32_t dependOnOE;
    std::int32_t useClipboard;
    std::int32_t reformatArbitraryLength;
    std::int32_t altFunction;
    std::int32_t hideTrayIcon;
    std::int32_t iso8859SignatureFix;

  protected:
    bool DoDataExchange(bool saveAndValidate) override;
    bool OnInitDialog() override;
    // Reads the controls; stops (the dialog stays open, nothing is stored)
    // at a number field that holds no whole number. Otherwise copies the
    // fields into the settings record, hides or shows the tray icon when
    // "Hide tray icon" differs from the record, and ends the dialog.
    void OnOK() override;

  private:
    COptionsDlg& options;
};

}  // namespace nimbrel
