// nimbrel: the engine of Nimbrel on the command line.
#include <CLI/CLI.hpp>

#include "CommandLine.h"
#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{
        "nimbrel: run Nimbrel in a simulated desktop, reformat replies and colour messages as it "
        "does",
        "nimbrel"};
    nimbrel::RegisterDemoCommand(app);
    nimbrel::RegisterConfigCommand(app);
    nimbrel::RegisterReformatCommand(app);
    nimbrel::RegisterViewCommand(app);
    return nimbrel::RunCommandLine(app, argc, argv);
}
