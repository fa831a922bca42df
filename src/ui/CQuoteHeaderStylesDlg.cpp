#include "ui/CQuoteHeaderStylesDlg.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "ui/ResourceIds.h"

namespace nimbrel {

namespace {

constexpr std::size_t kHeaderStyleCount = 5;

String TemplateOf(const QuoteHeaderSetting& header) {
    const char16_t* end = std::find(header.text, header.text + kMaxTemplateLength, u'\0');
    return String(header.text, end);
}

}  // namespace

CQuoteHeaderStylesDlg::CQuoteHeaderStylesDlg(Platform& platform_)
    : CDialog(platform_, IDD_QUOTE_HEADER_STYLES),
      current(&settings.emailHeader),
      templateText(TemplateOf(settings.emailHeader)) {}

bool CQuoteHeaderStylesDlg::IsValidTemplate(StringView text) {
    if (text.starts_with(u"-----") && text.ends_with(u"-----")) return false;
    if (text.find(u"news:") != StringView::npos && text.ends_with(u"...")) return false;
    return true;
}

bool CQuoteHeaderStylesDlg::DoDataExchange(bool save) {
    ExchangeText(save, IDC_QHS_TEMPLATE, templateText, kMaxTemplateLength);
    return true;
}

bool CQuoteHeaderStylesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (LanguageTexts* language = Language()) {
        language->TranslateTitle(*this, "#Quote Header Styles");
        language->TranslateControl(*this, IDC_QHS_TEMPLATE_LABEL, "#CustomHeader");
        language->TranslateControl(*this, IDOK, "#OK");
        language->TranslateControl(*this, IDCANCEL, "#Cancel");
        language->TranslateControl(*this, IDC_QHS_STYLE_LABEL, "#Style");
        String legend;
        if (language->GetBlock("#Custom Header Instructions", legend))
            SetItemText(IDC_QHS_LEGEND, legend);
        std::vector<String> styles;
        if (language->GetList("#Header Styles", styles) && styles.size() == kHeaderStyleCount) {
            const WindowHandle list = Item(IDC_QHS_STYLE);
            platform.dialogs.ComboResetContent(list);
            for (const String& style : styles)
                platform.dialogs.ComboAddString(list, style.c_str());
        }
    }
    LoadHeader(settings.emailHeader);
    platform.dialogs.CheckRadioButton(Window(), IDC_QHS_EMAIL, IDC_QHS_NEWS, IDC_QHS_EMAIL);
    return true;
}

void CQuoteHeaderStylesDlg::LoadHeader(QuoteHeaderSetting& header) {
    current = &header;
    const int style = header.style <= static_cast<std::uint32_t>(std::numeric_limits<int>::max())
                          ? static_cast<int>(header.style)
                          : -1;
    platform.dialogs.ComboSetCurSel(Item(IDC_QHS_STYLE), style);
    templateText = TemplateOf(header);
    UpdateData(false);
    ApplyEnablingRule();
}

bool CQuoteHeaderStylesDlg::StoreHeader() {
    UpdateData(true);
    if (!IsValidTemplate(templateText)) {
        platform.messageBoxes.MessageBoxW(kInvalidHeaderMessage, u"Error", mb::kIconHand);
        return false;
    }
    const int style = platform.dialogs.ComboGetCurSel(Item(IDC_QHS_STYLE));
    if (style != kComboError) current->style = static_cast<std::uint32_t>(style);
    std::fill(std::begin(current->text), std::end(current->text), u'\0');
    std::copy_n(templateText.begin(),
                std::min(templateText.size(), static_cast<std::size_t>(kMaxTemplateLength)),
                current->text);
    return true;
}

void CQuoteHeaderStylesDlg::ApplyEnablingRule() {
    const bool custom = platform.dialogs.ComboGetCurSel(Item(IDC_QHS_STYLE)) == kCustomHeaderStyle;
    for (const int id : {IDC_QHS_TEMPLATE_LABEL, IDC_QHS_TEMPLATE, IDC_QHS_LEGEND})
        EnableItem(id, custom);
}

void CQuoteHeaderStylesDlg::SwitchTo(QuoteHeaderSetting& header) {
    if (StoreHeader()) {
        LoadHeader(header);
        return;
    }
    // The click already moved the radio mark; it goes back to the header
    // still shown, which a later OK will store.
    platform.dialogs.CheckRadioButton(
        Window(), IDC_QHS_EMAIL, IDC_QHS_NEWS,
        current == &settings.emailHeader ? IDC_QHS_EMAIL : IDC_QHS_NEWS);
}

bool CQuoteHeaderStylesDlg::OnCommand(int id, int code, WindowHandle control) {
    if (id == IDC_QHS_STYLE) {
        if (code == cbn::kSelChange) ApplyEnablingRule();
        return true;
    }
    if (code == bn::kClicked && id == IDC_QHS_EMAIL) {
        SwitchTo(settings.emailHeader);
        return true;
    }
    if (code == bn::kClicked && id == IDC_QHS_NEWS) {
        SwitchTo(settings.newsHeader);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CQuoteHeaderStylesDlg::OnOK() {
    if (StoreHeader()) EndDialog(IDOK);
}

}  // namespace nimbrel
