// nimbrel config: shows and changes the fields of a Nimbrel.cfg by name.
#include "ConfigCommand.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "CommandLine.h"
#include "CommonOptions.h"
#include "shell/SettingsFields.h"

namespace nimbrel {

namespace {

struct ConfigOptions {
    std::string file = kSettingsFileName;  // in the current directory, as the program reads it
    std::vector<std::string> assignments;
};

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

void Show(const ConfigOptions& options) {
    Settings record = Settings::Defaults();
    if (Exists(options.file)) {
        record = ReadSettingsFile(options.file);
    } else {
        std::cerr << "nimbrel: " << options.file << " not found; showing the defaults\n";
    }
    std::string out;
    for (const SettingsField& field : AllSettingsFields()) {
        out += field.name;
        out += " = ";
        out += FormatSettingsField(record, field);
        out += '\n';
    }
    std::cout << out;
}

void Set(const ConfigOptions& options) {
    // A file that exists but cannot be read must not be replaced by defaults.
    Settings record = Exists(options.file) ? ReadSettingsFile(options.file) : Settings::Defaults();
    // Every assignment is checked before anything is written.
    for (const std::string& assignment : options.assignments) {
        const std::string error = ApplySettingsAssignment(record, assignment);
        if (!error.empty()) throw CommandError(error);
    }
    if (SaveSettings(record, options.file)) {
        throw CommandError("cannot write settings file '" + options.file + "'");
    }
}

}  // namespace

void RegisterConfigCommand(CLI::App& app) {
    auto options = std::make_shared<ConfigOptions>();
    CLI::App* config = app.add_subcommand("config", "Show or change the fields of a Nimbrel.cfg");
    config->require_subcommand(1);
    config->add_option("--config", options->file, "settings file (default: Nimbrel.cfg here)")
        ->type_name("FILE");

    CLI::App* show = config->add_subcommand(
        "show", "Print every field as 'name = value' (templates with backslash-n as stored)");
    show->fallthrough();
    show->callback([options] { Show(*options); });

    CLI::App* set = config->add_subcommand(
        "set",
        "Change fields and save the file, creating it with the defaults when missing; "
        "nothing is written unless every assignment is valid");
    set->add_option("assignment", options->assignments, "e.g. wrapColumn=76 quoteChar='|'")
        ->type_name("NAME=VALUE")
        ->required();
    set->fallthrough();
    set->callback([options] { Set(*options); });
}

}  // namespace nimbrel
