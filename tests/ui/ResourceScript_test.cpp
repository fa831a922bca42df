// Nimbrel.rc (what the Windows build compiles) and DialogTemplates (what the
// core and the simulated desktop use) describe the same dialogs, menu and
// icons. The resource script is read here with a small parser of the
// statements it uses: one statement per line.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "support/GoldenCase.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {
namespace {

const std::string kUiDir = std::string(NIMBREL_TEST_DATA_DIR) + "/../../src/ui/";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Token {
    enum Kind { Word, Number, Text, Comma, Bar } kind;
    std::string value;
};

// Splits one line of the script into tokens; "//" starts a comment.
std::vector<Token> Tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (line.substr(i, 2) == "//") {
            break;
        } else if (c == ',') {
            tokens.push_back({Token::Comma, ","});
            ++i;
        } else if (c == '|') {
            tokens.push_back({Token::Bar, "|"});
            ++i;
        } else if (c == '"') {
            std::string text;
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        text += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char e = line[++i];
                    text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    text += line[i];
                }
            }
            if (i >= line.size()) throw std::runtime_error("unterminated string");
            ++i;
            tokens.push_back({Token::Text, text});
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
            std::size_t end = i + 1;
            while (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end])))
                ++end;
            tokens.push_back({Token::Number, std::string(line.substr(i, end - i))});
            i = end;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t end = i + 1;
            while (end < line.size() &&
                   (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_'))
                ++end;
            tokens.push_back({Token::Word, std::string(line.substr(i, end - i))});
            i = end;
        } else {
            throw std::runtime_error("unexpected character in: " + std::string(line));
        }
    }
    return tokens;
}

// One comma-separated argument: a single value or values joined by "|".
using Argument = std::vector<Token>;

std::vector<Argument> Arguments(const std::vector<Token>& tokens, std::size_t from) {
    std::vector<Argument> args(1);
    for (std::size_t i = from; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Comma) {
            args.emplace_back();
        } else if (tokens[i].kind != Token::Bar) {
            args.back().push_back(tokens[i]);
        }
    }
    if (args.size() == 1 && args[0].empty()) args.clear();
    return args;
}

class Script {
  public:
    Script() {
        std::istringstream ids(ReadFile(kUiDir + "ResourceIds.h"));
        for (std::string line; std::getline(ids, line);) {
            std::istringstream words(line);
            std::string directive, name, value;
            words >> directive >> name >> value;
            if (directive != "#define" || value.empty()) continue;
            if (value == "(-1)") value = "-1";
            defines[name] = std::stoi(value);
        }
        Parse(ReadFile(kUiDir + "Nimbrel.rc"));
    }

    struct Control {
        ControlKind kind;
        int id, x, y, width, height;
        unsigned style;
        std::string text;
        int icon = 0;
    };
    struct Dialog {
        int width = 0, height = 0;
        unsigned style = 0;
        std::string title, fontName;
        int fontSize = 0;
        std::vector<Control> controls;
    };
    struct Menu {
        std::string popup;
        std::vector<std::pair<int, std::string>> items;
    };

    std::map<int, Dialog> dialogs;
    std::map<int, Menu> menus;
    std::map<int, std::string> icons;

  private:
    int Value(const Token& token) const {
        if (token.kind == Token::Number) return std::stoi(token.value, nullptr, 0);
        const auto found = defines.find(token.value);
        if (found == defines.end()) throw std::runtime_error("unknown identifier " + token.value);
        return found->second;
    }
    int Value(const Argument& arg) const {
        if (arg.size() != 1) throw std::runtime_error("expected one value");
        return Value(arg[0]);
    }
    static std::string TextOf(const Argument& arg) {
        if (arg.size() != 1 || arg[0].kind != Token::Text)
            throw std::runtime_error("expected a string");
        return arg[0].value;
    }

    static unsigned DialogFlag(const std::string& name) {
        static const std::map<std::string, unsigned> flags = {
            {"WS_POPUP", DialogStyle::kPopup},
            {"WS_CAPTION", DialogStyle::kCaption},
            {"WS_SYSMENU", DialogStyle::kSystemMenu},
            {"WS_MINIMIZEBOX", DialogStyle::kMinimizeBox},
            {"DS_MODALFRAME", DialogStyle::kModalFrame},
            {"WS_DISABLED", DialogStyle::kDisabled},
            {"WS_EX_APPWINDOW", DialogStyle::kAppWindow},
            {"WS_EX_TOOLWINDOW", DialogStyle::kToolWindow},
        };
        const auto found = flags.find(name);
        if (found == flags.end()) throw std::runtime_error("unexpected dialog style " + name);
        return found->second;
    }

    // Control styles; SS_NOTIFY, CBS_DROPDOWNLIST and SS_ICON decide the kind
    // instead, and the tab order flag is of no interest to the program.
    static unsigned ControlFlag(const std::string& name) {
        static const std::map<std::string, unsigned> flags = {
            {"ES_AUTOHSCROLL", ControlStyle::kAutoHorizontalScroll},
            {"WS_VSCROLL", ControlStyle::kVerticalScroll},
            {"WS_GROUP", ControlStyle::kGroupStart},
            {"WS_BORDER", ControlStyle::kBorder},
            {"LVS_REPORT", ControlStyle::kReport},
            {"LVS_SINGLESEL", ControlStyle::kSingleSelection},
            {"LVS_NOSORTHEADER", ControlStyle::kNoSortHeader},
            {"WS_TABSTOP", 0},
            {"SS_NOTIFY", 0},
            {"CBS_DROPDOWNLIST", 0},
            {"SS_ICON", 0},
        };
        const auto found = flags.find(name);
        if (found == flags.end()) throw std::runtime_error("unexpected control style " + name);
        return found->second;
    }

    static bool Has(const Argument& style, const char* name) {
        for (const Token& t : style)
            if (t.value == name) return true;
        return false;
    }

    Control ParseControl(const std::vector<Token>& tokens) const {
        const std::string& keyword = tokens[0].value;
        const std::vector<Argument> args = Arguments(tokens, 1);
        Control control{};
        std::size_t at = 0;  // index of the identifier argument
        Argument style;
        if (keyword == "CONTROL") {
            if (args.size() != 8) throw std::runtime_error("CONTROL needs 8 arguments");
            const std::string cls = TextOf(args[2]);
            style = args[3];
            if (cls == "SysListView32") {
                control.kind = ControlKind::ListView;
                control.text = TextOf(args[0]);
            } else if (cls == "Static" && Has(style, "SS_ICON")) {
                control.kind = ControlKind::Icon;
                control.icon = Value(args[0]);
            } else {
                throw std::runtime_error("unexpected control class " + cls);
            }
            control.id = Value(args[1]);
            control.x = Value(args[4]);
            control.y = Value(args[5]);
            control.width = Value(args[6]);
            control.height = Value(args[7]);
        } else {
            const bool hasText = keyword != "EDITTEXT" && keyword != "COMBOBOX";
            if (hasText) control.text = TextOf(args.at(0));
            at = hasText ? 1 : 0;
            if (args.size() != at + 5 && args.size() != at + 6)
                throw std::runtime_error("wrong argument count for " + keyword);
            control.id = Value(args[at]);
            control.x = Value(args[at + 1]);
            control.y = Value(args[at + 2]);
            control.width = Value(args[at + 3]);
            control.height = Value(args[at + 4]);
            if (args.size() == at + 6) style = args[at + 5];
            static const std::map<std::string, ControlKind> kinds = {
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
            const auto kind = kinds.find(keyword);
            if (kind == kinds.end()) throw std::runtime_error("unexpected statement " + keyword);
            control.kind = kind->second;
            if (keyword == "CTEXT") {
                control.style |= ControlStyle::kCentered;
                if (Has(style, "SS_NOTIFY")) control.kind = ControlKind::Link;
            }
            if (keyword == "COMBOBOX" && !Has(style, "CBS_DROPDOWNLIST"))
                throw std::runtime_error("a combo box that is not a drop-down list");
        }
        for (const Token& t : style)
            control.style |= ControlFlag(t.value);
        return control;
    }

    void Parse(const std::string& script) {
        std::istringstream lines(script);
        enum { Top, DialogHead, DialogBody, MenuBegin, Popup, PopupBegin, PopupBody, MenuEnd };
        auto state = Top;
        Dialog* dialog = nullptr;
        Menu* menu = nullptr;
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("#")) continue;  // preprocessor
            const std::vector<Token> t = Tokenize(line);
            if (t.empty()) continue;
            const std::string& first = t[0].value;
            switch (state) {
                case Top:
                    if (first == "LANGUAGE") break;
                    if (t.size() < 2) throw std::runtime_error("unexpected line: " + line);
                    if (t[1].value == "ICON") {
                        icons[Value(t[0])] = t.at(2).value;
                    } else if (t[1].value == "MENU") {
                        menu = &menus[Value(t[0])];
                        state = MenuBegin;
                    } else if (t[1].value == "DIALOGEX") {
                        dialog = &dialogs[Value(t[0])];
                        const std::vector<Argument> args = Arguments(t, 2);
                        dialog->width = Value(args.at(2));
                        dialog->height = Value(args.at(3));
                        state = DialogHead;
                    } else {
                        throw std::runtime_error("unexpected line: " + line);
                    }
                    break;
                case DialogHead:
                    if (first == "STYLE" || first == "EXSTYLE") {
                        for (std::size_t i = 1; i < t.size(); ++i)
                            if (t[i].kind == Token::Word) dialog->style |= DialogFlag(t[i].value);
                    } else if (first == "CAPTION") {
                        dialog->title = t.at(1).value;
                    } else if (first == "FONT") {
                        const std::vector<Argument> args = Arguments(t, 1);
                        dialog->fontSize = Value(args.at(0));
                        dialog->fontName = TextOf(args.at(1));
                    } else if (first == "BEGIN") {
                        state = DialogBody;
                    } else {
                        throw std::runtime_error("unexpected dialog line: " + line);
                    }
                    break;
                case DialogBody:
                    if (first == "END") {
                        state = Top;
                    } else {
                        dialog->controls.push_back(ParseControl(t));
                    }
                    break;
                case MenuBegin:
                case PopupBegin:
                    if (first != "BEGIN") throw std::runtime_error("expected BEGIN: " + line);
                    state = state == MenuBegin ? Popup : PopupBody;
                    break;
                case Popup:
                    if (first != "POPUP") throw std::runtime_error("expected POPUP: " + line);
                    menu->popup = t.at(1).value;
                    state = PopupBegin;
                    break;
                case PopupBody:
                    if (first == "END") {
                        state = MenuEnd;
                    } else if (first == "MENUITEM") {
                        const std::vector<Argument> args = Arguments(t, 1);
                        menu->items.emplace_back(Value(args.at(1)), TextOf(args.at(0)));
                    } else {
                        throw std::runtime_error("unexpected menu line: " + line);
                    }
                    break;
                case MenuEnd:
                    if (first != "END") throw std::runtime_error("expected END: " + line);
                    state = Top;
                    break;
            }
        }
        if (state != Top) throw std::runtime_error("the script ends inside a resource");
    }

    std::map<std::string, int> defines;
};

const char* KindName(ControlKind kind) {
    static const char* const names[] = {
        "Label",    "Link",         "Icon",       "GroupBox",
        "CheckBox", "RadioButton",  "PushButton", "DefaultPushButton",
        "Edit",     "DropDownList", "ListView",
    };
    return names[static_cast<int>(kind)];
}

TEST(ResourceScript, DialogsAgreeWithTheTemplateTable) {
    const Script script;
    ASSERT_EQ(script.dialogs.size(), AllDialogTemplates().size());
    for (const DialogTemplate& table : AllDialogTemplates()) {
        SCOPED_TRACE("dialog " + std::to_string(table.id));
        ASSERT_EQ(script.dialogs.count(table.id), 1u);
        const Script::Dialog& rc = script.dialogs.at(table.id);
        EXPECT_EQ(rc.width, table.width);
        EXPECT_EQ(rc.height, table.height);
        EXPECT_EQ(rc.style, table.style);
        EXPECT_EQ(rc.title, Utf8(table.title));
        EXPECT_EQ(rc.fontName, Utf8(table.fontName));
        EXPECT_EQ(rc.fontSize, table.fontSize);
        ASSERT_EQ(rc.controls.size(), table.controls.size());
        for (std::size_t i = 0; i < rc.controls.size(); ++i) {
            const Script::Control& a = rc.controls[i];
            const ControlTemplate& b = table.controls[i];
            SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(b.id));
            EXPECT_EQ(a.id, b.id);
            EXPECT_STREQ(KindName(a.kind), KindName(b.kind));
            EXPECT_EQ(std::vector<int>({a.x, a.y, a.width, a.height}),
                      std::vector<int>({b.x, b.y, b.width, b.height}));
            EXPECT_EQ(a.style, b.style);
            EXPECT_EQ(a.text, Utf8(b.text));
            EXPECT_EQ(a.icon, b.icon);
        }
    }
}

TEST(ResourceScript, TrayMenuAgreesWithTheTemplateTable) {
    const Script script;
    const MenuTemplate& table = TrayMenuTemplate();
    ASSERT_EQ(script.menus.size(), 1u);
    ASSERT_EQ(script.menus.count(table.id), 1u);
    const Script::Menu& rc = script.menus.at(table.id);
    EXPECT_EQ(rc.popup, Utf8(table.popup));
    ASSERT_EQ(rc.items.size(), table.items.size());
    for (std::size_t i = 0; i < rc.items.size(); ++i) {
        EXPECT_EQ(rc.items[i].first, table.items[i].command) << i;
        EXPECT_EQ(rc.items[i].second, Utf8(table.items[i].text)) << i;
    }
}

// The icon files are what the table promises: one image each, of the given
// size and colour depth.
TEST(ResourceScript, IconsAgreeWithTheTemplateTable) {
    const Script script;
    ASSERT_EQ(script.icons.size(), AllIconResources().size());
    for (const IconResource& icon : AllIconResources()) {
        SCOPED_TRACE(icon.file);
        ASSERT_EQ(script.icons.count(icon.id), 1u);
        EXPECT_EQ(script.icons.at(icon.id), icon.file);
        const std::string bytes = ReadFile(kUiDir + icon.file);
        ASSERT_GE(bytes.size(), 22u + 40u);
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        EXPECT_EQ(byte(2) | byte(3) << 8, 1);  // an icon file
        EXPECT_EQ(byte(4) | byte(5) << 8, 1);  // with one image
        EXPECT_EQ(byte(6), icon.size);
        EXPECT_EQ(byte(7), icon.size);
        EXPECT_EQ(byte(8), icon.bitsPerPixel == 4 ? 16 : 0);
        EXPECT_EQ(byte(12) | byte(13) << 8, icon.bitsPerPixel);
        const std::size_t length =
            byte(14) | byte(15) << 8 | std::size_t{byte(16)} << 16 | std::size_t{byte(17)} << 24;
        EXPECT_EQ(22 + length, bytes.size());
    }
}

TEST(DialogTemplates, LookupsAndTheLinkAddresses) {
    const DialogTemplate* options = FindDialogTemplate(IDD_OPTIONS);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(FindDialogTemplate(999), nullptr);
    ASSERT_NE(options->FindControl(IDC_OPT_EMAIL_LINK), nullptr);
    EXPECT_EQ(options->FindControl(IDC_OPT_EMAIL_LINK)->text, kSupportAddress);
    EXPECT_EQ(options->FindControl(IDC_OPT_WEB_LINK)->text, kWebAddress);
    EXPECT_EQ(options->FindControl(IDOK), nullptr);
    // A header template may hold 255 characters, far more than the box shows:
    // without horizontal scrolling the edit would refuse to take them.
    const DialogTemplate* headers = FindDialogTemplate(IDD_QUOTE_HEADER_STYLES);
    ASSERT_NE(headers, nullptr);
    EXPECT_NE(headers->FindControl(IDC_QHS_TEMPLATE)->style & ControlStyle::kAutoHorizontalScroll,
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
