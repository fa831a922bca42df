// What every command of the nimbrel tool shares: how failures are reported
// and how the parsed command line is run.
#pragma once

#include <filesystem>
#include <stdexcept>

namespace CLI {
class App;
}

namespace nimbrel {

// Exit status of every failure: bad usage, bad input, unreadable or
// unwritable files.
constexpr int kExitFailure = 2;

// Exit status of a command that did its work with a negative result (the
// demo's scenario checks failed); set by SetExitStatus.
constexpr int kExitChecksFailed = 1;
void SetExitStatus(int status);

// Thrown by a command to fail. The message is one line without the
// "nimbrel: " prefix; RunCommandLine prints it to standard error. A command
// must not have written to standard output before it throws.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Adds --version, requires one command, parses the arguments and runs the
// command's callback. Help goes to standard output with status 0; a usage
// error or a CommandError becomes "nimbrel: <message>" on standard error with
// status kExitFailure, as does a failed write to standard output.
int RunCommandLine(CLI::App& app, int argc, char** argv);

// The running program's own file, for finding the data installed with it;
// empty when it cannot be found.
std::filesystem::path ExecutablePath();

}  // namespace nimbrel
