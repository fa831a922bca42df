// The quote header styles dialog (template 147), run modally from the
// options dialog. It edits the e-mail and the news quote header of the
// settings record in place: a style from the list and, for the style
// "custom", a template. Switching between Email and News stores the header
// shown at once, so Cancel does not undo a switch.
#pragma once

#include <cstdint>

#include "shell/Settings.h"
#include "ui/CDialog.h"

namespace nimbrel {

constexpr int kCustomHeaderStyle = 4;
constexpr int kMaxTemplateLength = kTemplateUnits - 1;  // 255
constexpr const char16_t* kInvalidHeaderMessage = u"Invalid quote header!";

class CQuoteHeaderStylesDlg : public CDialog {
  public:
    // The template text starts as the e-mail header's.
    explicit CQuoteHeaderStylesDlg(Platform& platform);

    // Shows `header` (a header of the settings record) and makes it the one
    // StoreHeader writes.
    void LoadHeader(QuoteHeaderSetting& header);
    // Reads the controls; a template that the reply reformatter would take
    // for Outlook Express's own header is refused ("Invalid quote header!")
    // and nothing is stored. Otherwise the selected style and the template
    // (at most 255 units, zeros behind it) go into the header shown. A list
    // with no selection leaves the style as it was.
    bool StoreHeader();
    // Whether `text` may be stored as a template: not one that begins and
    // ends with "-----", not one that contains "news:" and ends with "...".
    static bool IsValidTemplate(StringView text);

  protected:
    bool DoDataExchange(bool saveAndValidate) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, WindowHandle control) override;
    void OnOK() override;

  private:
    // The template's label, edit and legend are enabled for "custom" only.
    void ApplyEnablingRule();
    void SwitchTo(QuoteHeaderSetting& header);

    QuoteHeaderSetting* current;
    String templateText;
};

}  // namespace nimbrel
