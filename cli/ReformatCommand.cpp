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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The rebuilt text as UTF-8 with LF breaks (a CR before an LF dropped),
// appended to `out`.
void AppendWithLfBreaks(std::string& out, StringView text) {
    std::size_t from = 0;
    for (std::size_t crLf; (crLf = text.find(u"\r\n", from)) != StringView::npos;) {
        AppendUtf16AsUtf8(out, text.substr(from, crLf - from));
        from = crLf + 1;
    }
    AppendUtf16AsUtf8(out, text.substr(from));
}

void Run(const ReformatOptions& options) {
    if (options.inPlace && options.file == "-") {
        throw CommandError("--in-place needs a FILE");
    }
    const Settings record = options.common.BuildSettings();
    const std::filesystem::path dataDirectory = options.common.DataDirectory();
    const std::string bytes = ReadInput(options.file);

    // A byte order mark that an editor put in front is not part of the text.
    // An editor ends a file with a line break; the window's text never has
    // one. What is left is decoded with the engine's CR LF breaks.
    std::string_view body = bytes;
    const bool byteOrderMark = body.starts_with(kByteOrderMark);
    if (byteOrderMark) body.remove_prefix(kByteOrderMark.size());
    bool finalBreak = false;
    if (body.ends_with('\n')) {
        finalBreak = true;
        body.remove_suffix(1);
        if (body.ends_with('\r')) body.remove_suffix(1);
    }
    String text =
        DecodeUtf8Input(body, options.file == "-" ? "standard input" : "'" + options.file + "'",
                        true, byteOrderMark ? kByteOrderMark.size() : 0);

    ResetSignatures();
    LoadSignatures(dataDirectory);
    crtRandom.Seed(options.seedGiven ? options.seed
                                     : static_cast<std::uint32_t>(std::time(nullptr)));
    std::int32_t caretCount = 0;
    const std::int32_t result = TransformComposeText(record, text, caretCount);

    if (result == kComposeUnchanged) {
        if (!options.inPlace) WriteOutput(bytes);
    } else {
        std::string out;
        out.reserve(text.size() + kByteOrderMark.size() + 1);
        if (byteOrderMark) out += kByteOrderMark;
        AppendWithLfBreaks(out, text);
        if (finalBreak) out += '\n';
        if (options.inPlace) {
            WriteFileReplacing(options.file, out);
        } else {
            WriteOutput(out);
        }
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
