#include "shell/Settings.h"

#include <algorithm>

namespace nimbrel {

namespace {

void CopyTemplate(char16_t (&target)[kTemplateUnits], std::u16string_view text) {
    std::fill(std::begin(target), std::end(target), u'\0');
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), kTemplateUnits - 1), target);
}

}  // namespace

Settings Settings::Defaults() {
    Settings s{};  // zero padding and zero units after the terminators
    s.wrapColumn = 72;
    s.quoteChar = u'>';
    s.compressedIndentation = 1;
    s.dependOnOE = 1;
    s.cursorAtTop = 1;
    s.signatureToBottom = 1;
    s.ignoreHtmlMessages = 1;
    s.oeReactionDelay = 200;
    s.clipboardOpenTimeout = 500;
    s.checkInterval = 300;
    s.displayWarnings = 1;
    s.colorMessageView = 1;
    s.compositionInitDelay = 0;
    s.continuousColoring = 0;
    s.useClipboard = 0;
    s.stripQuotedSignature = 1;
    CopyTemplate(s.emailHeader.text, u"On %t [GMT+1=CET],\\n%n <%m> wrote:\\n");
    s.emailHeader.style = 1;
    CopyTemplate(s.newsHeader.text, u"In news:%l,\\n%n <%m> typed:");
    s.newsHeader.style = 1;
    s.iso8859SignatureFix = 0;
    s.fixExistingQuotes = 1;
    s.colorComposeWindow = 0;
    s.reformatMessageView = 1;
    s.fontStyles = 1;
    s.emoticons = 1;
    s.keepStyleMarkers = 0;
    s.reformatArbitraryLength = 1;
    s.altFunction = 1;
    s.hideTrayIcon = 0;
    s.standardizedIndentation = 1;
    return s;
}

Settings settings = Settings::Defaults();

std::int32_t ClampWrapColumn(std::int32_t column) {
    return std::clamp(column, std::int32_t{kMinWrapColumn}, std::int32_t{kMaxWrapColumn});
}

}  // namespace nimbrel
