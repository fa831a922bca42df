#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"nimbrel: reformat replies and colour messages"};
    CLI11_PARSE(app, argc, argv);
    return 0;
}
