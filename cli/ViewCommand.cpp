// nimbrel view: a message coloured as Nimbrel colours it in the message view,
// as a standalone HTML page or as the body HTML alone.
#include "ViewCommand.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "CommonOptions.h"
#include "Utf8Writer.h"
#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "coloring/Emoticons.h"
#include "coloring/HtmlKind.h"
#include "coloring/ViewPipeline.h"
#include "platform/MessageBoxes.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

struct ViewOptions {
    CommonOptions common;
    bool html = false;
    bool fragment = false;
    std::string output;
    std::string input = "-";
};

// The warnings the program would show in a message box go to standard error
// as one line each; colouring goes on as it does in the program.
class StderrMessageBoxes : public MessageBoxes {
  public:
    int MessageBoxW(StringView text, StringView caption, std::uint32_t flags) override {
        return MessageBoxA(Utf16ToUtf8(text), Utf16ToUtf8(caption), flags);
    }
    int MessageBoxA(std::string_view text, std::string_view, std::uint32_t) override {
        std::string line = "nimbrel: warning: ";
        for (char c : text) {
            if (c == '\n' || c == '\r') {
                if (line.back() != ' ') line += ' ';
            } else {
                line += c;
            }
        }
        while (line.back() == ' ')
            line.pop_back();
        std::cerr << line << '\n';
        return mb::kIdOk;
    }
};

std::string ReadStyleSheet(const std::filesystem::path& directory) {
    const std::filesystem::path path = directory / "styles.css";
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) throw CommandError("cannot read '" + path.string() + "'");
    std::string css{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw CommandError("cannot read '" + path.string() + "'");
    return css;
}

// The output: the body alone and a line break, or the whole page around it,
// encoded as it comes (the body is written as it is made).
class PageWriter final : public TextSink {
  public:
    PageWriter(Utf8Writer& out, std::string_view css, bool fragment)
        : out_(out), fragment_(fragment) {
        if (fragment_) return;
        out_.AppendBytes(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Nimbrel</title>\n"
            "<style>\nbody { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; }\n");
        out_.AppendBytes(css);
        if (!css.empty() && css.back() != '\n') out_.AppendBytes("\n");
        out_.AppendBytes("</style>\n</head>\n<body>\n");
    }
    void Append(StringView body) override { out_.AppendExact(body); }
    void Finish() {
        out_.AppendBytes(fragment_ ? "\n" : "\n</body>\n</html>\n");
        out_.Finish();
    }

  private:
    Utf8Writer& out_;
    bool fragment_;
};

void View(const ViewOptions& options) {
    const Settings settings = options.common.BuildSettings();
    std::error_code error;
    std::filesystem::path data = std::filesystem::absolute(options.common.DataDirectory(), error);
    if (error) data = options.common.DataDirectory();
    const std::string css = ReadStyleSheet(data);

    const std::string name = options.input == "-" ? "standard input" : options.input;
    // A document's innerText has CR LF line breaks; the colouring of plain
    // text takes a bare LF for one as well, so its LFs are left as they come
    // (a CR added before each would only be taken out again). The input's own
    // last line break is not part of the message.
    String message;
    {
        const std::string bytes = ReadInput(options.input);
        std::string_view text = bytes;
        if (text.ends_with('\n')) text.remove_suffix(1);
        if (text.ends_with('\r')) text.remove_suffix(1);
        message = DecodeUtf8Input(text, name, false);
    }

    StderrMessageBoxes boxes;
    const bool warnings = settings.displayWarnings != 0;
    const CStyleSheetInfo styleSheet(data, warnings, boxes);
    std::vector<EmoticonEntry> emoticons;
    LoadEmoticonTable(data, warnings, boxes, emoticons, AnsiToUtf16);
    const String imagePrefix = EmoticonImagePrefix(AnsiToUtf16(data.string()));
    const ViewResources resources{styleSheet, emoticons, imagePrefix};

    // Standard output gets the page as it is made; a file is replaced whole.
    Utf8Writer bytes(options.output.empty() ? &std::cout : nullptr);
    PageWriter page(bytes, css, options.fragment);
    if (!options.html) {
        ColorMessageText(std::move(message), settings, resources, page);
    } else if (IsFormattedHtml(message)) {
        std::cerr << "nimbrel: note: a message formatted in HTML is left as it is\n";
        page.Append(message);
    } else if (IsColoredHtml(message)) {
        std::cerr << "nimbrel: note: the message is coloured already and is left as it is\n";
        page.Append(message);
    } else {
        page.Append(ColorMessageHtml(message, false, settings, resources));
    }
    page.Finish();
    if (!options.output.empty()) WriteFileReplacing(options.output, bytes.Bytes());
}

}  // namespace

void RegisterViewCommand(CLI::App& app) {
    auto options = std::make_shared<ViewOptions>();
    CLI::App* view = app.add_subcommand(
        "view",
        "Colour a message as the message view shows it: quote levels, signature, links, "
        "*bold* /italic/ _underline_ and emoticons. Writes a standalone HTML page (styles.css "
        "inlined, emoticon images from the data directory), or with --fragment the body HTML.");
    options->common.AddTo(*view);
    view->add_flag("--html", options->html,
                   "the input is a message's body HTML as the mail program holds it, not plain "
                   "text; a message formatted in HTML is shown unchanged");
    view->add_flag("--fragment", options->fragment,
                   "write only the body HTML that colouring puts into the document");
    view->add_option("-o,--output", options->output, "write to FILE instead of standard output")
        ->type_name("FILE");
    view->add_option("input", options->input,
                     "the message (UTF-8, LF or CR LF line breaks); '-' or none: standard input")
        ->type_name("FILE|-");
    view->callback([options] { View(*options); });
}

}  // namespace nimbrel
