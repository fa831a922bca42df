// HTML escaping: the one place where text from a message or a data file is
// made safe to put into HTML. Every writer of HTML in the coloring calls it.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

// Appends `text` to `out` with '&', '<' and '>' written as "&amp;", "&lt;"
// and "&gt;" (element content).
void AppendEscapedText(String& out, StringView text);

// As AppendEscapedText, and '"' written as "&quot;" (the value of an
// attribute written between double quotes).
void AppendEscapedAttribute(String& out, StringView text);

String EscapeText(StringView text);
String EscapeAttribute(StringView text);

}  // namespace nimbrel
