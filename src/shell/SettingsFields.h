// The fields of the settings record by name, for the command line tool and
// for test cases: listing, formatting and setting with validation.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "shell/Settings.h"

namespace nimbrel {

enum class FieldKind {
    Number,       // int32, any value
    Boolean,      // bool32, 0 or 1
    WrapColumn,   // int32, 60..132 as the options dialog enforces
    QuoteChar,    // one UTF-16 unit
    Template,     // text[256]: at most 255 units, backslash-n as stored
    Style,        // uint32, 0..4
    AltFunction,  // int32, 0..2 (the entries of the Alt combo box)
};

struct SettingsField {
    const char* name;  // wrapColumn, quoteChar, emailHeader.text, ...
    FieldKind kind;
    std::size_t offset;
};

// Every field of the record in file order (the padding is not a field).
std::span<const SettingsField> AllSettingsFields();

// nullptr when `name` is not a field.
const SettingsField* FindSettingsField(std::string_view name);

// The value as text (UTF-8): numbers in decimal, templates as stored.
std::string FormatSettingsField(const Settings& record, const SettingsField& field);

// Sets one field from its text (UTF-8). Returns "" on success, else a
// one-line error naming the field and what it accepts; the record is then
// untouched.
std::string SetSettingsField(Settings& record, std::string_view name, std::string_view value);

// "NAME=VALUE": as SetSettingsField; an assignment without '=' is an error.
std::string ApplySettingsAssignment(Settings& record, std::string_view assignment);

}  // namespace nimbrel
