// Nimbrel.rc (what the Windows build compiles) and DialogTemplates (what the
// core and the simulated desktop use) describe the same dialogs, menu and
// icons. Both are written out here as one line per resource and control, the
// script by a small reader of the statements it uses (one per line), and the
// two lists must be equal.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/GoldenCase.h"
#include "support/UiScenario.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {
namespace {

const std::string kUiDir = std::string(NIMBREL_TEST_DATA_DIR) + "/../../src/ui/";

const std::map<std::string, unsigned> kStyles = {
    {"WS_POPUP", DialogStyle::kPopup},
    {"WS_CAPTION", DialogStyle::kCaption},
    {"WS_SYSMENU", DialogStyle::kSystemMenu},
    {"WS_MINIMIZEBOX", DialogStyle::kMinimizeBox},
    {"DS_MODALFRAME", DialogStyle::kModalFrame},
    {"WS_DISABLED", DialogStyle::kDisabled},
    {"WS_EX_APPWINDOW", DialogStyle::kAppWindow},
    {"WS_EX_TOOLWINDOW", DialogStyle::kToolWindow},
    {"ES_AUTOHSCROLL", ControlStyle::kAutoHorizontalScroll},
    {"WS_VSCROLL", ControlStyle::kVerticalScroll},
    {"WS_GROUP", ControlStyle::kGroupStart},
    {"WS_BORDER", ControlStyle::kBorder},
    {"LVS_REPORT", ControlStyle::kReport},
    {"LVS_SINGLESEL", ControlStyle::kSingleSelection},
    {"LVS_NOSORTHEADER", ControlStyle::kNoSortHeader},
    // These decide the kind instead, or are of no interest to the program.
    {"WS_TABSTOP", 0},
    {"SS_NOTIFY", 0},
    {"CBS_DROPDOWNLIST", 0},
    {"SS_ICON", 0},
};

const std::map<std::string, ControlKind> kKinds = {
    {"LTEXT", ControlKind::Label},
    {"CTEXT", ControlKind::Label},
    {"GROUPBOX", ControlKind::GroupBox},
    {"AUTOCHECKBOX", ControlKind::CheckBox},
    {"AUTORADIOBUTTON", ControlKind::RadioButton},
    {"PUSHBUTTON", ControlKind::PushButton},
    {"DEFPUSHBUTTON", ControlKind::DefaultPushButton},
    {"EDITTEXT", ControlKind::Edit},
    {"COMBOBOX", ControlKind::DropDownList},
};

std::string Line(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : " | ") + field;
    return line;
}

std::string Control(int id, ControlKind kind, int x, int y, int w, int h, unsigned style,
                    const std::string& text, int icon) {
    return Line({"control " + std::to_string(id), std::to_string(static_cast<int>(kind)),
                 std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                     std::to_string(h),
                 std::to_string(style), text, std::to_string(icon)});
}

// The resources of DialogTemplates, in the script's order.
std::vector<std::string> TableResources() {
    std::vector<std::string> out;
    for (const IconResource& icon : AllIconResources())
        out.push_back(Line({"icon " + std::to_string(icon.id), icon.file}));
    const MenuTemplate& menu = TrayMenuTemplate();
    out.push_back(Line({"menu " + std::to_string(menu.id), Utf8(menu.popup)}));
    for (const MenuItemTemplate& item : menu.items)
        out.push_back(Line({"item " + std::to_string(item.command), Utf8(item.text)}));
    for (const DialogTemplate& d : AllDialogTemplates()) {
        out.push_back(
            Line({"dialog " + std::to_string(d.id),
                  std::to_string(d.width) + "x" + std::to_string(d.height), std::to_string(d.style),
                  Utf8(d.title), Utf8(d.fontName), std::to_string(d.fontSize)}));
        for (const ControlTemplate& c : d.controls)
            out.push_back(
                Control(c.id, c.kind, c.x, c.y, c.width, c.height, c.style, Utf8(c.text), c.icon));
    }
    return out;
}

// The resources of Nimbrel.rc; throws on a statement it does not know.
std::vector<std::string> ScriptResources() {
    const auto value = [](const std::string& token) {
        if (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-')
            return std::stoi(token, nullptr, 0);
        return ResourceIdsByName().at(token);
    };
    const auto text = [](const std::string& token) {
        if (token.size() < 2 || token.front() != '"') throw std::runtime_error("not a string");
        std::string out;
        for (std::size_t i = 1; i + 1 < token.size(); ++i) {
            if (token[i] == '\\') {
                const char e = token[++i];
                out += e == 'n' ? '\n' : e;
            } else {
                out += token[i];
                if (token[i] == '"') ++i;  // "" stands for one quote
            }
        }
        return out;
    };
    const auto styles = [](const std::vector<std::string>& t, std::size_t from, std::size_t to) {
        unsigned style = 0;
        for (std::size_t i = from; i < to; ++i)
            style |= kStyles.at(t[i]);
        return style;
    };
    // Strings, words and numbers; commas, bars and "//" comments are dropped.
    static const std::regex token(R"re("(?:[^"]|"")*"|//.*|[^\s,|]+)re");
    std::vector<std::string> out;
    std::istringstream lines(ReadFileBytes(kUiDir + "Nimbrel.rc"));
    std::string dialog;
    unsigned dialogStyle = 0;
    std::string title, font;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> t;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), token);
             it != std::sregex_iterator() && !it->str().starts_with("//"); ++it)
            t.push_back(it->str());
        if (t.empty() || t[0].starts_with("#") || t[0] == "LANGUAGE" || t[0] == "BEGIN" ||
            t[0] == "END")
            continue;
        const std::size_t n = t.size();
        if (n == 3 && t[1] == "ICON") {
            out.push_back(Line({"icon " + std::to_string(value(t[0])), text(t[2])}));
        } else if (n == 2 && t[1] == "MENU") {
            dialog = "menu " + std::to_string(value(t[0]));
        } else if (n == 2 && t[0] == "POPUP") {
            out.push_back(Line({dialog, text(t[1])}));
        } else if (n == 3 && t[0] == "MENUITEM") {
            out.push_back(Line({"item " + std::to_string(value(t[2])), text(t[1])}));
        } else if (n == 6 && t[1] == "DIALOGEX") {
            dialog = Line({"dialog " + std::to_string(value(t[0])), t[4] + "x" + t[5]});
            dialogStyle = 0;
        } else if (t[0] == "STYLE" || t[0] == "EXSTYLE") {
            dialogStyle |= styles(t, 1, n);
        } else if (n == 2 && t[0] == "CAPTION") {
            title = text(t[1]);
        } else if (n == 3 && t[0] == "FONT") {
            out.push_back(Line({dialog, std::to_string(dialogStyle), title, text(t[2]), t[1]}));
        } else if (t[0] == "CONTROL" && n >= 9) {
            // CONTROL text-or-icon, id, class, styles, x, y, w, h
            const std::string cls = text(t[3]);
            const bool icon = cls == "Static" && t[4] == "SS_ICON";
            if (!icon && cls != "SysListView32") throw std::runtime_error("class " + cls);
            out.push_back(Control(value(t[2]), icon ? ControlKind::Icon : ControlKind::ListView,
                                  value(t[n - 4]), value(t[n - 3]), value(t[n - 2]),
                                  value(t[n - 1]), styles(t, 4, n - 4), icon ? "" : text(t[1]),
                                  icon ? value(t[1]) : 0));
        } else if (kKinds.count(t[0]) != 0) {
            // KEYWORD ["text",] id, x, y, w, h [, styles]
            const std::size_t at = t[0] == "EDITTEXT" || t[0] == "COMBOBOX" ? 1 : 2;
            if (n < at + 5) throw std::runtime_error("short statement: " + line);
            ControlKind kind = kKinds.at(t[0]);
            unsigned style = styles(t, at + 5, n);
            const bool notify = std::find(t.begin(), t.end(), "SS_NOTIFY") != t.end();
            if (t[0] == "CTEXT") style |= ControlStyle::kCentered;
            if (t[0] == "CTEXT" && notify) kind = ControlKind::Link;
            if (t[0] == "COMBOBOX" && std::find(t.begin(), t.end(), "CBS_DROPDOWNLIST") == t.end())
                throw std::runtime_error("a combo box that is not a drop-down list");
            out.push_back(Control(value(t[at]), kind, value(t[at + 1]), value(t[at + 2]),
                                  value(t[at + 3]), value(t[at + 4]), style,
                                  at == 2 ? text(t[1]) : "", 0));
        } else {
            throw std::runtime_error("unexpected line: " + line);
        }
    }
    return out;
}

TEST(ResourceScript, AgreesWithTheTemplateTable) {
    const std::vector<std::string> script = ScriptResources();
    const std::vector<std::string> table = TableResources();
    for (std::size_t i = 0; i < std::max(script.size(), table.size()); ++i) {
        EXPECT_EQ(i < script.size() ? script[i] : "(none)", i < table.size() ? table[i] : "(none)")
            << "resource line " << i;
    }
}

// The icon files are what the table promises: an image of the given size
// and colour depth (the one used at 96 DPI), beside images of 16, 20, 24, 32
// and 48 pixels for the other scalings, which together fill the file.
TEST(ResourceScript, IconFilesAgreeWithTheTemplateTable) {
    for (const IconResource& icon : AllIconResources()) {
        SCOPED_TRACE(icon.file);
        const std::string bytes = ReadFileBytes(kUiDir + icon.file);
        ASSERT_GE(bytes.size(), 6u);
        const auto byte = [&](std::size_t i) {
            return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
        };
        const auto word = [&](std::size_t i) { return byte(i) | byte(i + 1) << 8; };
        const auto dword = [&](std::size_t i) {
            return std::size_t{word(i)} | std::size_t{word(i + 2)} << 16;
        };
        EXPECT_EQ(word(2), 1u);  // an icon file
        const std::size_t count = word(4);
        std::vector<int> sizes;
        bool designImage = false;
        std::size_t end = 6 + 16 * count;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = 6 + 16 * i;
            EXPECT_EQ(byte(entry), byte(entry + 1));
            const int bits = static_cast<int>(word(entry + 6));
            EXPECT_EQ(byte(entry + 2), bits == 4 ? 16u : 0u);
            sizes.push_back(static_cast<int>(byte(entry)));
            if (sizes.back() == icon.size && bits == icon.bitsPerPixel) designImage = true;
            EXPECT_EQ(dword(entry + 12), end) << "images one after the other";
            end += dword(entry + 8);
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 48}));
        EXPECT_TRUE(designImage);
        EXPECT_EQ(end, bytes.size());
    }
}

TEST(DialogTemplates, LookupsAndTheLinkAddresses) {
    const DialogTemplate* options = FindDialogTemplate(IDD_OPTIONS);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(FindDialogTemplate(999), nullptr);
    EXPECT_EQ(options->FindControl(IDC_OPT_EMAIL_LINK)->text, kSupportAddress);
    EXPECT_EQ(options->FindControl(IDC_OPT_WEB_LINK)->text, kWebAddress);
    EXPECT_EQ(options->FindControl(IDOK), nullptr);
    // A header template may hold 255 characters, far more than the box shows:
    // without horizontal scrolling the edit would refuse to take them.
    EXPECT_NE(FindDialogTemplate(IDD_QUOTE_HEADER_STYLES)->FindControl(IDC_QHS_TEMPLATE)->style &
                  ControlStyle::kAutoHorizontalScroll,
              0u);
    // Identifiers are unique within a dialog, apart from the unaddressed ones.
    for (const DialogTemplate& dialog : AllDialogTemplates()) {
        for (const ControlTemplate& control : dialog.controls) {
            if (control.id != IDC_STATIC) {
                EXPECT_EQ(dialog.FindControl(control.id), &control)
                    << dialog.id << " " << control.id;
            }
            EXPECT_EQ(!control.items.empty(), control.kind == ControlKind::DropDownList)
                << dialog.id << " " << control.id;
        }
    }
}

}  // namespace
}  // namespace nimbrel
