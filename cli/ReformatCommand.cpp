// nimbrel reformat: the text transformation of a compose window, applied to a
// file: the reply reformat, or for a message that is not a reply the
// signature replacements.
#include "ReformatCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "CommonOptions.h"
#include "Utf8Input.h"
#include "Utf8Writer.h"
#include "compose/ComposeText.h"
#include "reformat/ReplyFormatter.h"
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

// The text as the window holds it: CR LF breaks (an LF without a CR gets one).
String WithCrLfBreaks(StringView text) {
    String out;
    out.reserve(text.size() +
                static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n')));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.push_back(u'\r');
        out.push_back(text[i]);
    }
    return out;
}

void Run(const ReformatOptions& options) {
    if (options.inPlace && options.file == "-") {
        throw CommandError("--in-place needs a FILE");
    }
    const Settings record = options.common.BuildSettings();
    const std::filesystem::path dataDirectory = options.common.DataDirectory();
    // The text exactly as the input has it, without a byte order mark that
    // an editor put in front. An editor ends a file with a line break; the
    // window's text never has one.
    bool byteOrderMark = false;
    String text = ReadUtf8Input(options.file, byteOrderMark);
    StringView finalBreak;
    if (!text.empty() && text.back() == u'\n') {
        text.pop_back();
        finalBreak = u"\n";
        if (!text.empty() && text.back() == u'\r') {
            text.pop_back();
            finalBreak = u"\r\n";
        }
    }

    ResetSignatures();
    LoadSignatures(dataDirectory);
    crtRandom.Seed(options.seedGiven ? options.seed
                                     : static_cast<std::uint32_t>(std::time(nullptr)));

    // The reformat sees no CRs: its lines end at every LF and lose their
    // trailing white space, CR included, so they are the lines of the
    // window's CR LF text. The rebuilt text is written as it is made.
    Utf8Writer out(options.inPlace ? nullptr : &std::cout);
    if (byteOrderMark) out.AppendBytes(kByteOrderMark);
    std::int32_t caretCount = 0;
    std::int32_t result;
    {
        ReplyFormatter formatter(record);
        result = formatter.Reformat(text, caretCount, out);
    }
    if (result == kComposeUnchanged) {
        // A new message, or not a reply: the signature replacements work on
        // the window's CR LF text.
        String windowText = WithCrLfBreaks(text);
        result = ReplaceSignatureMarks(record, windowText);
        if (result == kComposeUnchanged) {
            // Written back as it came, byte for byte.
            out.AppendExact(text);
            out.AppendExact(finalBreak);
        } else {
            out.Append(windowText);
            if (!finalBreak.empty()) out.AppendBytes("\n");
        }
    } else if (!finalBreak.empty()) {
        out.AppendBytes("\n");
    }
    if (result != kComposeUnchanged || !options.inPlace) out.Finish();
    if (options.inPlace && result != kComposeUnchanged)
        WriteFileReplacing(options.file, out.Bytes());
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
