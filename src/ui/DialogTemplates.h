// The dialog templates, the tray menu and the icons of Nimbrel, described
// without any platform: what the resource script Nimbrel.rc gives the Windows
// build, for the core's dialog classes and the simulated desktop. A unit test
// proves that this table and Nimbrel.rc agree.
#pragma once

#include <span>
#include <string_view>

#include "ui/ResourceIds.h"

namespace nimbrel {

enum class ControlKind {
    Label,  // static text
    Link,   // static text that CLinkLabel takes over (clicks are reported)
    Icon,   // static picture of an icon resource
    GroupBox,
    CheckBox,     // automatic two-state check box
    RadioButton,  // automatic radio button
    PushButton,
    DefaultPushButton,  // the button that Enter presses
    Edit,               // single-line edit
    DropDownList,       // combo box whose list is chosen from, not typed into
    ListView,
};

// The style flags of a control that the program relies on.
namespace ControlStyle {
inline constexpr unsigned kCentered = 1u << 0;              // text centred horizontally
inline constexpr unsigned kAutoHorizontalScroll = 1u << 1;  // edit text may outgrow the box
inline constexpr unsigned kVerticalScroll = 1u << 2;        // drop-down list with a scroll bar
inline constexpr unsigned kGroupStart = 1u << 3;            // first control of a group
inline constexpr unsigned kBorder = 1u << 4;
inline constexpr unsigned kReport = 1u << 5;           // list view in report view (columns)
inline constexpr unsigned kSingleSelection = 1u << 6;  // list view: one row at a time
inline constexpr unsigned kNoSortHeader = 1u << 7;     // list view: header not clickable
}  // namespace ControlStyle

// The window styles of a dialog.
namespace DialogStyle {
inline constexpr unsigned kPopup = 1u << 0;
inline constexpr unsigned kCaption = 1u << 1;
inline constexpr unsigned kSystemMenu = 1u << 2;
inline constexpr unsigned kMinimizeBox = 1u << 3;
inline constexpr unsigned kModalFrame = 1u << 4;
inline constexpr unsigned kDisabled = 1u << 5;    // created disabled
inline constexpr unsigned kAppWindow = 1u << 6;   // has a taskbar button while shown
inline constexpr unsigned kToolWindow = 1u << 7;  // small caption, no taskbar button
}  // namespace DialogStyle

struct ControlTemplate {
    int id;  // IDC_STATIC (-1) for controls that the program never addresses
    ControlKind kind;
    int x, y, width, height;   // dialog units
    unsigned style;            // ControlStyle flags
    std::u16string_view text;  // built-in text; empty for none
    int icon;                  // the icon resource an Icon control shows, else 0
    // Built-in items of a drop-down list, put in when the dialog initialises
    // (a resource script cannot hold them).
    std::span<const std::u16string_view> items;
};

struct DialogTemplate {
    int id;
    int width, height;  // dialog units
    unsigned style;     // DialogStyle flags; none of the dialogs is created visible
    std::u16string_view title;
    std::u16string_view fontName;
    int fontSize;                               // points
    std::span<const ControlTemplate> controls;  // in creation (tab) order

    // The first control with identifier `controlId`, or nullptr.
    const ControlTemplate* FindControl(int controlId) const;
};

struct MenuItemTemplate {
    int command;
    std::u16string_view text;
};

struct MenuTemplate {
    int id;
    std::u16string_view popup;  // name of the one pop-up, whose items are the menu
    std::span<const MenuItemTemplate> items;
};

struct IconResource {
    int id;
    int size;          // width and height in pixels at 96 DPI (the file has 16 to 48)
    int bitsPerPixel;  // 4 = 16 colours, 24 = true colour
    const char* file;  // relative to the folder of Nimbrel.rc
};

// Dialogs 102 (options), 146 (advanced options), 147 (quote header styles).
std::span<const DialogTemplate> AllDialogTemplates();
// The template with resource number `id`, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);
// Menu 129, the tray menu.
const MenuTemplate& TrayMenuTemplate();
// Icons 128, 142 and 145.
std::span<const IconResource> AllIconResources();

// The addresses behind the options dialog's e-mail and web links.
inline constexpr std::u16string_view kSupportAddress = u"support@nimbrel.example";
inline constexpr std::u16string_view kWebAddress = u"http://nimbrel.example/";

}  // namespace nimbrel
