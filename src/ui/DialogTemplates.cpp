#include "ui/DialogTemplates.h"

namespace nimbrel {

namespace {

using namespace ControlStyle;
using K = ControlKind;

constexpr std::u16string_view kQuoteChars[] = {u">", u"|", u":"};
constexpr std::u16string_view kAltFunctions[] = {u"does nothing", u"deactivates", u"activates"};
constexpr std::u16string_view kHeaderStyles[] = {u"Outlook Express", u"short", u"short with email",
                                                 u"none", u"custom"};

constexpr ControlTemplate kOptionsControls[] = {
    {IDC_OPT_STATUS_LIST,
     K::ListView,
     7,
     7,
     193,
     116,
     kReport | kSingleSelection | kNoSortHeader | kBorder,
     u"",
     0,
     {}},
    {IDC_STATIC, K::Icon, 7, 126, 20, 20, 0, u"", IDI_NIMBREL_BIG, {}},
    {IDC_STATIC, K::Label, 33, 133, 43, 9, 0, u"Nimbrel", 0, {}},
    {IDC_OPT_VERSION, K::Label, 7, 149, 76, 11, kCentered, u"Version 1.xx", 0, {}},
    {IDC_STATIC, K::Label, 7, 165, 76, 10, kCentered, u"Free software by the", 0, {}},
    {IDC_STATIC, K::Label, 7, 174, 76, 11, kCentered, u"Nimbrel developers", 0, {}},
    {IDC_OPT_DONATIONS_LINK, K::Link, 7, 192, 76, 9, kCentered, u"Donations", 0, {}},
    {IDC_OPT_EMAIL_LINK, K::Link, 4, 202, 82, 9, kCentered, kSupportAddress, 0, {}},
    {IDC_OPT_WEB_LINK, K::Link, 7, 212, 76, 9, kCentered, kWebAddress, 0, {}},
    {IDC_OPT_VIEWING_FRAME, K::GroupBox, 7, 225, 80, 60, 0, u"Viewing", 0, {}},
    {IDC_OPT_COLOR_MESSAGE_VIEW, K::CheckBox, 14, 237, 66, 8, 0, u"Coloring", 0, {}},
    {IDC_OPT_CONTINUOUS_COLORING, K::CheckBox, 14, 246, 66, 8, 0, u"CMode", 0, {}},
    {IDC_OPT_REFORMAT_MESSAGE_VIEW, K::CheckBox, 14, 255, 70, 8, 0, u"Reformat (beta)", 0, {}},
    {IDC_OPT_FONT_STYLES, K::CheckBox, 14, 264, 66, 8, 0, u"Font styles", 0, {}},
    {IDC_OPT_EMOTICONS, K::CheckBox, 14, 273, 66, 8, 0, u"Emoticons", 0, {}},
    {IDC_OPT_COMPOSITION_FRAME, K::GroupBox, 92, 129, 108, 156, 0, u"Message Composition", 0, {}},
    {IDC_OPT_QUOTE_CHAR_LABEL, K::Label, 100, 144, 58, 11, 0, u"Quote character", 0, {}},
    {IDC_OPT_QUOTE_CHAR, K::DropDownList, 162, 142, 23, 43, 0, u"", 0, kQuoteChars},
    {IDC_OPT_WRAP_COLUMN_LABEL, K::Label, 100, 159, 57, 11, 0, u"Wrap at column", 0, {}},
    {IDC_OPT_WRAP_COLUMN, K::Edit, 162, 157, 23, 12, kAutoHorizontalScroll, u"", 0, {}},
    {IDC_OPT_STANDARDIZED_INDENTATION,
     K::CheckBox,
     100,
     174,
     97,
     10,
     0,
     u"Standardized indentation",
     0,
     {}},
    {IDC_OPT_COMPRESSED_INDENTATION,
     K::CheckBox,
     100,
     185,
     97,
     10,
     0,
     u"Compressed indentation",
     0,
     {}},
    {IDC_OPT_CURSOR_AT_TOP, K::CheckBox, 100, 196, 97, 10, 0, u"Position cursor at top", 0, {}},
    {IDC_OPT_SIGNATURE_TO_BOTTOM,
     K::CheckBox,
     100,
     207,
     97,
     10,
     0,
     u"Move signature to bottom",
     0,
     {}},
    {IDC_OPT_IGNORE_HTML_MESSAGES,
     K::CheckBox,
     100,
     218,
     97,
     10,
     0,
     u"Ignore HTML messages",
     0,
     {}},
    {IDC_OPT_STRIP_QUOTED_SIGNATURE,
     K::CheckBox,
     100,
     229,
     97,
     10,
     0,
     u"Strip quoted signature",
     0,
     {}},
    {IDC_OPT_FIX_EXISTING_QUOTES,
     K::CheckBox,
     100,
     240,
     97,
     10,
     0,
     u"Fix existing OE quotes",
     0,
     {}},
    {IDC_OPT_COLOR_COMPOSE_WINDOW,
     K::CheckBox,
     100,
     251,
     97,
     10,
     0,
     u"Coloring (experimental)",
     0,
     {}},
    {IDC_OPT_QUOTE_HEADER_STYLES,
     K::PushButton,
     100,
     266,
     90,
     13,
     0,
     u"Quote Header Styles",
     0,
     {}},
    {IDC_OPT_ADVANCED_OPTIONS, K::PushButton, 7, 290, 80, 14, 0, u"Advanced Options", 0, {}},
    {IDC_OPT_TERMINATE, K::PushButton, 92, 290, 52, 14, 0, u"Terminate", 0, {}},
    {IDC_OPT_HIDE, K::PushButton, 148, 290, 52, 14, 0, u"Hide", 0, {}},
};

constexpr ControlTemplate kAdvancedControls[] = {
    {IDC_ADV_CHECK_INTERVAL_LABEL, K::Label, 7, 9, 103, 8, 0, u"Check Interval", 0, {}},
    {IDC_ADV_CHECK_INTERVAL, K::Edit, 120, 7, 38, 12, 0, u"", 0, {}},
    {IDC_ADV_OE_REACTION_DELAY_LABEL, K::Label, 7, 23, 104, 8, 0, u"OE Reaction Delay", 0, {}},
    {IDC_ADV_OE_REACTION_DELAY, K::Edit, 120, 21, 38, 12, 0, u"", 0, {}},
    {IDC_ADV_CLIPBOARD_TIMEOUT_LABEL, K::Label, 7, 37, 104, 8, 0, u"Clipboard.Open Timeout", 0, {}},
    {IDC_ADV_CLIPBOARD_TIMEOUT, K::Edit, 120, 35, 38, 12, 0, u"", 0, {}},
    {IDC_ADV_INIT_DELAY_LABEL,
     K::Label,
     7,
     51,
     107,
     8,
     0,
     u"Message Composition Init Delay",
     0,
     {}},
    {IDC_ADV_INIT_DELAY, K::Edit, 120, 49, 38, 12, 0, u"", 0, {}},
    {IDC_ADV_DISPLAY_WARNINGS,
     K::CheckBox,
     7,
     68,
     151,
     10,
     0,
     u"Display warnings on errors",
     0,
     {}},
    {IDC_ADV_DEPEND_ON_OE, K::CheckBox, 7, 80, 151, 10, 0, u"Depend on OE", 0, {}},
    {IDC_ADV_REFORMAT_ARBITRARY,
     K::CheckBox,
     7,
     92,
     151,
     10,
     0,
     u"For 'Reformat' allow arbitrary line length",
     0,
     {}},
    {IDC_ADV_HIDE_TRAY_ICON, K::CheckBox, 7, 104, 151, 10, 0, u"Hide tray icon", 0, {}},
    {IDC_ADV_ISO8859_FIX,
     K::CheckBox,
     7,
     116,
     151,
     10,
     0,
     u"ISO-8859-1/15 signature fix (deprecated)",
     0,
     {}},
    {IDC_ADV_USE_CLIPBOARD, K::CheckBox, 7, 128, 151, 10, 0, u"Use clipboard (deprecated)", 0, {}},
    {IDC_ADV_ALT_LABEL, K::Label, 7, 147, 20, 8, 0, u"Alt ...", 0, {}},
    {IDC_ADV_ALT_FUNCTION, K::DropDownList, 29, 145, 75, 58, kVerticalScroll, u"", 0,
     kAltFunctions},
    {IDCANCEL, K::PushButton, 67, 168, 43, 13, 0, u"Cancel", 0, {}},
    {IDOK, K::DefaultPushButton, 115, 168, 43, 13, 0, u"OK", 0, {}},
};

// The template edit scrolls so that a template of up to 255 characters can be
// typed although the box shows far fewer.
constexpr ControlTemplate kHeaderStylesControls[] = {
    {IDC_QHS_EMAIL, K::RadioButton, 7, 7, 35, 12, kGroupStart, u"Email", 0, {}},
    {IDC_QHS_NEWS, K::RadioButton, 46, 7, 39, 12, 0, u"News", 0, {}},
    {IDC_QHS_STYLE_LABEL, K::Label, 7, 26, 20, 10, 0, u"Style:", 0, {}},
    {IDC_QHS_STYLE, K::DropDownList, 29, 24, 121, 62, kVerticalScroll, u"", 0, kHeaderStyles},
    {IDC_QHS_TEMPLATE_LABEL, K::Label, 7, 41, 143, 9, 0, u"Custom Header:", 0, {}},
    {IDC_QHS_TEMPLATE, K::Edit, 7, 51, 143, 12, kAutoHorizontalScroll, u"", 0, {}},
    {IDC_QHS_LEGEND,
     K::Label,
     7,
     68,
     143,
     41,
     0,
     u"%n = name of sender\n%m = email address\n\\n = line break\n%t = time (email only)\n"
     u"%l = reference link (news only)",
     0,
     {}},
    {IDCANCEL, K::PushButton, 48, 115, 48, 12, 0, u"Cancel", 0, {}},
    {IDOK, K::DefaultPushButton, 102, 115, 48, 12, 0, u"OK", 0, {}},
};

using namespace DialogStyle;

constexpr DialogTemplate kDialogs[] = {
    {IDD_OPTIONS, 207, 311,
     kPopup | kCaption | kSystemMenu | kMinimizeBox | kModalFrame | kDisabled | kAppWindow,
     u"Nimbrel   ", u"MS Sans Serif", 8, kOptionsControls},
    {IDD_ADVANCED_OPTIONS, 165, 188, kPopup | kCaption | kModalFrame | kToolWindow,
     u"Advanced Options", u"MS Sans Serif", 8, kAdvancedControls},
    {IDD_QUOTE_HEADER_STYLES, 157, 133, kPopup | kCaption | kSystemMenu | kModalFrame,
     u"Quote Header Styles", u"MS Sans Serif", 8, kHeaderStylesControls},
};

constexpr MenuItemTemplate kTrayMenuItems[] = {
    {ID_TRAY_SHOW_DIALOG, u"Show Dialog"},
    {ID_TRAY_DISABLE_ENABLE, u"Disable/Enable"},
    {ID_TRAY_INVERT, u"Invert Cursor/Sig"},
    {ID_TRAY_HIDE_ICON, u"Hide Tray Icon"},
    {ID_TRAY_HELP, u"Help"},
    {ID_TRAY_TERMINATE, u"Terminate"},
};

constexpr MenuTemplate kTrayMenu = {IDR_TRAYMENU, u"SYSTRAY", kTrayMenuItems};

constexpr IconResource kIcons[] = {
    {IDI_NIMBREL, 16, 4, "res/nimbrel.ico"},
    {IDI_NIMBREL_BIG, 32, 24, "res/nimbrel-big.ico"},
    {IDI_NIMBREL_DISABLED, 16, 4, "res/nimbrel-disabled.ico"},
};

}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
    for (const ControlTemplate& control : controls)
        if (control.id == controlId) return &control;
    return nullptr;
}

std::span<const DialogTemplate> AllDialogTemplates() {
    return kDialogs;
}

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : kDialogs)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

const MenuTemplate& TrayMenuTemplate() {
    return kTrayMenu;
}

std::span<const IconResource> AllIconResources() {
    return kIcons;
}

}  // namespace nimbrel
