// The parts of a reply's quote header: the sender's name and address, the
// date and the news reference, and the short header built from them.
#pragma once

#include <cstdint>

#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

struct HeaderFields {
    String name;                   // "%n": display name (the address when nameMissing)
    String mail;                   // "%m": address
    String time;                   // "%t": date and time of an e-mail header
    String link;                   // "%l": message reference after "news:"
    std::uint8_t nameMissing = 0;  // the sender had no display name
};

// The header styles of QuoteHeaderSetting::style.
constexpr std::uint32_t kHeaderLeftAlone = 0;      // marked as handled only
constexpr std::uint32_t kHeaderNameWrote = 1;      // "name wrote:"
constexpr std::uint32_t kHeaderNameMailWrote = 2;  // "name <mail> wrote:"
constexpr std::uint32_t kHeaderRemoved = 3;
constexpr std::uint32_t kHeaderTemplate = 4;

// Reads name and address from a sender text such as `"Doe, John" <jd@x.org>`
// or `John Doe <jd@x.org>`. The address is what lies between the first "<"
// and the first ">"; the name is what lies between the first and the last
// double quote, else the text before "<" without surrounding quotes and
// spaces, else (nameMissing) the address. Returns true (failure) when the
// text has no "<" followed by a ">"; `fields` then holds no address.
bool ParseSender(StringView text, HeaderFields& fields);

// The header line of `style`: 1 "name wrote:", 2 "name <mail> wrote:" (just
// "mail wrote:" when nameMissing), 4 the template with "%n", "%m", "%t", "%l"
// and backslash-n filled in, anything else "". Placeholders are filled in
// one pass over the template, so a value that itself contains "%m" or a
// backslash-n is inserted as it stands.
String BuildQuoteHeader(const HeaderFields& fields, std::uint32_t style, StringView headerTemplate);

// The template text of a header setting: its units up to the terminator
// (never past the end of the array, whatever the record holds).
StringView TemplateText(const QuoteHeaderSetting& setting);

}  // namespace nimbrel
