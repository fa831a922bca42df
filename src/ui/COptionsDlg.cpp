#include "ui/COptionsDlg.h"

#include <string_view>
#include <vector>

#include "shell/App.h"
#include "shell/Settings.h"
#include "ui/CAdvancedOptionsDlg.h"
#include "ui/CQuoteHeaderStylesDlg.h"
#include "ui/DialogTemplates.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

namespace {

// The icon sizes and the status list's column widths at 96 DPI (100 %);
// the system's sizes and the screen's DPI scale them.
constexpr int kSmallIconSize = 16;
constexpr int kBigIconSize = 32;
constexpr int kWindowColumnWidth = 175;
constexpr int kStatusColumnWidth = 95;
constexpr int kBaseDpi = 96;
constexpr const char16_t* kTrayTip = u"Nimbrel";
constexpr const char16_t* kDisabledTrayTip = u"Nimbrel (disabled)";
constexpr Colour kLinkColour = Rgb(0, 0, 136);
constexpr Colour kHoverColour = Rgb(0, 0, 255);
constexpr std::u16string_view kMailSubjectAndBody =
    u"?subject=Nimbrel v1.19.2&body=[If you are sending a bug report, don't forget to specify "
    u"your CPU, OE version and OS]";

struct Translation {
    int id;
    const char* key;
};

constexpr Translation kTranslations[] = {
    {IDC_OPT_COMPOSITION_FRAME, "#Message composition frame"},
    {IDC_OPT_QUOTE_CHAR_LABEL, "#Quote character"},
    {IDC_OPT_WRAP_COLUMN_LABEL, "#Wrap at column"},
    {IDC_OPT_COMPRESSED_INDENTATION, "#Compressed indentation"},
    {IDC_OPT_CURSOR_AT_TOP, "#Position cursor at top"},
    {IDC_OPT_SIGNATURE_TO_BOTTOM, "#Move signature to bottom"},
    {IDC_OPT_IGNORE_HTML_MESSAGES, "#Ignore HTML messages"},
    {IDC_OPT_STRIP_QUOTED_SIGNATURE, "#Strip quoted signature"},
    {IDC_OPT_FIX_EXISTING_QUOTES, "#Fix existing OE quotes"},
    {IDC_OPT_COLOR_COMPOSE_WINDOW, "#Color message composition"},
    {IDC_OPT_ADVANCED_OPTIONS, "#Advanced Options"},
    {IDC_OPT_HIDE, "#Hide"},
    {IDC_OPT_TERMINATE, "#Terminate"},
    {IDC_OPT_VIEWING_FRAME, "#Viewing frame"},
    {IDC_OPT_COLOR_MESSAGE_VIEW, "#Coloring on"},
    {IDC_OPT_CONTINUOUS_COLORING, "#Compatibility mode"},
    {IDC_OPT_REFORMAT_MESSAGE_VIEW, "#Reformat"},
    {IDC_OPT_DONATIONS_LINK, "#Donations"},
    {IDC_OPT_QUOTE_HEADER_STYLES, "#Quote Header Styles"},
    {IDC_OPT_EMOTICONS, "#Emoticons"},
    {IDC_OPT_FONT_STYLES, "#Font Styles"},
    {IDC_OPT_STANDARDIZED_INDENTATION, "#Standardized indentation"},
};
static_assert(std::size(kTranslations) == 22);

std::int32_t Flipped(std::int32_t flag) {
    return flag != 0 ? 0 : 1;
}

// An icon of the size the system uses for `metric` (its value at 96 DPI
// where the system gives none).
IconHandle LoadIcon(WindowSystem& windows, int resourceId, int metric, int fallback) {
    const int size = windows.GetSystemMetrics(metric);
    const int side = size > 0 ? size : fallback;
    return windows.LoadImageW(resourceId, side, side);
}

}  // namespace

COptionsDlg::COptionsDlg(Platform& platform_, TimerProc watchTimerProc_)
    : CDialog(platform_, IDD_OPTIONS),
      colorer(platform_),
      watchTimerProc(watchTimerProc_),
      disabledIcon(
          LoadIcon(platform_.windows, IDI_NIMBREL_DISABLED, sm::kCxSmIcon, kSmallIconSize)),
      donationsLink(platform_),
      emailLink(platform_),
      webLink(platform_),
      tray(platform_),
      normalIcon(LoadIcon(platform_.windows, IDI_NIMBREL, sm::kCxSmIcon, kSmallIconSize)) {}

COptionsDlg::~COptionsDlg() {
    DestroyWindow();
    for (const IconHandle icon : {disabledIcon, normalIcon, bigIcon})
        if (icon != kNoIcon) platform.windows.DestroyIcon(icon);
}

bool COptionsDlg::Create() {
    return CDialog::Create(kNoWindow);
}

bool COptionsDlg::DoDataExchange(bool save) {
    fillingControls = !save;
    ExchangeCheck(save, IDC_OPT_COLOR_MESSAGE_VIEW, settings.colorMessageView);
    ExchangeCheck(save, IDC_OPT_CONTINUOUS_COLORING, settings.continuousColoring);
    ExchangeCheck(save, IDC_OPT_REFORMAT_MESSAGE_VIEW, settings.reformatMessageView);
    ExchangeCheck(save, IDC_OPT_FONT_STYLES, settings.fontStyles);
    ExchangeCheck(save, IDC_OPT_EMOTICONS, settings.emoticons);
    ExchangeCheck(save, IDC_OPT_STANDARDIZED_INDENTATION, settings.standardizedIndentation);
    ExchangeCheck(save, IDC_OPT_COMPRESSED_INDENTATION, settings.compressedIndentation);
    ExchangeCheck(save, IDC_OPT_CURSOR_AT_TOP, settings.cursorAtTop);
    ExchangeCheck(save, IDC_OPT_SIGNATURE_TO_BOTTOM, settings.signatureToBottom);
    ExchangeCheck(save, IDC_OPT_IGNORE_HTML_MESSAGES, settings.ignoreHtmlMessages);
    ExchangeCheck(save, IDC_OPT_STRIP_QUOTED_SIGNATURE, settings.stripQuotedSignature);
    ExchangeCheck(save, IDC_OPT_FIX_EXISTING_QUOTES, settings.fixExistingQuotes);
    ExchangeCheck(save, IDC_OPT_COLOR_COMPOSE_WINDOW, settings.colorComposeWindow);
    // Last, so that a refused wrap column does not keep the check boxes
    // from being read.
    const bool accepted = ExchangeNumber(save, IDC_OPT_WRAP_COLUMN, settings.wrapColumn);
    fillingControls = false;
    return accepted;
}

void COptionsDlg::ReadControls() {
    UpdateData(true);
    settings.wrapColumn = ClampWrapColumn(settings.wrapColumn);
}

void COptionsDlg::FillControls() {
    UpdateData(false);
}

bool COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const WindowHandle dialog = Window();
    donationsLink.Attach(dialog, IDC_OPT_DONATIONS_LINK);
    emailLink.Attach(dialog, IDC_OPT_EMAIL_LINK);
    webLink.Attach(dialog, IDC_OPT_WEB_LINK);

    SetItemText(IDC_OPT_VERSION, kVersionText);
    for (CLinkLabel* link : {&donationsLink, &emailLink, &webLink})
        link->SetColours(kLinkColour, kLinkColour, kHoverColour);
    emailLink.SetURL(u"mailto:" + String(kSupportAddress) + String(kMailSubjectAndBody));
    donationsLink.SetURL(kDonationsFile);

    if (LanguageTexts* language = Language()) {
        for (const Translation& translation : kTranslations)
            language->TranslateControl(*this, translation.id, translation.key);
    }
    FillControls();

    bigIcon = LoadIcon(platform.windows, IDI_NIMBREL_BIG, sm::kCxIcon, kBigIconSize);
    platform.windows.SendMessageW(dialog, wm::kSetIcon, icon::kBig, static_cast<LParam>(bigIcon));
    platform.windows.SendMessageW(dialog, wm::kSetIcon, icon::kSmall,
                                  static_cast<LParam>(normalIcon));

    const WindowHandle list = Item(IDC_OPT_STATUS_LIST);
    const int reported = platform.graphics.GetDeviceCaps(caps::kLogPixelsX);
    const int dpi = reported > 0 ? reported : kBaseDpi;
    platform.dialogs.ListViewInsertColumn(list, 0, u"Window", lvcfmt::kLeft,
                                          kWindowColumnWidth * dpi / kBaseDpi);
    platform.dialogs.ListViewInsertColumn(list, 1, u"Status", lvcfmt::kLeft,
                                          kStatusColumnWidth * dpi / kBaseDpi);

    platform.menus.ModifyMenuW(platform.menus.GetSystemMenu(dialog), sc::kClose,
                               mf::kByCommand | mf::kString, sc::kClose, u"Hide");

    platform.loop.SetTimer(dialog, kWatchTimerId,
                           static_cast<std::uint32_t>(settings.checkInterval), watchTimerProc);
    SetUpTray();
    SelectQuoteChar();
    return true;
}

void COptionsDlg::SetUpTray() {
    tray.Create(kNoWindow, wm::kUser, kTrayTip, normalIcon, IDR_TRAYMENU);
    LanguageTexts* language = Language();
    std::vector<String> items;
    const auto& builtIn = TrayMenuTemplate().items;
    if (language != nullptr && language->GetList("#TrayMenu", items) &&
        items.size() == builtIn.size()) {
        for (std::size_t i = 0; i < items.size(); ++i)
            tray.SetMenuText(static_cast<std::uint32_t>(i), true,
                             static_cast<std::uint32_t>(builtIn[i].command), items[i]);
        invertBase = items[2];
    }
    // After the texts: replacing an item clears its default mark.
    tray.SetMenuDefaultItem(0);
    if (language != nullptr) {
        language->GetLine("#top", topWord, false);
        language->GetLine("#bottom", bottomWord, false);
    }
    UpdateInvertMenuText();
    if (settings.hideTrayIcon != 0) SetTrayIconHidden(true);
}

void COptionsDlg::SelectQuoteChar() {
    const WindowHandle list = Item(IDC_OPT_QUOTE_CHAR);
    const String quote(1, settings.quoteChar);
    platform.dialogs.ComboSetCurSel(list,
                                    platform.dialogs.ComboFindStringExact(list, quote.c_str()));
}

void COptionsDlg::UpdateInvertMenuText() {
    const String& cursorWord = settings.cursorAtTop != 0 ? topWord : bottomWord;
    const String& signatureWord = settings.signatureToBottom != 0 ? bottomWord : topWord;
    tray.SetMenuText(ID_TRAY_INVERT, false, ID_TRAY_INVERT,
                     invertBase + u" (" + cursorWord + u"/" + signatureWord + u")");
}

void COptionsDlg::AddStatusLine(StringView windowTitle, StringView status) {
    const WindowHandle list = Item(IDC_OPT_STATUS_LIST);
    const int row = platform.dialogs.ListViewInsertItem(list, 0, String(windowTitle).c_str());
    if (row >= 0) platform.dialogs.ListViewSetItemText(list, row, 1, String(status).c_str());
}

void COptionsDlg::SetTrayIconHidden(bool hide) {
    if (hide) {
        tray.Hide();
    } else {
        tray.Show();
    }
}

CLinkLabel* COptionsDlg::LinkOf(int id) {
    switch (id) {
        case IDC_OPT_DONATIONS_LINK:
            return &donationsLink;
        case IDC_OPT_EMAIL_LINK:
            return &emailLink;
        case IDC_OPT_WEB_LINK:
            return &webLink;
        default:
            return nullptr;
    }
}

bool COptionsDlg::OnCommand(int id, int code, WindowHandle control) {
    if (CLinkLabel* link = LinkOf(id)) {
        if (code == bn::kClicked) link->OnClicked();
        return true;
    }
    switch (id) {
        case IDC_OPT_WRAP_COLUMN:
            if (code == en::kChange && !fillingControls) colorer.suspended = 1;
            if (code == en::kKillFocus) OnWrapColumnLeft();
            return true;
        case IDC_OPT_QUOTE_CHAR:
            if (code == cbn::kSelChange) OnQuoteCharChanged();
            return true;
        default:
            break;
    }
    if (code != bn::kClicked) return CDialog::OnCommand(id, code, control);
    switch (id) {
        case IDC_OPT_HIDE:
            OnHide();
            return true;
        case IDC_OPT_TERMINATE:
        case ID_TRAY_TERMINATE:
            app.EndProgram();
            return true;
        case IDC_OPT_ADVANCED_OPTIONS:
            OnAdvancedOptions();
            return true;
        case IDC_OPT_QUOTE_HEADER_STYLES: {
            CQuoteHeaderStylesDlg headerStyles(platform);
            headerStyles.DoModal(Window());
            return true;
        }
        case IDC_OPT_FONT_STYLES:
            OnFontStyles();
            return true;
        case ID_TRAY_SHOW_DIALOG:
            ShowDialog();
            return true;
        case ID_TRAY_DISABLE_ENABLE:
            ToggleProcessing();
            return true;
        case ID_TRAY_INVERT:
            Invert();
            return true;
        case ID_TRAY_HIDE_ICON:
            HideTrayIcon();
            return true;
        case ID_TRAY_HELP:
            OpenHelp();
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
}

bool COptionsDlg::OnClose() {
    OnHide();
    return true;
}

bool COptionsDlg::OnHelp() {
    OpenHelp();
    return true;
}

BrushHandle COptionsDlg::OnCtlColorStatic(DeviceContext dc, WindowHandle control) {
    for (CLinkLabel* link : {&donationsLink, &emailLink, &webLink})
        if (control != kNoWindow && control == link->Window()) return link->OnCtlColor(dc);
    return kNoBrush;
}

void COptionsDlg::OnDestroy() {
    platform.loop.KillTimer(Window(), kWatchTimerId);
    tray.Destroy();
}

void COptionsDlg::OnEndSession(bool ending) {
    if (!ending) return;
    // As Terminate, but nobody may be asked now: a wrap column that is no
    // number keeps its value without the prompt.
    quiet = true;
    ReadControls();
    quiet = false;
    SaveSettings();
}

void COptionsDlg::OnHide() {
    platform.windows.ShowWindow(Window(), sw::kHide);
    SaveSettings();
}

void COptionsDlg::OnAdvancedOptions() {
    const std::int32_t interval = settings.checkInterval;
    CAdvancedOptionsDlg advanced(platform, *this);
    advanced.DoModal(Window());
    if (settings.checkInterval != interval) {
        platform.loop.KillTimer(Window(), kWatchTimerId);
        platform.loop.SetTimer(Window(), kWatchTimerId,
                               static_cast<std::uint32_t>(settings.checkInterval), watchTimerProc);
    }
}

void COptionsDlg::OnWrapColumnLeft() {
    ReadControls();
    FillControls();
    colorer.suspended = 0;
}

void COptionsDlg::OnQuoteCharChanged() {
    const WindowHandle list = Item(IDC_OPT_QUOTE_CHAR);
    String text;
    const int selected = platform.dialogs.ComboGetCurSel(list);
    if (platform.dialogs.ComboGetLBText(list, selected, text) > 0) settings.quoteChar = text[0];
}

void COptionsDlg::OnFontStyles() {
    UpdateData(true);
    if (settings.fontStyles == 0) return;
    LanguageTexts* language = Language();
    const String* question = language ? language->GetText("#Font Style Question") : nullptr;
    const int answer = platform.messageBoxes.MessageBoxW(
        question ? StringView(*question) : u"", u"Nimbrel", mb::kYesNo | mb::kIconQuestion);
    settings.keepStyleMarkers = answer == mb::kIdYes ? 1 : 0;
}

void COptionsDlg::ShowDialog() {
    platform.windows.EnableWindow(Window(), true);
    platform.windows.ShowWindow(Window(), sw::kShowNormal);
    FillControls();
    platform.windows.UpdateWindow(Window());
}

void COptionsDlg::ToggleProcessing() {
    colorer.suspended = colorer.suspended != 0 ? 0 : 1;
    if (colorer.suspended != 0) {
        tray.SetIcon(disabledIcon);
        tray.SetTooltipText(kDisabledTrayTip);
    } else {
        tray.SetIcon(normalIcon);
        tray.SetTooltipText(kTrayTip);
    }
}

void COptionsDlg::Invert() {
    settings.cursorAtTop = Flipped(settings.cursorAtTop);
    settings.signatureToBottom = Flipped(settings.signatureToBottom);
    FillControls();
    UpdateInvertMenuText();
}

void COptionsDlg::HideTrayIcon() {
    SetTrayIconHidden(true);
    settings.hideTrayIcon = 1;
    SaveSettings();
}

void COptionsDlg::OpenHelp() {
    platform.shell.ShellExecuteW(kNoWindow, u"open", kHelpFile, nullptr, nullptr, sw::kShowNormal);
}

}  // namespace nimbrel
