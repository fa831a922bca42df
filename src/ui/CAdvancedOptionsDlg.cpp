#include "ui/CAdvancedOptionsDlg.h"

#include <vector>

#include "shell/Settings.h"
#include "ui/COptionsDlg.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

namespace {

struct Translation {
    int id;
    const char* key;
};

constexpr Translation kTranslations[] = {
    {IDC_ADV_OE_REACTION_DELAY_LABEL, "#Adv:OE Reaction Delay"},
    {IDC_ADV_CHECK_INTERVAL_LABEL, "#Adv:Check Interval"},
    {IDC_ADV_CLIPBOARD_TIMEOUT_LABEL, "#Adv:Clipboard.Open Timeout"},
    {IDC_ADV_INIT_DELAY_LABEL, "#Adv:Message Composition Init Delay"},
    {IDC_ADV_DISPLAY_WARNINGS, "#Adv:Display Warnings On Errors"},
    {IDC_ADV_DEPEND_ON_OE, "#Depend on OE"},
    {IDOK, "#OK"},
    {IDCANCEL, "#Cancel"},
    {IDC_ADV_USE_CLIPBOARD, "#Use clipboard"},
    {IDC_ADV_ALT_LABEL, "#Alt static"},
    {IDC_ADV_HIDE_TRAY_ICON, "#Hide tray icon"},
    {IDC_ADV_REFORMAT_ARBITRARY, "#Reformat arbitrary"},
    {IDC_ADV_ISO8859_FIX, "#ISO-8859-x signature fix"},
};
static_assert(std::size(kTranslations) == 13);

constexpr std::size_t kAltFunctionCount = 3;

}  // namespace

CAdvancedOptionsDlg::CAdvancedOptionsDlg(Platform& platform_, COptionsDlg& optionsDialog)
    : CDialog(platform_, IDD_ADVANCED_OPTIONS),
      oeReactionDelay(settings.oeReactionDelay),
      clipboardOpenTimeout(settings.clipboardOpenTimeout),
      checkInterval(settings.checkInterval),
      displayWarnings(settings.displayWarnings),
      compositionInitDelay(settings.compositionInitDelay),
      dependOnOE(settings.dependOnOE),
      useClipboard(settings.useClipboard),
      reformatArbitraryLength(settings.reformatArbitraryLength),
      altFunction(settings.altFunction),
      hideTrayIcon(settings.hideTrayIcon),
      iso8859SignatureFix(settings.iso8859SignatureFix),
      options(optionsDialog) {}

bool CAdvancedOptionsDlg::DoDataExchange(bool save) {
    if (!ExchangeNumber(save, IDC_ADV_CHECK_INTERVAL, checkInterval) ||
        !ExchangeNumber(save, IDC_ADV_OE_REACTION_DELAY, oeReactionDelay) ||
        !ExchangeNumber(save, IDC_ADV_CLIPBOARD_TIMEOUT, clipboardOpenTimeout) ||
        !ExchangeNumber(save, IDC_ADV_INIT_DELAY, compositionInitDelay))
        return false;
    ExchangeCheck(save, IDC_ADV_DISPLAY_WARNINGS, displayWarnings);
    ExchangeCheck(save, IDC_ADV_DEPEND_ON_OE, dependOnOE);
    ExchangeCheck(save, IDC_ADV_REFORMAT_ARBITRARY, reformatArbitraryLength);
    ExchangeCheck(save, IDC_ADV_HIDE_TRAY_ICON, hideTrayIcon);
    ExchangeCheck(save, IDC_ADV_ISO8859_FIX, iso8859SignatureFix);
    ExchangeCheck(save, IDC_ADV_USE_CLIPBOARD, useClipboard);
    ExchangeListIndex(save, IDC_ADV_ALT_FUNCTION, altFunction);
    return true;
}

bool CAdvancedOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LanguageTexts* language = Language();
    if (language == nullptr) return true;
    language->TranslateTitle(*this, "#Advanced Options");
    for (const Translation& translation : kTranslations)
        language->TranslateControl(*this, translation.id, translation.key);
    std::vector<String> items;
    if (language->GetList("#Alt Functions", items) && items.size() == kAltFunctionCount) {
        const WindowHandle list = Item(IDC_ADV_ALT_FUNCTION);
        platform.dialogs.ComboResetContent(list);
        for (std::size_t i = 0; i < items.size(); ++i)
            platform.dialogs.ComboInsertString(list, static_cast<int>(i), items[i].c_str());
        platform.dialogs.ComboSetCurSel(list, settings.altFunction);
    }
    return true;
}

void CAdvancedOptionsDlg::OnOK() {
    if (!UpdateData(true)) return;
    settings.oeReactionDelay = oeReactionDelay;
    settings.clipboardOpenTimeout = clipboardOpenTimeout;
    settings.checkInterval = checkInterval;
    settings.displayWarnings = displayWarnings;
    settings.compositionInitDelay = compositionInitDelay;
    settings.dependOnOE = dependOnOE;
    settings.useClipboard = useClipboard;
    settings.reformatArbitraryLength = reformatArbitraryLength;
    settings.altFunction = altFunction;
    settings.iso8859SignatureFix = iso8859SignatureFix;
    if (hideTrayIcon != settings.hideTrayIcon) {
        settings.hideTrayIcon = hideTrayIcon;
        options.SetTrayIconHidden(hideTrayIcon != 0);
    }
    EndDialog(IDOK);
}

}  // namespace nimbrel
