#include "CommonOptions.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <system_error>

#include "CommandLine.h"
#include "shell/AtomicFile.h"
#include "shell/SettingsFields.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Reads what is left of `in`; false on a read error.
bool ReadAll(std::istream& in, std::string& bytes) {
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

}  // namespace

void CommonOptions::AddTo(CLI::App& command) {
    command.add_option("--config", configFile_, "settings file to use (default: factory defaults)")
        ->type_name("FILE");
    command
        .add_option("--set", assignments_,
                    "override one setting for this run, e.g. --set wrapColumn=60 (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    command
        .add_option("--data", dataDirectory_,
                    "directory of signatures.ini, styles.css and emoticons.ini")
        ->type_name("DIR");
}

Settings CommonOptions::BuildSettings() const {
    Settings record = configFile_.empty() ? Settings::Defaults() : ReadSettingsFile(configFile_);
    for (const std::string& assignment : assignments_) {
        const std::string error = ApplySettingsAssignment(record, assignment);
        if (!error.empty()) throw CommandError("--set: " + error);
    }
    return record;
}

std::filesystem::path CommonOptions::DataDirectory() const {
    return FindDataDirectory(dataDirectory_);
}

std::filesystem::path FindDataDirectory(const std::string& given) {
    if (!given.empty()) {
        if (!IsDirectory(given)) {
            throw CommandError("--data: " + Quoted(given) + " is not a directory");
        }
        return given;
    }
    const std::filesystem::path executable = ExecutablePath();
    if (!executable.empty()) {
        const auto installed = executable.parent_path().parent_path() / "share" / "nimbrel";
        if (IsDirectory(installed)) return installed;
    }
    if (IsDirectory(NIMBREL_SOURCE_DATA_DIR)) return NIMBREL_SOURCE_DATA_DIR;
    throw CommandError("no data directory found; name one with --data DIR");
}

Settings ReadSettingsFile(const std::filesystem::path& path) {
    Settings record = Settings::Defaults();
    if (LoadSettings(record, path)) {
        throw CommandError("cannot read settings file " + Quoted(path));
    }
    return record;
}

std::string ReadInput(const std::string& path) {
    std::string bytes;
    if (path == "-") {
        if (!ReadAll(std::cin, bytes)) throw CommandError("cannot read standard input");
        return bytes;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) throw CommandError("cannot read " + Quoted(path));
    // A file is read whole in one go; whatever it grew by meanwhile after it.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad()) throw CommandError("cannot read " + Quoted(path));
        if (bytes.size() < size) return bytes;  // it shrank: the end has been reached
    }
    if (!ReadAll(in, bytes)) throw CommandError("cannot read " + Quoted(path));
    return bytes;
}

String DecodeUtf8Input(std::string_view bytes, const std::string& name, bool crLfBreaks,
                       std::size_t firstOffset) {
    String text;
    std::size_t offset = 0;
    if (!Utf8ToUtf16(bytes, text, offset, crLfBreaks)) {
        offset += firstOffset;
        throw CommandError(name + ": invalid UTF-8 at byte " + std::to_string(offset));
    }
    return text;
}

void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
    if (WriteFileAtomically(path, bytes)) throw CommandError("cannot write " + Quoted(path));
}

}  // namespace nimbrel
