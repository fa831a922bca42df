// The shipped language files: every key the program asks for resolves, as
// the kind of lookup it is used with, to the text meant for it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/GoldenCase.h"
#include "ui/CLangFile.h"

namespace nimbrel {
namespace {

// L = control label (trimmed, not empty), T = title, R = raw line,
// B = block, X = message text (first and last line checked), N = list.
struct KeyUse {
    const char* key;
    char kind;
    const char* english;  // list items and X's first/last line separated by '|'
    const char* german;   // UTF-8
};

const KeyUse kKeys[] = {
    {"#Message composition frame", 'L', "Message Composition", "Nachrichtenerstellung"},
    {"#Quote character", 'L', "Quote character", "Zitatzeichen"},
    {"#Wrap at column", 'L', "Wrap at column", "Umbruch bei Spalte"},
    {"#Compressed indentation", 'L', "Compressed indentation", "Kompakte Einrückung"},
    {"#Position cursor at top", 'L', "Position cursor at top", "Cursor nach oben"},
    {"#Move signature to bottom", 'L', "Move signature to bottom", "Signatur nach unten"},
    {"#Ignore HTML messages", 'L', "Ignore HTML messages", "HTML-Nachrichten ignorieren"},
    {"#Strip quoted signature", 'L', "Strip quoted signature", "Zitierte Signatur entfernen"},
    {"#Fix existing OE quotes", 'L', "Fix existing OE quotes", "OE-Zitate reparieren"},
    {"#Color message composition", 'L', "Coloring (experimental)", "Färben (experimentell)"},
    {"#Advanced Options", 'L', "Advanced Options", "Erweiterte Optionen"},
    {"#Hide", 'L', "Hide", "Verbergen"},
    {"#Terminate", 'L', "Terminate", "Beenden"},
    {"#Viewing frame", 'L', "Viewing", "Anzeige"},
    {"#Coloring on", 'L', "Coloring", "Färben"},
    {"#Compatibility mode", 'L', "CMode", "Dauermodus"},
    {"#Reformat", 'L', "Reformat (beta)", "Umbrechen (beta)"},
    {"#Donations", 'L', "Donations", "Spenden"},
    {"#Quote Header Styles", 'L', "Quote Header Styles", "Zitatkopf-Stile"},
    {"#Emoticons", 'L', "Emoticons", "Emoticons"},
    {"#Font Styles", 'L', "Font styles", "Schriftstile"},
    {"#Standardized indentation", 'L', "Standardized indentation", "Einheitliche Einrückung"},
    {"#TrayMenu", 'N', "Show Dialog|Disable/Enable|Invert Cursor/Sig|Hide Tray Icon|Help|Terminate",
     "Dialog anzeigen|Aus/Ein|Cursor/Signatur tauschen|Symbol verbergen|Hilfe|Beenden"},
    {"#top", 'R', "top", "oben"},
    {"#bottom", 'R', "bottom", "unten"},
    {"#Font Style Question", 'X',
     "You have switched on font styles: words written as *bold*, /italic/ and _underlined_ "
     "are shown in that style.|No: hide them, so only the styled word is shown.",
     "Sie haben die Schriftstile eingeschaltet: Wörter, die als *fett*, /kursiv/ und "
     "_unterstrichen_ geschrieben sind, werden in diesem Stil angezeigt.|Nein: Zeichen "
     "ausblenden, nur das Wort erscheint im Stil."},
    {"#Advanced Options", 'T', "Advanced Options", "Erweiterte Optionen"},
    {"#Adv:OE Reaction Delay", 'L', "OE Reaction Delay", "OE-Reaktionszeit"},
    {"#Adv:Check Interval", 'L', "Check Interval", "Prüfintervall"},
    {"#Adv:Clipboard.Open Timeout", 'L', "Clipboard.Open Timeout", "Zeitlimit Zwischenablage"},
    {"#Adv:Message Composition Init Delay", 'L', "Message Composition Init Delay",
     "Wartezeit für neue Nachrichten"},
    {"#Adv:Display Warnings On Errors", 'L', "Display warnings on errors",
     "Bei Fehlern Warnungen anzeigen"},
    {"#Depend on OE", 'L', "Depend on OE", "Abhängig von OE"},
    {"#OK", 'L', "OK", "OK"},
    {"#Cancel", 'L', "Cancel", "Abbrechen"},
    {"#Use clipboard", 'L', "Use clipboard (deprecated)", "Zwischenablage verwenden (veraltet)"},
    {"#Alt static", 'L', "Alt ...", "Alt ..."},
    {"#Hide tray icon", 'L', "Hide tray icon", "Symbol im Infobereich verbergen"},
    {"#Reformat arbitrary", 'L', "For 'Reformat' allow arbitrary line length",
     "Für 'Umbrechen' beliebige Zeilenlänge erlauben"},
    {"#ISO-8859-x signature fix", 'L', "ISO-8859-1/15 signature fix (deprecated)",
     "ISO-8859-1/15-Signaturkorrektur (veraltet)"},
    {"#Alt Functions", 'N', "does nothing|deactivates|activates",
     "bewirkt nichts|deaktiviert|aktiviert"},
    {"#Quote Header Styles", 'T', "Quote Header Styles", "Zitatkopf-Stile"},
    {"#CustomHeader", 'L', "Custom Header:", "Eigener Zitatkopf:"},
    {"#Style", 'L', "Style:", "Stil:"},
    {"#Custom Header Instructions", 'B',
     "%n = name of sender\r\n%m = email address\r\n\\n = line break\r\n%t = time (email "
     "only)\r\n%l = reference link (news only)",
     "%n = Name des Absenders\r\n%m = E-Mail-Adresse\r\n\\n = Zeilenumbruch\r\n%t = Zeit (nur "
     "E-Mail)\r\n%l = Verweis (nur News)"},
    {"#Header Styles", 'N', "Outlook Express|short|short with email|none|custom",
     "Outlook Express|kurz|kurz mit E-Mail|keiner|eigener"},
    {"#First Time", 'X', "Welcome to Nimbrel!|The Help command of the menu opens the user guide.",
     "Willkommen bei Nimbrel!|Der Befehl Hilfe im Menü öffnet das Benutzerhandbuch."},
    {"#Dependency Check Warning", 'X',
     "Outlook Express is not running.|No: do not start Nimbrel now. Start Outlook Express "
     "first, then start Nimbrel again.",
     "Outlook Express läuft nicht.|Nein: Nimbrel jetzt nicht starten. Starten Sie zuerst "
     "Outlook Express und danach Nimbrel."},
    {"MSAA Error", 'X',
     "Nimbrel could not load the Microsoft Active Accessibility library (OLEACC.DLL).|"
     "then start Nimbrel again.",
     "Nimbrel konnte die Bibliothek von Microsoft Active Accessibility (OLEACC.DLL) nicht "
     "laden.|und starten Sie Nimbrel dann neu."},
};

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        parts.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) return parts;
        start = bar + 1;
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class LangData : public testing::TestWithParam<const char*> {
  protected:
    std::string Path() const { return std::string(NIMBREL_DATA_DIR) + "/" + GetParam(); }
    bool German() const { return std::string_view(GetParam()) == "lang-de.ini"; }
};

TEST_P(LangData, LinesEndWithCrLfAndAClosingKeyLineEndsTheFile) {
    const std::string bytes = ReadBytes(Path());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << i;
        }
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
        }
    }
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    const std::size_t lastLine = bytes.rfind('\n', bytes.size() - 3) + 1;
    EXPECT_EQ(bytes[lastLine], '#');
}

// The first occurrence of each key is its own key line, so no lookup lands
// inside an earlier key line or value.
TEST_P(LangData, EveryKeyIsFirstFoundOnItsOwnKeyLine) {
    const std::string bytes = ReadBytes(Path());
    for (const KeyUse& use : kKeys) {
        const std::string_view key = use.key;
        const std::size_t at = bytes.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        std::size_t lineStart = at;
        if (key.front() != '#') {  // "MSAA Error" stands on the key line "#MSAA Error"
            ASSERT_GT(at, 0u) << key;
            EXPECT_EQ(bytes[at - 1], '#') << key;
            lineStart = at - 1;
        }
        EXPECT_TRUE(lineStart == 0 || bytes[lineStart - 1] == '\n') << key;
        EXPECT_EQ(bytes.substr(at + key.size(), 2), "\r\n") << key;
    }
}

TEST_P(LangData, EveryKeyResolvesToItsText) {
    CLangFile lang(Path());
    ASSERT_TRUE(lang.HasBuffer());
    for (const KeyUse& use : kKeys) {
        SCOPED_TRACE(std::string(use.key) + " as " + use.kind);
        const std::vector<std::string> expected = Split(German() ? use.german : use.english);
        String text;
        switch (use.kind) {
            case 'L':
                ASSERT_NE(lang.GetLine(use.key, text, true), nullptr);
                EXPECT_FALSE(text.empty());
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'T':
            case 'R':
                ASSERT_NE(lang.GetLine(use.key, text, false), nullptr);
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'B':
                ASSERT_TRUE(lang.GetBlock(use.key, text));
                EXPECT_EQ(text, Utf16(expected[0]));
                break;
            case 'X': {
                const String* message = lang.GetText(use.key);
                ASSERT_NE(message, nullptr);
                const StringView got(*message);
                EXPECT_TRUE(got.starts_with(Utf16(expected[0] + "\r\n"))) << Utf8(got);
                EXPECT_TRUE(got.ends_with(Utf16(expected[1]))) << Utf8(got);
                EXPECT_EQ(got.find(u'#'), StringView::npos);
                break;
            }
            case 'N': {
                std::vector<String> items;
                ASSERT_TRUE(lang.GetList(use.key, items));
                ASSERT_EQ(items.size(), expected.size());
                for (std::size_t i = 0; i < items.size(); ++i)
                    EXPECT_EQ(items[i], Utf16(expected[i])) << i;
                break;
            }
            default:
                FAIL() << "unknown kind";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LangData, testing::Values("lang.ini", "lang-de.ini"),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.index == 0 ? "English" : "German");
                         });

}  // namespace
}  // namespace nimbrel
