#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <system_error>

namespace nimbrel {

namespace {

std::filesystem::path argv0;
int exitStatus = 0;

void ReportError(std::string message) {
    for (char& c : message) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::cerr << "nimbrel: " << message << '\n';
}

}  // namespace

void SetExitStatus(int status) {
    exitStatus = status;
}

int RunCommandLine(CLI::App& app, int argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr) argv0 = argv[0];
    app.set_version_flag("--version", "nimbrel " NIMBREL_VERSION);
    app.require_subcommand(1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version arrive as "errors" with status 0.
        if (error.get_exit_code() == 0) return app.exit(error);
        ReportError(std::string(error.what()) + " (see --help)");
        return kExitFailure;
    } catch (const CommandError& error) {
        ReportError(error.what());
        return kExitFailure;
    }
    std::cout.flush();
    if (!std::cout) {
        ReportError("cannot write to standard output");
        return kExitFailure;
    }
    return exitStatus;
}

std::filesystem::path ExecutablePath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !path.empty()) return path;
    // Elsewhere argv[0] is the best there is, when it names a path at all.
    if (!argv0.has_parent_path()) return {};
    path = std::filesystem::absolute(argv0, error);
    return error ? std::filesystem::path() : path;
}

}  // namespace nimbrel
