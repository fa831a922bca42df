// The settings record: every user option of the program in one fixed
// 1140-byte record whose memory image is the file Nimbrel.cfg (no header, no
// version, little-endian). One process-wide instance, `settings`, holds the
// factory defaults after static initialisation; the dialogs and the tray menu
// edit its fields directly by name.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <type_traits>

namespace nimbrel {

static_assert(std::endian::native == std::endian::little,
              "Nimbrel.cfg is the little-endian memory image of Settings");

constexpr int kTemplateUnits = 256;  // a template holds at most 255 units + NUL

// A quote header choice: the custom template (backslash-n for line breaks,
// NUL-terminated, zeros after the terminator) and the style index 0..4.
struct QuoteHeaderSetting {
    char16_t text[kTemplateUnits];
    std::uint32_t style;
};

struct Settings {
    std::int32_t wrapColumn;
    char16_t quoteChar;
    std::uint16_t padding;  // alignment gap, stored in the file like any byte
    std::int32_t compressedIndentation;
    std::int32_t dependOnOE;
    std::int32_t cursorAtTop;
    std::int32_t signatureToBottom;
    std::int32_t ignoreHtmlMessages;
    std::int32_t oeReactionDelay;
    std::int32_t clipboardOpenTimeout;
    std::int32_t checkInterval;
    std::int32_t displayWarnings;
    std::int32_t colorMessageView;
    std::int32_t compositionInitDelay;
    std::int32_t continuousColoring;
    std::int32_t useClipboard;
    std::int32_t stripQuotedSignature;
    QuoteHeaderSetting emailHeader;
    QuoteHeaderSetting newsHeader;
    std::int32_t iso8859SignatureFix;
    std::int32_t fixExistingQuotes;
    std::int32_t colorComposeWindow;
    std::int32_t reformatMessageView;
    std::int32_t fontStyles;
    std::int32_t emoticons;
    std::int32_t keepStyleMarkers;
    std::int32_t reformatArbitraryLength;
    std::int32_t altFunction;
    std::int32_t hideTrayIcon;
    std::int32_t standardizedIndentation;

    // The factory defaults, with zero padding and zeros after both
    // templates' terminators.
    static Settings Defaults();
};

static_assert(std::is_standard_layout_v<Settings> && std::is_trivially_copyable_v<Settings>);
static_assert(sizeof(QuoteHeaderSetting) == 516);
static_assert(sizeof(Settings) == 1140);
static_assert(offsetof(Settings, wrapColumn) == 0);
static_assert(offsetof(Settings, quoteChar) == 4);
static_assert(offsetof(Settings, padding) == 6);
static_assert(offsetof(Settings, compressedIndentation) == 8);
static_assert(offsetof(Settings, dependOnOE) == 12);
static_assert(offsetof(Settings, cursorAtTop) == 16);
static_assert(offsetof(Settings, signatureToBottom) == 20);
static_assert(offsetof(Settings, ignoreHtmlMessages) == 24);
static_assert(offsetof(Settings, oeReactionDelay) == 28);
static_assert(offsetof(Settings, clipboardOpenTimeout) == 32);
static_assert(offsetof(Settings, checkInterval) == 36);
static_assert(offsetof(Settings, displayWarnings) == 40);
static_assert(offsetof(Settings, colorMessageView) == 44);
static_assert(offsetof(Settings, compositionInitDelay) == 48);
static_assert(offsetof(Settings, continuousColoring) == 52);
static_assert(offsetof(Settings, useClipboard) == 56);
static_assert(offsetof(Settings, stripQuotedSignature) == 60);
static_assert(offsetof(Settings, emailHeader) == 64);
static_assert(offsetof(Settings, emailHeader.style) == 576);
static_assert(offsetof(Settings, newsHeader) == 580);
static_assert(offsetof(Settings, newsHeader.style) == 1092);
static_assert(offsetof(Settings, iso8859SignatureFix) == 1096);
static_assert(offsetof(Settings, fixExistingQuotes) == 1100);
static_assert(offsetof(Settings, colorComposeWindow) == 1104);
static_assert(offsetof(Settings, reformatMessageView) == 1108);
static_assert(offsetof(Settings, fontStyles) == 1112);
static_assert(offsetof(Settings, emoticons) == 1116);
static_assert(offsetof(Settings, keepStyleMarkers) == 1120);
static_assert(offsetof(Settings, reformatArbitraryLength) == 1124);
static_assert(offsetof(Settings, altFunction) == 1128);
static_assert(offsetof(Settings, hideTrayIcon) == 1132);
static_assert(offsetof(Settings, standardizedIndentation) == 1136);

// The process-wide record. Tests reset it with `settings = Settings::Defaults()`.
extern Settings settings;

constexpr const char* kSettingsFileName = "Nimbrel.cfg";
constexpr int kMinWrapColumn = 60;
constexpr int kMaxWrapColumn = 132;

// Reads up to 1140 bytes of `path` over `record`, byte for byte: a short file
// changes only the bytes it holds, a longer one contributes its first 1140.
// Afterwards unit 255 of both templates is forced to 0 so that no reader can
// run past a template from a foreign or damaged file. Returns true when the
// file cannot be opened (the record is then untouched), false otherwise.
bool LoadSettings(Settings& record, const std::filesystem::path& path);
// The program's own: the global record from the user's Nimbrel.cfg
// (app.UserFile) or, when that cannot be opened, from the install
// directory's (the current directory): the settings of an earlier
// installation. True when neither can be opened (the first run).
bool LoadSettings();

// Writes the 1140 bytes of `record` exactly as they are in memory. The bytes
// go to a temporary file in the same directory, which is flushed, closed and
// renamed over `path`, so a failed write (disk full) leaves the previous file
// intact. Returns true when any step fails, false on success.
bool SaveSettings(const Settings& record, const std::filesystem::path& path);
// The program's own: the global record to the user's Nimbrel.cfg
// (app.UserFile), whose folder is created when missing. The install
// directory's file, which the user may not be allowed to write, is left
// alone.
bool SaveSettings();

// The wrap column clamp of the options dialog: below 60 gives 60, above 132
// gives 132.
std::int32_t ClampWrapColumn(std::int32_t column);

}  // namespace nimbrel
