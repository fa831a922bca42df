// nimbrel reformat: the text transformation of a compose window, applied to a
// file: the reply reformat, or for a message that is not a reply the
// signature replacements.
#include "ReformatCommand.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "CommonOptions.h"
#include "compose/ComposeText.h"
#include "reformat/Signatures.h"
#include "shell/CrtRandom.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

struct ReformatOptions {
    CommonOptions common;
    std::uint32_t seed = 0;
    bool seedGiven = false;
    bool report = false;
    bool inPlace = false;
    std::string file = "-";
};

// The engine takes CR LF breaks, as the compose window's text has them.
String WithCrLfBreaks(StringView text) {
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
        out += text[i];
    }
    return out;
}

String WithLfBreaks(StringView text) {
    String out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        out += text[i];
    }
    return out;
}

void Run(const ReformatOptions& options) {
    if (options.inPlace && options.file == "-") {
        throw CommandError("--in-place needs a FILE");
    }
    const Settings record = options.common.BuildSettings();
    const std::filesystem::path dataDirectory = options.common.DataDirectory();
    const std::string bytes = ReadInput(options.file);
    String text =
        DecodeUtf8Input(bytes, options.file == "-" ? "standard input" : "'" + options.file + "'");

    // A byte order mark that an editor put in front is not part of the text.
    const bool byteOrderMark = !text.empty() && text.front() == u'\uFEFF';
    if (byteOrderMark) text.erase(0, 1);
    // An editor ends a file with a line break; the window's text never has one.
    bool finalBreak = false;
    if (!text.empty() && text.back() == u'\n') {
        finalBreak = true;
        text.pop_back();
        if (!text.empty() && text.back() == u'\r') text.pop_back();
    }
    text = WithCrLfBreaks(text);

    ResetSignatures();
    LoadSignatures(dataDirectory);
    crtRandom.Seed(options.seedGiven ? options.seed
                                     : static_cast<std::uint32_t>(std::time(nullptr)));
    std::int32_t caretCount = 0;
    const std::int32_t result = TransformComposeText(record, text, caretCount);

    std::string out = bytes;
    if (result != kComposeUnchanged) {
        out = byteOrderMark ? "\xEF\xBB\xBF" : "";
        out += Utf16ToUtf8(WithLfBreaks(text));
        if (finalBreak) out += '\n';
    }
    if (options.inPlace) {
        if (result != kComposeUnchanged) WriteFileReplacing(options.file, out);
    } else {
        std::cout << out;
        std::cout.flush();
    }
    if (options.report) std::cerr << "result " << result << " caret " << caretCount << '\n';
}

}  // namespace

void RegisterReformatCommand(CLI::App& app) {
    auto options = std::make_shared<ReformatOptions>();
    CLI::App* command = app.add_subcommand(
        "reformat", "Reformat a reply as Nimbrel does when a compose window opens");
    command->footer(
        "The quote header is rewritten, the quote requoted and re-wrapped, the quoted signature "
        "stripped and \"<nimbrel-sig>\" replaced by a random signature from signatures.ini. "
        "Reads UTF-8 with LF or CR LF line breaks and writes UTF-8 with LF line breaks; a text "
        "that is left alone is written back byte for byte. Exit status 2 on any error, with "
        "nothing written.");
    options->common.AddTo(*command);
    command
        ->add_option_function<std::uint32_t>(
            "--seed",
            [options](const std::uint32_t& seed) {
                options->seed = seed;
                options->seedGiven = true;
            },
            "seed of the random signature choice (default: the current time)")
        ->type_name("N");
    command->add_flag("--report", options->report,
                      "after the text, write 'result R caret C' to standard error (R: 0 "
                      "reformatted, 1 left alone, 4 quote level added, 7 signatures only; C: "
                      "Up presses that place the caret)");
    command->add_flag("--in-place", options->inPlace,
                      "rewrite FILE (atomically) instead of writing to standard output");
    command->add_option("file", options->file, "the text to reformat, or - for standard input")
        ->type_name("FILE|-");
    command->callback([options] { Run(*options); });
}

}  // namespace nimbrel
