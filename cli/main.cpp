// nimbrel: the engine of Nimbrel on the command line.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"nimbrel: reformat replies and colour messages"};
    app.require_subcommand(1);
    // Each command registers itself here (cli/<Name>Command.cpp).
    CLI11_PARSE(app, argc, argv);
    return 0;
}
