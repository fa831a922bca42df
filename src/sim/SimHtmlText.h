// How the simulated MSHTML turns body text into HTML and back. Simple and
// fixed, so that tests can predict it:
//  - EscapeText (setting innerText): '&', '<' and '>' become "&amp;", "&lt;"
//    and "&gt;"; every line break (CR LF, CR or LF) becomes "<BR>". Nothing
//    else changes; spaces are kept as they are.
//  - RenderText (reading innerText): tags are dropped, except that "<BR>"
//    gives CR LF and the block tags P, DIV, BLOCKQUOTE, PRE, LI, TR, TABLE,
//    UL, OL and H1..H6 (opening or closing) start a new line when text
//    follows, unless the text so far is empty or already ends with a line
//    break; comments are dropped;
//    the entities amp, lt, gt, quot, apos, nbsp (a space) and numeric ones
//    are decoded, others are kept as written; a line break in the HTML source
//    reads as one space. Spaces are not collapsed.
// So RenderText(EscapeText(t)) is t with every line break made CR LF.
#pragma once

#include <string>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel::sim {

String EscapeText(StringView text);
String RenderText(StringView html);
// Every line break (CR LF, CR or LF) made CR LF.
String NormalizeLineBreaks(StringView text);
// The clipboard's "HTML Format" for a copied fragment: the description
// header with its byte offsets, then the fragment (UTF-8) between the
// StartFragment and EndFragment comments of a minimal page.
std::string MakeHtmlFormat(std::string_view fragmentUtf8);

}  // namespace nimbrel::sim
