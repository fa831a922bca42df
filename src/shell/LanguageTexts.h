// The language file as the rest of the program uses it: whole texts for
// message boxes, single lines and lists for menus, and the translation of a
// dialog's controls and title. The language file object (CLangFile)
// implements it; the process-wide pointer to that object is `App::langFile`,
// which stays null until start-up has opened the file.
#pragma once

#include <string_view>
#include <vector>

#include "shell/Text.h"

namespace nimbrel {

// What the translation steps need from an open dialog. Each dialog
// implements it over its controls.
class DialogTexts {
  public:
    virtual ~DialogTexts() = default;

    // Whether the dialog has a control with this identifier.
    virtual bool HasControl(int id) const = 0;
    // Replaces the text of control `id`. Called only for identifiers that
    // `HasControl` confirmed.
    virtual void SetControlText(int id, StringView text) = 0;
    // Replaces the dialog's title (an empty text is a valid title).
    virtual void SetTitle(StringView text) = 0;
};

// Keys are 8-bit strings matched byte for byte. The lookups other than
// GetText answer "not found" unless an implementation provides them, so a
// stand-in that knows only message texts needs nothing more.
class LanguageTexts {
  public:
    virtual ~LanguageTexts() = default;

    // GetText: the block value of `key`, or nullptr when the file lacks the
    // key. The text stays valid until the next GetText call.
    virtual const String* GetText(std::string_view key) = 0;

    // GetLine: the single-line value of `key` into `out` (with `trim`,
    // without white space at both ends). Non-null when found; `out` is
    // unchanged when not.
    virtual const char* GetLine(std::string_view key, String& out, bool trim);
    // GetBlock: the block value of `key` into `out`; whether it was found.
    virtual bool GetBlock(std::string_view key, String& out);
    // GetList: appends the list items of `key` to `out`; whether it was found
    // (a found key with no items counts as found).
    virtual bool GetList(std::string_view key, std::vector<String>& out);

    // The control `id` of `dialog` gets the trimmed single-line value of
    // `key`, unless the key is missing, the value is empty or the dialog has
    // no such control.
    void TranslateControl(DialogTexts& dialog, int id, std::string_view key);
    // The dialog's title becomes the untrimmed single-line value of `key`
    // when the key is found, even when the value is empty.
    void TranslateTitle(DialogTexts& dialog, std::string_view key);
};

}  // namespace nimbrel
