#include "support/UiScenario.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "shell/App.h"
#include "shell/Settings.h"
#include "shell/SettingsFields.h"
#include "shell/Startup.h"
#include "shell/Utf.h"
#include "sim/ScenarioScript.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

namespace {

// The words of a step, bare or "quoted"; in either \n, \r, \t, \\ and \<N>c
// (N times c) stand for what they say.
std::vector<String> Words(const std::string& line) {
    std::vector<String> words;
    std::istringstream in(line);
    for (std::string word; in >> std::quoted(word, '"', '\0');) {
        std::string out;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] != '\\' || i + 1 == word.size()) {
                out += word[i];
            } else if (std::isdigit(static_cast<unsigned char>(word[++i]))) {
                std::size_t digits = 0;
                const int count = std::stoi(word.substr(i), &digits);
                i += digits;
                out.append(static_cast<std::size_t>(count), word[i]);
            } else {
                out += word[i] == 'n'   ? '\n'
                       : word[i] == 'r' ? '\r'
                       : word[i] == 't' ? '\t'
                                        : word[i];
            }
        }
        words.push_back(Utf16(out));
    }
    return words;
}

// A name of ResourceIds.h, or a number.
int Id(const String& word) {
    const auto found = ResourceIdsByName().find(Utf8(word));
    return found != ResourceIdsByName().end() ? found->second : ToInt(word);
}

template <typename Number>
String Decimal(Number value) {
    return Utf16(std::to_string(value));
}

String Hex(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return Utf16(out.str());
}

}  // namespace

const std::map<std::string, int>& ResourceIdsByName() {
    static const std::map<std::string, int> ids = [] {
        std::map<std::string, int> out;
        std::istringstream lines(
            ReadFileBytes(std::string(NIMBREL_TEST_DATA_DIR) + "/../../src/ui/ResourceIds.h"));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string directive, name, value;
            words >> directive >> name >> value;
            if (directive == "#define" && !value.empty())
                out[name] = std::stoi(value == "(-1)" ? "-1" : value);
        }
        return out;
    }();
    return ids;
}

int UiScenario::ticks = 0;

void UiScenario::CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    ++ticks;
}

UiScenario::UiScenario() {
    settings = Settings::Defaults();
    app = App{};
    ticks = 0;
    // The desktop restores the start directory when it goes.
    std::filesystem::current_path(directory.Path());
    WriteFileBytes(directory / "styles.css", "/* 4 quote-level styles */\n");
}

UiScenario::~UiScenario() {
    options.reset();
    EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
    EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u) << "document reference held";
    EXPECT_EQ(desktop.registry.OpenKeys(), 0u) << "registry key left open";
    ResetProgramState();
    app = App{};
    settings = Settings::Defaults();
}

void UiScenario::UseLanguageFile(std::string bytes) {
    language.emplace(CLangFile::FromBytes(bytes));
}

void UiScenario::StartOptionsDialog() {
    app.langFile = language ? &*language : nullptr;
    options = std::make_unique<COptionsDlg>(desktop.platform(), &CountTick);
    ASSERT_TRUE(options->Create());
    app.mainDialog = options.get();
    app.mainWindow = options->Window();
}

SimDialog UiScenario::ShowOptions() {
    desktop.DoubleClickTrayIcon();
    return Options();
}

// The program installed in a directory of its own, with copies of the data
// files and the uninstall key, started from the current directory by a user
// with an application data folder. A program that is not ended ends as if
// with WM_QUIT at one minute.
void UiScenario::Install() {
    ResetProgramState();
    std::filesystem::remove(directory / "styles.css");
    for (const char* name : {"lang.ini", "emoticons.ini", "styles.css", "signatures.ini"})
        std::filesystem::copy_file(std::filesystem::path(NIMBREL_DATA_DIR) / name, install / name);
    desktop.registry.SetString(kHkeyLocalMachine, kUninstallKey, kUninstallValue,
                               install.Path().u16string() + u"\\uninst.exe");
    desktop.shell.SetAppDataFolder(appData.Path());
    desktop.loop.StopAt(60000);
}

void UiScenario::Play(const GoldenCase& script) {
    settings = script.settings;
    scriptName = script.file;
    if (script.params.count("lang") != 0) {
        UseLanguageFile(
            ReadFileBytes(std::string(NIMBREL_DATA_DIR) + "/" + script.params.at("lang")));
    }
    if (script.sections.count("lang") != 0) UseLanguageFile(ToCrLf(script.Section("lang")));
    std::vector<Step> steps;
    std::istringstream lines(script.Section("steps"));
    // Lines are counted in the file, for messages.
    const std::string file = ReadFileBytes(script.file);
    int number = static_cast<int>(std::count(
                     file.begin(),
                     file.begin() + static_cast<std::ptrdiff_t>(file.find("=== steps")), '\n')) +
                 1;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        line.erase(0, line.find_first_not_of(' '));
        if (line.empty() || line[0] == '#') continue;
        steps.push_back(Words(line));
        stepLines.push_back(number);
    }
    Run(steps, 0, steps.size(), std::nullopt);
    EXPECT_EQ(unplayed, 0) << "a modal dialog or an after block never came";
}

// Steps [from, to) on the modal dialog, or else on the options dialog;
// "modal DIALOG BUTTON" runs the steps up to its "end" on the modal dialog
// that the button opens.
void UiScenario::Run(const std::vector<Step>& steps, std::size_t from, std::size_t to,
                     std::optional<SimDialog> modal) {
    for (std::size_t i = from; i < to; ++i) {
        SCOPED_TRACE(scriptName + ":" + std::to_string(stepLines[i]));
        const Step& step = steps[i];
        SimDialog dialog = modal ? *modal : Options();
        if (step[0] != u"modal" && step[0] != u"after") {
            Do(step, dialog);
            continue;
        }
        std::size_t end = i + 1;
        while (end < to && steps[end][0] != u"end")
            ++end;
        const std::size_t first = i + 1;
        ++unplayed;
        if (step[0] == u"after") {
            desktop.clock.At(desktop.clock.Now() + static_cast<std::uint64_t>(ToInt(step.at(1))),
                             [this, &steps, first, end] {
                                 --unplayed;
                                 Run(steps, first, end, std::nullopt);
                             });
            i = end;
            continue;
        }
        desktop.dialogs.WhenModal(ResourceIdsByName().at(Utf8(step.at(1))),
                                  [this, &steps, first, end](SimDialog& opened) {
                                      --unplayed;
                                      Run(steps, first, end, opened);
                                  });
        dialog.Click(Id(step.at(2)));
        i = end;
    }
}

void UiScenario::Do(const Step& step, SimDialog& dialog) {
    const auto id = [&](std::size_t at) { return Id(step.at(at)); };
    const auto number = [&](std::size_t at) { return ToInt(step.at(at)); };
    const String& verb = step[0];
    if (verb == u"expect") {
        const auto equals = std::find(step.begin(), step.end(), u"=");
        ASSERT_NE(equals, step.end()) << "expect without =";
        const std::vector<String> expected(equals + 1, step.end());
        std::vector<String> got = Probe(Step(step.begin() + 1, equals), dialog);
        for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i)
            if (expected[i] == u"*") got[i] = u"*";  // anything
        EXPECT_EQ(got, expected);
        return;
    }
    if (verb == u"poke") {  // a number field, unchecked
        const std::string assignment = Utf8(step.at(1));
        const SettingsField* field = FindSettingsField(assignment.substr(0, assignment.find('=')));
        ASSERT_NE(field, nullptr) << assignment;
        const std::int32_t value = std::stoi(assignment.substr(assignment.find('=') + 1));
        std::memcpy(reinterpret_cast<char*>(&settings) + field->offset, &value, sizeof value);
        return;
    }
    if (verb == u"snapshot") {
        snapshot = settings;
        timerCallsAtSnapshot = desktop.loop.SetTimerCalls();
        ticks = 0;
        return;
    }
    if (verb == u"start") return StartOptionsDialog();
    if (verb == u"construct")
        return void(options = std::make_unique<COptionsDlg>(desktop.platform()));
    if (verb == u"destroy") return options.reset();
    if (verb == u"show") return void(ShowOptions());
    if (verb == u"tray") {
        EXPECT_TRUE(desktop.ChooseFromTrayMenu(id(1)));
        return;
    }
    if (verb == u"right-click") return void(desktop.RightClickTrayIcon());
    if (verb == u"command")  // as from a second start's window
        return void(desktop.windows.SendMessageW(app.mainWindow, wm::kCommand, id(1), 0));
    if (verb == u"click") return void(dialog.Click(id(1)));
    if (verb == u"type") return void(dialog.Type(id(1), step.at(2)));
    if (verb == u"select") return void(dialog.Select(id(1), number(2)));
    if (verb == u"focus") return void(dialog.Focus(id(1)));
    if (verb == u"hover") return dialog.Hover(id(1));
    if (verb == u"mouse") return desktop.windows.MoveMouse(Point{number(1), number(2)});
    if (verb == u"escape") return void(dialog.PressEscape());
    if (verb == u"f1") return void(dialog.PressF1());
    if (verb == u"close") return void(dialog.Close());
    if (verb == u"deactivate") return void(dialog.Deactivate());
    if (verb == u"answer") return desktop.messageBoxes.Answer(number(1));
    if (verb == u"clear-boxes") return desktop.messageBoxes.Clear();
    if (verb == u"shell-answer") return desktop.shell.Answer(number(1));
    if (verb == u"no-hand-cursor") return desktop.windows.SetHandCursorAvailable(false);
    if (verb == u"no-taskbar") return desktop.shell.SetTrayAvailable(false);
    if (verb == u"taskbar") return desktop.shell.SetTrayAvailable(true);
    if (verb == u"explorer-restart") return desktop.RestartExplorer();
    if (verb == u"end-session") return desktop.EndSession(number(1) != 0);
    if (verb == u"dpi") return desktop.SetDpi(number(1));
    if (verb == u"tray-icon-hidden") return options->SetTrayIconHidden(number(1) != 0);
    if (verb == u"set") {
        EXPECT_EQ(ApplySettingsAssignment(settings, Utf8(step.at(1))), "");
        return;
    }
    if (verb == u"fill") return options->FillControls();
    if (verb == u"app-running") return void(app.running = static_cast<std::uint8_t>(number(1)));
    if (verb == u"run") return desktop.loop.RunFor(static_cast<std::uint64_t>(number(1)));
    if (verb == u"write") return WriteFileBytes(Utf8(step.at(1)), Utf8(step.at(2)));
    if (verb == u"remove") return void(std::filesystem::remove(Utf8(step.at(1))));
    if (verb == u"install") return Install();
    if (verb == u"no-registry-key")
        return desktop.registry.DeleteKey(kHkeyLocalMachine, kUninstallKey);
    if (verb == u"copy-to-start")
        return void(
            std::filesystem::copy_file(install / Utf8(step.at(1)), directory / Utf8(step.at(1))));
    if (verb == u"store" || verb == u"store-in-install") {
        // The user's Nimbrel.cfg, or the installation's: the defaults and these fields.
        Settings record = Settings::Defaults();
        for (std::size_t i = 1; i < step.size(); ++i)
            EXPECT_EQ(ApplySettingsAssignment(record, Utf8(step[i])), "");
        std::filesystem::create_directories(UserFolder());
        const auto folder = verb == u"store" ? UserFolder() : install.Path();
        EXPECT_FALSE(SaveSettings(record, folder / kSettingsFileName));
        return;
    }
    if (verb == u"unstore") {
        std::filesystem::remove(install / kSettingsFileName);
        return void(std::filesystem::remove(UserFolder() / kSettingsFileName));
    }
    if (verb == u"user-write" || verb == u"install-write") {  // a text in the user's code page
        const auto folder = verb == u"user-write" ? UserFolder() : install.Path();
        std::filesystem::create_directories(folder);
        return WriteFileBytes(folder / Utf8(step.at(1)), desktop.codePage.ToBytes(step.at(2)));
    }
    if (verb == u"code-page") {
        return desktop.codePage.Set(step.at(1) == u"1252" ? SimCodePage::Kind::kWindows1252
                                                          : SimCodePage::Kind::kUtf8);
    }
    if (verb == u"no-appdata") return desktop.shell.SetAppDataFolder({});
    if (verb == u"other-instance") {  // hidden and disabled, as a running one is
        otherInstance =
            desktop.windows.Create(u"#32770", kMainDialogCaption, kNoWindow, kOtherProcess);
        desktop.windows.ShowWindow(otherInstance, sw::kHide);
        return void(desktop.windows.EnableWindow(otherInstance, false));
    }
    if (verb == u"oe-start") return void(oe.Start());
    if (verb == u"oe-exit") return void(oe.Exit());
    if (verb == u"oe-reply") {
        replyText = ScenarioScript::AsMessage(
            AnsiToUtf16(ReadFileBytes(std::string(NIMBREL_DATA_DIR) + "/" + Utf8(step.at(1)))));
        return void(reply = oe.OpenReply(replyText).note);
    }
    if (verb == u"no-module") return desktop.modules.Remove(Utf8(step.at(1)));
    if (verb == u"no-export")
        return desktop.modules.RemoveExport(Utf8(step.at(1)), Utf8(step.at(2)));
    if (verb == u"fail-create") return desktop.dialogs.FailNextCreate();
    if (verb == u"post-quit") return desktop.loop.PostQuitMessage(0);
    if (verb == u"kill-timer") return void(desktop.loop.KillTimer(app.mainWindow, kWatchTimerId));
    if (verb == u"program") {
        desktop.windows.GiveInput(kProgramProcess);  // the user starts it
        return void(exit = RunApplication(desktop.platform()));
    }
    if (verb == u"reset") return ResetProgramState();
    ADD_FAILURE() << "unknown step " << Utf8(verb);
}

// What a probe reads, as words.
std::vector<String> UiScenario::Probe(const Step& probe, SimDialog& dialog) {
    const String& what = probe.at(0);
    const auto id = [&] { return Id(probe.at(1)); };
    const auto flag = [](bool on) { return std::vector<String>{on ? u"1" : u"0"}; };
    const auto number = [](auto n) { return std::vector<String>{Decimal(n)}; };
    const auto colour = [](Colour c) {
        return std::vector<String>{Decimal(c & 0xFF) + u"," + Decimal(c >> 8 & 0xFF) + u"," +
                                   Decimal(c >> 16 & 0xFF)};
    };
    const auto link = [&]() -> const CLinkLabel& {
        return probe.at(1) == u"email" ? options->EmailLink()
               : probe[1] == u"web"    ? options->WebLink()
                                       : options->DonationsLink();
    };
    const SimTrayIcon* icon = desktop.shell.TrayIcon();
    if (what == u"text") return {dialog.Text(id())};
    if (what == u"text-length") return number(dialog.Text(id()).size());
    if (what == u"title") return {dialog.Title()};
    if (what == u"checked") return flag(dialog.Checked(id()));
    if (what == u"control-enabled") return flag(dialog.ControlEnabled(id()));
    if (what == u"visible") return flag(dialog.Exists() && dialog.Visible());
    if (what == u"enabled") return flag(dialog.Enabled());
    if (what == u"options-enabled") return flag(Options().Enabled());
    if (what == u"exists") return flag(dialog.Exists());
    if (what == u"items") return dialog.Items(id());
    if (what == u"selection") return number(dialog.Selection(id()));
    if (what == u"tooltip") return {dialog.ToolTip(id()).value_or(u"(none)")};
    if (what == u"underlined") return flag(dialog.Underlined(id()));
    if (what == u"colour") return colour(dialog.TextColour(id()));
    if (what == u"icon") return number(dialog.IconResource(probe.at(1) == u"big"));
    if (what == u"icon-size") return number(dialog.IconSize(probe.at(1) == u"big"));
    if (what == u"rect") {
        const Rect r = dialog.ControlRect(id());
        return {Decimal(r.left), Decimal(r.top), Decimal(r.right), Decimal(r.bottom)};
    }
    if (what == u"columns") {
        std::vector<String> out;
        for (const SimListColumn& c : dialog.Columns(id()))
            out.push_back(c.heading + u"," + Decimal(c.width) + u"," + Decimal(c.format));
        return out;
    }
    if (what == u"found-by-title")
        return flag(desktop.windows.FindWindowW(nullptr, dialog.Title().c_str()) ==
                    dialog.Window());
    if (what == u"close-item")
        return {desktop.menus.SystemMenuText(dialog.Window(), sc::kClose).value_or(u"(none)")};
    if (what == u"setting" || what == u"saved" || what == u"stored" || what == u"install-stored") {
        // The record, the current directory's Nimbrel.cfg, the user's, the installation's.
        Settings record = what == u"setting" ? settings : Settings::Defaults();
        const auto file = (what == u"saved"    ? directory.Path()
                           : what == u"stored" ? UserFolder()
                                               : install.Path()) /
                          kSettingsFileName;
        if (what != u"setting" && LoadSettings(record, file)) return {u"(no file)"};
        const SettingsField* field = FindSettingsField(Utf8(probe.at(1)));
        return {field ? Utf16(FormatSettingsField(record, *field)) : u"(no such field)"};
    }
    if (what == u"file") return flag(std::filesystem::exists(Utf8(probe.at(1))));
    if (what == u"changed") {  // the fields that differ from the snapshot
        std::vector<String> changed;
        for (const SettingsField& field : AllSettingsFields()) {
            if (FormatSettingsField(settings, field) != FormatSettingsField(snapshot, field))
                changed.push_back(Utf16(field.name));
        }
        return changed;
    }
    if (what == u"template") {  // its length and the units left behind it
        const QuoteHeaderSetting& h =
            probe.at(1) == u"email" ? settings.emailHeader : settings.newsHeader;
        const std::size_t length = String(h.text).size();
        const auto behind =
            std::count_if(h.text + length, h.text + kTemplateUnits, [](char16_t u) { return u; });
        return {Decimal(length), Decimal(behind)};
    }
    if (what == u"suspended") return number(options->Colorer().suspended);
    if (what == u"style-count") return number(options->Colorer().styleSheetInfo.styleCount);
    if (what == u"running") return number(app.running);
    if (what == u"ticks") return number(ticks);
    if (what == u"timer") {
        const auto period = desktop.loop.TimerPeriod(app.mainWindow, kWatchTimerId);
        return {period ? Decimal(*period) : u"(none)"};
    }
    if (what == u"timer-calls") return number(desktop.loop.SetTimerCalls() - timerCallsAtSnapshot);
    if (what == u"boxes") return number(desktop.messageBoxes.Shown().size());
    if (what == u"box" || what == u"box-time") {  // the last one, or the one of this index
        const std::vector<SimMessageBox>& shown = desktop.messageBoxes.Shown();
        const std::size_t at =
            probe.size() > 1 ? static_cast<std::size_t>(ToInt(probe[1])) : shown.size() - 1;
        if (at >= shown.size()) return {u"(none)"};
        const SimMessageBox& box = shown[at];
        if (what == u"box-time") return number(box.time);
        return {box.text, box.caption, Hex(box.flags),
                box.framework ? u"framework"
                : box.ansi    ? u"ansi"
                              : u"plain"};
    }
    if (what == u"beeps") {
        std::vector<String> out;
        for (const std::uint32_t beep : desktop.windows.Beeps())
            out.push_back(Hex(beep));
        return out;
    }
    if (what == u"shell-calls") return number(desktop.shell.Calls().size());
    if (what == u"shell") {  // the last call
        if (desktop.shell.Calls().empty()) return {u"(none)"};
        const SimShellCall& call = desktop.shell.Calls().back();
        return {call.verb, call.file, Decimal(call.showCommand),
                call.owner == kNoWindow ? u"no-owner" : u"owner"};
    }
    if (what == u"url") return {link().URL()};
    if (what == u"visited") return flag(link().Visited());
    if (what == u"cursor") {
        const CursorHandle cursor = desktop.windows.CurrentCursor();
        return {cursor == desktop.windows.LoadCursorW(idc::kHand)    ? u"hand"
                : cursor == desktop.windows.LoadCursorW(idc::kArrow) ? u"arrow"
                                                                     : u"other"};
    }
    if (what == u"leave-tracked") return flag(desktop.windows.LeaveTracked() != kNoWindow);
    if (what == u"tray-icon") return number(icon ? desktop.windows.IconResource(icon->icon) : 0);
    if (what == u"tray-tip") return {icon ? icon->tip : u"(no icon)"};
    if (what == u"tray-icon-details") {
        if (icon == nullptr) return {u"(no icon)"};
        return {Decimal(icon->id), Hex(icon->callbackMessage),
                icon->window == options->Window() ? u"dialog's window" : u"own window"};
    }
    if (what == u"tray-enabled") return flag(options->Tray().Enabled());
    if (what == u"failed-tray-calls") return number(desktop.shell.FailedTrayCalls());
    if (what == u"tray-icon-size") return number(icon ? desktop.windows.IconSize(icon->icon) : 0);
    if (what == u"message-allowed") {
        const String name = probe.at(1);
        return flag(
            desktop.windows.FilterAllows(desktop.windows.RegisterWindowMessageW(name.c_str())));
    }
    if (what == u"menu" || what == u"menu-commands") {
        std::vector<String> out;
        for (const SimMenuItem& item : desktop.menus.Items(options->Tray().Menu()))
            out.push_back(what == u"menu" ? item.text : Decimal(item.command));
        return out;
    }
    if (what == u"default-item")
        return number(desktop.menus.GetMenuDefaultItem(options->Tray().Menu(), true));
    if (what == u"shown-menu") {  // the last menu shown: where, whose, chosen, default item
        if (desktop.menus.Shown().empty()) return {u"(none)"};
        const SimShownMenu& menu = desktop.menus.Shown().back();
        std::vector<String> out = {Decimal(menu.at.x) + u"," + Decimal(menu.at.y),
                                   menu.owner == options->Window() ? u"dialog" : u"other",
                                   menu.chosen ? Decimal(*menu.chosen) : u"none"};
        for (const SimMenuItem& item : menu.items)
            out.push_back(item.isDefault ? u"default" : u"item");
        return out;
    }
    if (what == u"modal-runs") {
        std::vector<String> out;
        for (const int run : desktop.dialogs.ModalRuns())
            out.push_back(Decimal(run));
        return out;
    }
    if (what == u"live") {  // menus and fonts not yet destroyed
        return {Decimal(desktop.menus.LiveMenuCount()), Decimal(desktop.graphics.LiveFontCount())};
    }
    if (what == u"exit") {
        static const char16_t* const names[] = {u"other-instance", u"dependency-declined",
                                                u"no-main-window", u"ended",
                                                u"quit",           u"message-error"};
        return {exit ? names[static_cast<int>(*exit)] : u"(not run)"};
    }
    if (what == u"stored-bytes")
        return {Utf16(ReadFileBytes(UserFolder() / kSettingsFileName).size() == sizeof(Settings)
                          ? "record"
                          : "other")};
    if (what == u"install-files" || what == u"start-files" || what == u"user-files") {
        std::vector<String> names;
        const std::filesystem::path folder = what == u"install-files" ? install.Path()
                                             : what == u"start-files" ? directory.Path()
                                                                      : UserFolder();
        std::error_code missing;  // no folder: no files
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
            names.push_back(entry.path().filename().u16string());
        std::sort(names.begin(), names.end());
        return names;
    }
    if (what == u"in-start-directory")
        return flag(std::filesystem::current_path() == directory.Path());
    if (what == u"other-instance") {
        const SimWindow* window = desktop.windows.Get(otherInstance);
        return {window->visible ? u"visible" : u"hidden",
                window->enabled ? u"enabled" : u"disabled",
                desktop.windows.Foreground() == otherInstance ? u"foreground" : u"behind"};
    }
    if (what == u"clock-in") {
        const std::uint64_t now = desktop.clock.Now();
        return flag(now >= static_cast<std::uint64_t>(ToInt(probe.at(1))) &&
                    now < static_cast<std::uint64_t>(ToInt(probe.at(2))));
    }
    if (what ==
        u"box-shows") {  // the last box shows the text of this key of the installation's lang.ini
        CLangFile lang(install / kLanguageFileName, AnsiToUtf16);
        const String* text = lang.GetText(Utf8(probe.at(1)));
        return flag(text != nullptr && !text->empty() && !desktop.messageBoxes.Shown().empty() &&
                    desktop.messageBoxes.Shown().back().text == *text);
    }
    if (what == u"program-state") {  // what the end must leave: nothing
        return {app.mainDialog ? u"dialog" : u"no-dialog",
                app.mainWindow != kNoWindow ? u"window" : u"no-window",
                app.langFile ? u"lang" : u"no-lang", Decimal(desktop.loop.TimerCount())};
    }
    if (what == u"reply-unchanged") return flag(oe.BodyText(reply) == replyText);
    if (what == u"reply-has") return flag(oe.BodyText(reply).find(probe.at(1)) != String::npos);
    if (what == u"emoticons") {  // the table the program read
        std::vector<String> entries;
        for (const EmoticonEntry& entry : app.emoticons)
            entries.push_back(entry.code + u"=" + entry.image);
        return entries;
    }
    ADD_FAILURE() << "unknown probe " << Utf8(what);
    return {};
}

}  // namespace nimbrel
