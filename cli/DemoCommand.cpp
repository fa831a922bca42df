// nimbrel demo: the whole tray program, from start-up to Terminate, beside a
// simulated Outlook Express that opens the bundled example messages.
#include "DemoCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
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
#include "platform/sim/OeTestHost.h"
#include "platform/sim/SimDesktop.h"
#include "shell/App.h"
#include "shell/Startup.h"
#include "shell/Utf.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbrel";
// Every window opens this long after the one before; the program's timer
// ticks every 300 ms, so each is handled before the next one comes.
constexpr std::uint64_t kStep = 1000;
constexpr std::uint64_t kDemoTimeLimit = 600000;

struct DemoOptions {
    std::string data;
    std::string out = "nimbrel-demo";
};

enum class WindowKind { kCompose, kMessageWindow, kPreviewPane };

// One thing Outlook Express does in the demo.
struct DemoWindow {
    const char* what;
    const char* file;       // in <data>/examples
    const char16_t* title;  // the note window's; the preview pane has none
    WindowKind kind;
    bool html;
    const char* page;  // the coloured page written for it, or nullptr
};

constexpr DemoWindow kWindows[] = {
    {"E-mail reply", "email_reply.txt", u"Re: Thursday's meeting", WindowKind::kCompose, false,
     nullptr},
    {"News reply", "news_reply.txt", u"Re: 2.4 driver locks up", WindowKind::kCompose, false,
     nullptr},
    {"Reply quoted with \"|\"", "bar_quoted_reply.txt", u"Re: Conference dates",
     WindowKind::kCompose, false, nullptr},
    {"HTML reply", "html_reply.html", u"Re: Thursday", WindowKind::kCompose, true, nullptr},
    {"New message with a signature marker", "new_message_signature.txt", u"Second quarter figures",
     WindowKind::kCompose, false, nullptr},
    {"Message in its own window", "view-plain-note.txt", u"Meeting moved",
     WindowKind::kMessageWindow, false, "message-window.html"},
    {"Message in the preview pane", "view-quoted-reply.txt", nullptr, WindowKind::kPreviewPane,
     false, "preview.html"},
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

String WithCrLf(StringView text) {
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
        out += text[i];
    }
    return out;
}

std::string ForTerminal(StringView text) {
    std::string out = Utf16ToUtf8(text);
    std::erase(out, '\r');
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out;
}

// The example as Outlook Express holds it: CR LF line breaks, no line break
// at the end.
String ReadExample(const fs::path& path) {
    String text = DecodeUtf8Input(ReadInput(path.string()), "'" + path.string() + "'");
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back();
    return WithCrLf(text);
}

// The install directory: the data files without the examples and without a
// settings file, so that the run is a first run.
void Install(const fs::path& data, const fs::path& install) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(data, error)) {
        const fs::path name = entry.path().filename();
        if (name == "examples" || name == kSettingsFileName) continue;
        fs::copy(entry.path(), install / name,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        if (error) break;
    }
    if (error) throw CommandError("cannot copy '" + data.string() + "': " + error.message());
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

void WritePageFiles(const fs::path& install, const fs::path& out) {
    std::error_code error;
    fs::create_directories(out, error);
    if (!error) {
        fs::copy_file(install / "styles.css", out / "styles.css",
                      fs::copy_options::overwrite_existing, error);
    }
    if (!error && fs::is_directory(install / "emoticons")) {
        fs::copy(install / "emoticons", out / "emoticons",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    }
    if (error) throw CommandError("cannot write '" + out.string() + "': " + error.message());
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

void RunDemo(const DemoOptions& options) {
    std::error_code error;
    const fs::path data = fs::absolute(FindDataDirectory(options.data), error);
    const fs::path out = fs::absolute(options.out, error);
    if (error) throw CommandError("--out: cannot use '" + options.out + "'");

    std::vector<String> texts;
    for (const DemoWindow& window : kWindows)
        texts.push_back(ReadExample(data / "examples" / window.file));

    ScratchDirectory install;
    Install(data, install.path);

    ResetProgramState();
    SimDesktop desktop;
    desktop.registry.SetString(kHkeyLocalMachine, kUninstallKey, "UninstallString",
                               install.path.string() + "\\uninst.exe");
    // Should the program fail to end, the run ends as if with WM_QUIT.
    desktop.loop.StopAt(kDemoTimeLimit);
    OeTestHost oe(desktop);
    oe.Start();

    // Outlook Express opens one window after the other; then the user opens
    // the options dialog from the tray, looks at the status list and
    // terminates the program.
    std::vector<WindowHandle> documents(std::size(kWindows), kNoWindow);
    std::vector<WindowHandle> notes(std::size(kWindows), kNoWindow);
    std::uint64_t time = kStep;
    for (std::size_t i = 0; i < std::size(kWindows); ++i, time += kStep) {
        desktop.clock.At(time, [&, i] {
            const DemoWindow& window = kWindows[i];
            OeNoteOptions note;
            if (window.title != nullptr) note.title = window.title;
            note.html = window.html;
            if (window.kind == WindowKind::kCompose) {
                notes[i] = oe.OpenReply(texts[i], note).note;
            } else if (window.kind == WindowKind::kMessageWindow) {
                const OeNote opened = oe.OpenMessage(texts[i], note);
                notes[i] = opened.note;
                documents[i] = opened.documentWindow;
            } else {
                documents[i] = oe.ShowInPreview(texts[i], window.html);
            }
        });
    }
    std::vector<std::vector<String>> rows;
    bool shown = false;
    desktop.clock.At(time, [&] {
        desktop.DoubleClickTrayIcon();
        SimDialog dialog = desktop.dialogs.Find(IDD_OPTIONS);
        shown = dialog.Visible();
        rows = dialog.Rows(IDC_OPT_STATUS_LIST);
        dialog.Click(IDC_OPT_TERMINATE);
    });

    const ProgramExit exit = RunApplication(desktop.platform());
    const String imagePrefix =
        EmoticonImagePrefix(desktop.system.MultiByteToWideChar(app.installDirectory));
    if (exit != ProgramExit::kEnded || !shown) {
        ResetProgramState();
        throw CommandError(std::string("the program ended early: ") + ExitText(exit));
    }

    std::cout << "Nimbrel beside a simulated Outlook Express, installed from " << data.string()
              << "\n\n";

    std::cout << "Message boxes\n";
    for (const SimMessageBox& box : desktop.messageBoxes.Shown()) {
        const String firstLine = box.text.substr(0, box.text.find_first_of(u"\r\n"));
        std::cout << "  " << Utf16ToUtf8(box.caption) << ": " << Utf16ToUtf8(firstLine) << "\n";
    }

    std::size_t width = 6;
    for (const std::vector<String>& row : rows)
        if (!row.empty()) width = std::max(width, row[0].size());
    width += 2;
    std::cout << "\nStatus list of the options dialog (newest first)\n";
    std::cout << "  " << Padded(u"Window", width) << "Status\n";
    for (const std::vector<String>& row : rows) {
        std::cout << "  " << Padded(row.empty() ? u"" : row[0], width)
                  << (row.size() > 1 ? Utf16ToUtf8(row[1]) : "") << "\n";
    }

    WritePageFiles(install.path, out);
    for (std::size_t i = 0; i < std::size(kWindows); ++i) {
        const DemoWindow& window = kWindows[i];
        std::cout << "\n" << window.what;
        if (window.title != nullptr) {
            String status = u"no status";
            for (const std::vector<String>& row : rows)
                if (row.size() > 1 && row[0] == window.title) status = row[1];
            std::cout << " \"" << Utf16ToUtf8(window.title) << "\" (" << window.file
                      << "): " << Utf16ToUtf8(status) << "\n";
        } else {
            std::cout << " (" << window.file << ")\n";
        }
        if (window.kind == WindowKind::kCompose) {
            SimDocument& document = oe.Document(notes[i]);
            const String after = window.html ? document.InnerHtml() : document.InnerText();
            std::cout << "--- before\n" << ForTerminal(texts[i]);
            if (after == texts[i]) {
                std::cout << "--- after: unchanged\n";
            } else {
                std::cout << "--- after\n" << ForTerminal(after);
            }
            continue;
        }
        SimDocument& document = oe.Document(documents[i]);
        String body = document.InnerHtml();
        ReplaceAll(body, imagePrefix, u"<IMG src=\"emoticons/");
        const fs::path page = out / window.page;
        WriteFileReplacing(page, Page(document.title.value_or(u""), body));
        std::cout << "coloured, written to " << page.string() << "\n";
    }
    ResetProgramState();
}

}  // namespace

void RegisterDemoCommand(CLI::App& tool) {
    auto options = std::make_shared<DemoOptions>();
    CLI::App* demo = tool.add_subcommand(
        "demo",
        "Run the whole tray program (start-up, timer ticks, Terminate) beside a simulated "
        "Outlook Express that opens the example messages: an e-mail reply, a news reply, a "
        "reply quoted with \"|\", an HTML reply, a new message with a signature marker, a "
        "message in its own window, and a message in the preview pane. Prints the status list "
        "and each reply before and after; writes the coloured messages as HTML pages.");
    demo->add_option("--data", options->data,
                     "data directory to install from, with examples/ (default: the tool's)")
        ->type_name("DIR");
    demo->add_option("--out", options->out,
                     "folder for the coloured pages, styles.css and the emoticon images "
                     "(default: ./nimbrel-demo)")
        ->type_name("DIR");
    demo->callback([options] { RunDemo(*options); });
}

}  // namespace nimbrel
