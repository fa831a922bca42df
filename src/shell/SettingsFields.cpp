#include "shell/SettingsFields.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

#include "shell/Utf.h"

namespace nimbrel {

namespace {

#define NIMBREL_FIELD(name, kind)                        \
    SettingsField {                                      \
#name, FieldKind::kind, offsetof(Settings, name) \
    }

constexpr std::array kFields = {
    NIMBREL_FIELD(wrapColumn, WrapColumn),
    NIMBREL_FIELD(quoteChar, QuoteChar),
    NIMBREL_FIELD(compressedIndentation, Boolean),
    NIMBREL_FIELD(dependOnOE, Boolean),
    NIMBREL_FIELD(cursorAtTop, Boolean),
    NIMBREL_FIELD(signatureToBottom, Boolean),
    NIMBREL_FIELD(ignoreHtmlMessages, Boolean),
    NIMBREL_FIELD(oeReactionDelay, Number),
    NIMBREL_FIELD(clipboardOpenTimeout, Number),
    NIMBREL_FIELD(checkInterval, Number),
    NIMBREL_FIELD(displayWarnings, Boolean),
    NIMBREL_FIELD(colorMessageView, Boolean),
    NIMBREL_FIELD(compositionInitDelay, Number),
    NIMBREL_FIELD(continuousColoring, Boolean),
    NIMBREL_FIELD(useClipboard, Boolean),
    NIMBREL_FIELD(stripQuotedSignature, Boolean),
    NIMBREL_FIELD(emailHeader.text, Template),
    NIMBREL_FIELD(emailHeader.style, Style),
    NIMBREL_FIELD(newsHeader.text, Template),
    NIMBREL_FIELD(newsHeader.style, Style),
    NIMBREL_FIELD(iso8859SignatureFix, Boolean),
    NIMBREL_FIELD(fixExistingQuotes, Boolean),
    NIMBREL_FIELD(colorComposeWindow, Boolean),
    NIMBREL_FIELD(reformatMessageView, Boolean),
    NIMBREL_FIELD(fontStyles, Boolean),
    NIMBREL_FIELD(emoticons, Boolean),
    NIMBREL_FIELD(keepStyleMarkers, Boolean),
    NIMBREL_FIELD(reformatArbitraryLength, Boolean),
    NIMBREL_FIELD(altFunction, AltFunction),
    NIMBREL_FIELD(hideTrayIcon, Boolean),
    NIMBREL_FIELD(standardizedIndentation, Boolean),
};

#undef NIMBREL_FIELD

// Fields are reached by offset; the record is trivially copyable, so the
// values are copied in and out with memcpy.
template <typename T>
T Get(const Settings& record, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&record) + offset, sizeof value);
    return value;
}

template <typename T>
void Put(Settings& record, std::size_t offset, T value) {
    std::memcpy(reinterpret_cast<unsigned char*>(&record) + offset, &value, sizeof value);
}

bool ParseInteger(std::string_view text, std::int64_t& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    return !text.empty() && ec == std::errc() && ptr == last;
}

std::string Error(const SettingsField& field, const char* accepts) {
    return std::string(field.name) + ": expected " + accepts;
}

}  // namespace

std::span<const SettingsField> AllSettingsFields() {
    return kFields;
}

const SettingsField* FindSettingsField(std::string_view name) {
    for (const SettingsField& field : kFields) {
        if (name == field.name) return &field;
    }
    return nullptr;
}

std::string FormatSettingsField(const Settings& record, const SettingsField& field) {
    switch (field.kind) {
        case FieldKind::Number:
        case FieldKind::Boolean:
        case FieldKind::WrapColumn:
        case FieldKind::AltFunction:
            return std::to_string(Get<std::int32_t>(record, field.offset));
        case FieldKind::Style:
            return std::to_string(Get<std::uint32_t>(record, field.offset));
        case FieldKind::QuoteChar: {
            const char16_t c = Get<char16_t>(record, field.offset);
            return Utf16ToUtf8(StringView(&c, 1));
        }
        case FieldKind::Template: {
            char16_t text[kTemplateUnits];
            std::memcpy(text, reinterpret_cast<const unsigned char*>(&record) + field.offset,
                        sizeof text);
            std::size_t length = 0;
            while (length < kTemplateUnits && text[length] != 0)
                ++length;
            return Utf16ToUtf8(StringView(text, length));
        }
    }
    return {};
}

std::string SetSettingsField(Settings& record, std::string_view name, std::string_view value) {
    const SettingsField* field = FindSettingsField(name);
    if (field == nullptr) return "unknown setting '" + std::string(name) + "'";

    std::int64_t number = 0;
    switch (field->kind) {
        case FieldKind::Number:
            if (!ParseInteger(value, number) || number < std::numeric_limits<std::int32_t>::min() ||
                number > std::numeric_limits<std::int32_t>::max()) {
                return Error(*field, "a whole number (32-bit)");
            }
            Put(record, field->offset, static_cast<std::int32_t>(number));
            return {};
        case FieldKind::Boolean:
            if (value != "0" && value != "1") return Error(*field, "0 or 1");
            Put(record, field->offset, static_cast<std::int32_t>(value == "1"));
            return {};
        case FieldKind::WrapColumn:
            if (!ParseInteger(value, number) || number < kMinWrapColumn ||
                number > kMaxWrapColumn) {
                return Error(*field, "a whole number from 60 to 132");
            }
            Put(record, field->offset, static_cast<std::int32_t>(number));
            return {};
        case FieldKind::AltFunction:
            if (!ParseInteger(value, number) || number < 0 || number > 2) {
                return Error(*field,
                             "0 (no function), 1 (Alt held skips) or 2 (Alt held processes)");
            }
            Put(record, field->offset, static_cast<std::int32_t>(number));
            return {};
        case FieldKind::Style:
            if (!ParseInteger(value, number) || number < 0 || number > 4) {
                return Error(*field, "a header style from 0 to 4");
            }
            Put(record, field->offset, static_cast<std::uint32_t>(number));
            return {};
        case FieldKind::QuoteChar: {
            String text;
            std::size_t offset = 0;
            if (!Utf8ToUtf16(value, text, offset) || text.size() != 1 || text[0] == 0) {
                return Error(*field, "exactly one character");
            }
            Put(record, field->offset, text[0]);
            return {};
        }
        case FieldKind::Template: {
            String text;
            std::size_t offset = 0;
            if (!Utf8ToUtf16(value, text, offset)) return Error(*field, "UTF-8 text");
            if (text.find(u'\0') != String::npos) return Error(*field, "text without NUL");
            if (text.size() > kTemplateUnits - 1) {
                return Error(*field, "a template of at most 255 UTF-16 units");
            }
            char16_t units[kTemplateUnits] = {};
            text.copy(units, text.size());
            std::memcpy(reinterpret_cast<unsigned char*>(&record) + field->offset, units,
                        sizeof units);
            return {};
        }
    }
    return {};
}

std::string ApplySettingsAssignment(Settings& record, std::string_view assignment) {
    const std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos) {
        return "expected NAME=VALUE, got '" + std::string(assignment) + "'";
    }
    return SetSettingsField(record, assignment.substr(0, eq), assignment.substr(eq + 1));
}

}  // namespace nimbrel
