// nimbrel demo: the whole tray program, from start-up to Terminate, beside a
// simulated Outlook Express that plays a scenario: by default the bundled
// one, which opens the example messages.
#include "DemoCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "CommandLine.h"
#include "CommonOptions.h"
#include "coloring/Emoticons.h"
#include "shell/Utf.h"
#include "sim/ScenarioPlayer.h"

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

struct DemoOptions {
    std::string data;
    std::string scenario;
    std::string out = "nimbrel-demo";
};

// A fresh directory under the system's temporary directory, removed with
// its content when the object goes.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::random_device random;
        const fs::path base = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            path = base / ("nimbrel-demo-" + std::to_string(random()));
            std::error_code error;
            if (fs::create_directory(path, error)) return;
        }
        throw CommandError("cannot create a temporary directory in '" + base.string() + "'");
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    fs::path path;
};

std::string ForTerminal(StringView text) {
    std::string out = Utf16ToUtf8(text);
    std::erase(out, '\r');
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out;
}

void ReplaceAll(String& text, StringView from, StringView to) {
    if (from.empty()) return;
    String out;
    out.reserve(text.size());
    std::size_t position = 0;
    for (std::size_t found = text.find(from); found != String::npos;
         found = text.find(from, position)) {
        out.append(text, position, found - position);
        out += to;
        position = found + from.size();
    }
    out.append(text, position);
    text = std::move(out);
}

// A coloured document as a page of its own, beside a copy of styles.css and
// the emoticon images.
std::string Page(StringView title, StringView body) {
    std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + Utf16ToUtf8(title) +
        "</title>\n<link rel=\"stylesheet\" href=\"styles.css\">\n"
        "<style>body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; }</style>\n"
        "</head>\n<body>\n";
    page += Utf16ToUtf8(body);
    page += "\n</body>\n</html>\n";
    return page;
}

// Copies the file or folder `from` to `to`, each file replaced whole or
// left as it was (WriteFileReplacing).
void CopyReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    if (!fs::is_directory(from, error)) {
        WriteFileReplacing(to, ReadInput(from.string()));
        return;
    }
    fs::create_directories(to, error);
    if (error) throw CommandError("cannot write '" + to.string() + "': " + error.message());
    for (fs::directory_iterator entry(from, error), end; !error && entry != end;
         entry.increment(error)) {
        CopyReplacing(entry->path(), to / entry->path().filename());
    }
    if (error) throw CommandError("cannot read '" + from.string() + "': " + error.message());
}

void WritePageFiles(const fs::path& install, const fs::path& out) {
    std::error_code error;
    fs::create_directories(out, error);
    if (error) throw CommandError("cannot write '" + out.string() + "': " + error.message());
    CopyReplacing(install / "styles.css", out / "styles.css");
    if (fs::is_directory(install / "emoticons")) {
        CopyReplacing(install / "emoticons", out / "emoticons");
    }
}

std::string Padded(StringView text, std::size_t width) {
    std::string out = Utf16ToUtf8(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
    return out;
}

const char* ExitText(ProgramExit exit) {
    switch (exit) {
        case ProgramExit::kOtherInstance:
            return "another instance was running";
        case ProgramExit::kDependencyDeclined:
            return "the dependency question was declined";
        case ProgramExit::kNoMainWindow:
            return "the main dialog could not be created";
        case ProgramExit::kEnded:
            return "Terminate";
        case ProgramExit::kQuit:
            return "WM_QUIT";
        case ProgramExit::kMessageError:
            return "a message loop error";
    }
    return "?";
}

// A window's page name: its scenario id, kept to letters, digits, '-' and '_'.
std::string PageName(const std::string& id) {
    std::string name;
    for (const char c : id)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
    return name + ".html";
}

void RunDemo(const DemoOptions& options) {
    std::error_code error;
    const fs::path data = fs::absolute(FindDataDirectory(options.data), error);
    const fs::path out = fs::absolute(options.out, error);
    if (error) throw CommandError("--out: cannot use '" + options.out + "'");
    const fs::path scenarioFile =
        options.scenario.empty() ? data / "examples" / "demo.txt" : fs::path(options.scenario);
    const ScenarioScript script = ScenarioScript::Load(scenarioFile);
    if (!script.Error().empty())
        throw CommandError("'" + scenarioFile.string() + "': " + script.Error());

    ScratchDirectory scratch;
    ScenarioPlayer player(script, scratch.path);
    if (const std::string fault = player.Install(data); !fault.empty()) throw CommandError(fault);
    const ProgramExit exit = player.Play();
    if (exit == ProgramExit::kQuit && player.desktop.clock.Now() >= ScenarioPlayer::kTimeLimit)
        throw CommandError("the scenario did not end within 600 s of simulated time");
    if (exit != ProgramExit::kEnded)
        throw CommandError(std::string("the program ended early: ") + ExitText(exit));
    const String imagePrefix = EmoticonImagePrefix(player.world.installDirectory);

    std::cout << "Nimbrel beside a simulated Outlook Express, installed from " << data.string()
              << ", playing " << scenarioFile.string() << "\n\n";

    std::cout << "Message boxes\n";
    for (const SimMessageBox& box : player.desktop.messageBoxes.Shown()) {
        const String firstLine = box.text.substr(0, box.text.find_first_of(u"\r\n"));
        std::cout << "  " << Utf16ToUtf8(box.caption) << ": " << Utf16ToUtf8(firstLine) << "\n";
    }

    const std::vector<std::string>& failures = player.runner.Failures();
    bool checks = false;
    for (const std::string& line : player.runner.Log()) {
        if (!checks) std::cout << "\nChecks of the scenario\n";
        checks = true;
        std::cout << "  " << line << "\n";
    }

    const std::vector<std::pair<String, String>> rows = player.world.StatusRows();
    std::size_t width = 6;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    width += 2;
    std::cout << "\nStatus list of the options dialog (newest first)\n";
    std::cout << "  " << Padded(u"Window", width) << "Status\n";
    for (const auto& [title, status] : rows)
        std::cout << "  " << Padded(title, width) << Utf16ToUtf8(status) << "\n";

    WritePageFiles(player.InstallDirectory(), out);
    for (const ScenarioStep& step : script.Steps()) {
        using Kind = ScenarioStep::Kind;
        if (step.kind != Kind::kReply && step.kind != Kind::kMessage && step.kind != Kind::kPreview)
            continue;
        std::cout << "\n" << step.id;
        if (step.kind != Kind::kPreview) {
            String status = u"no status";
            for (const auto& [title, rowStatus] : rows)
                if (title == step.title) status = rowStatus;
            std::cout << " \"" << Utf16ToUtf8(step.title) << "\" (" << step.source
                      << "): " << Utf16ToUtf8(status) << "\n";
        } else {
            std::cout << " (" << step.source << ")\n";
        }
        if (step.kind == Kind::kReply) {
            const std::optional<String> after =
                step.html ? player.world.BodyHtml(step.id) : player.world.BodyText(step.id);
            std::cout << "--- before\n" << ForTerminal(step.text);
            if (!after) {
                std::cout << "--- after: closed\n";
            } else if (*after == step.text) {
                std::cout << "--- after: unchanged\n";
            } else {
                std::cout << "--- after\n" << ForTerminal(*after);
            }
            continue;
        }
        std::optional<String> body = player.world.BodyHtml(step.id);
        if (!body) {
            std::cout << "closed before the end\n";
            continue;
        }
        ReplaceAll(*body, imagePrefix, u"<IMG src=\"emoticons/");
        const fs::path page = out / PageName(step.id);
        WriteFileReplacing(page, Page(player.world.Title(step.id).value_or(u""), *body));
        std::cout << "coloured, written to " << page.string() << "\n";
    }
    if (!failures.empty()) {
        std::cout << "\n" << failures.size() << " check(s) of the scenario failed\n";
        SetExitStatus(kExitChecksFailed);
    }
}

}  // namespace

void RegisterDemoCommand(CLI::App& tool) {
    auto options = std::make_shared<DemoOptions>();
    CLI::App* demo = tool.add_subcommand(
        "demo",
        "Run the whole tray program (start-up, timer ticks, Terminate) beside a simulated "
        "Outlook Express that plays a scenario. The bundled one (examples/demo.txt of the data "
        "directory) opens the example messages: an e-mail reply, a news reply, a reply quoted "
        "with \"|\", an HTML reply, a new message with a signature marker, a message in its own "
        "window, and a message in the preview pane. Prints the message boxes, the scenario's "
        "checks, the status list and each reply before and after; writes the coloured messages "
        "as HTML pages. Exit status 1 when a check of the scenario failed.");
    demo->add_option("--data", options->data,
                     "data directory to install from, with examples/ (default: the tool's)")
        ->type_name("DIR");
    demo->add_option("--scenario", options->scenario,
                     "scenario to play instead of the bundled one (its language: README.md)")
        ->type_name("FILE");
    demo->add_option("--out", options->out,
                     "folder for the coloured pages, styles.css and the emoticon images "
                     "(default: ./nimbrel-demo)")
        ->type_name("DIR");
    demo->callback([options] { RunDemo(*options); });
}

}  // namespace nimbrel
