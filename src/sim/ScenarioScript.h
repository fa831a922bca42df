// A user's scenario with Outlook Express, written once and played by two
// drivers: ScenarioPlayer on the simulated desktop (`nimbrel demo` and the
// tests), and the Win32 test host beside the real Nimbrel.exe under Wine
// (OeHost.exe, tests/win32/oehost). Both read the same file and judge
// by the same expectations.
//
// The file is a list of lines; '#' starts a comment line. Words are bare or
// "quoted" (escapes \r \n \t \" \\). Bodies are file names relative to the
// scenario's folder (UTF-8, line breaks made CR LF, line breaks at the end
// dropped: a message as OE holds it) or "generated:N", a reply with OE's
// quote header and quoted lines, at least N units long.
//
// Before the program starts (anywhere in the file, applied first):
//   set NAME=VALUE ...          settings fields as Nimbrel.cfg holds them
//   signatures "LINE" ...       the install directory's signatures.ini
//   first-run                   no Nimbrel.cfg: the program starts as it does
//                               the first time (the welcome note); `set`
//                               lines are then ignored
//   codepage 1252|utf-8         the simulated desktop's ANSI code page
//                               (UTF-8 by default); under Wine it is Wine's
// Steps, in order; times in milliseconds:
//   reply ID "TITLE" BODY [OPTION...]    OE opens a compose window
//   message ID "TITLE" BODY [OPTION...]  OE opens a message in its own window
//       options: html, title-after=MS (empty title until then),
//       complete-after=MS or complete-after=never, hung (stops answering),
//       block-write=MS (every write of the body keeps OE busy that long
//       before it is made), busy-after-read=MS (once the program has read
//       the body, OE rejects every call into its documents, "retry later",
//       for MS, as while a menu or dialog of its own runs)
//   thief ID BODY               OE brings up another window of its own that
//                               keeps the foreground, taking it back whenever
//                               it loses it, until `close ID`; its text is
//                               BODY, and each key that reaches it is
//                               written at its end
//   preview ID BODY [html]      the preview pane shows a message (new window)
//   subject ID "TITLE"          the user types a subject: the title changes
//   close ID                    the user closes the window
//   clipboard "TEXT"            the user copies a text of their own
//   hold-clipboard MS           another program (a clipboard manager, a
//                               remote desktop's clipboard sync) opens the
//                               clipboard and keeps it open for MS
//   alt down|up                 the user holds Alt, or lets it go
//   exit-oe                     OE exits
//   wait MS                     time passes
//   wait-row "TITLE" "STATUS" MS   until the status list has that row
//   expect text ID FILE|reformatted|unchanged   the body's text
//   expect html ID starts|contains|lacks "TEXT"
//   expect title ID "TEXT"
//   expect stylesheets ID N     N style sheets attached, each the install
//                               directory's styles.css
//   expect clipboard "TEXT"     the clipboard's text
//   expect rows                 the whole status list, newest first, one
//     "TITLE" "STATUS"          indented line per row (none: an empty list)
//   expect ended MS             the program ends by itself within MS, and
//                               writes Nimbrel.cfg
//   expect running              the program still runs
// An expectation other than rows and ended may end with "within MS": it is
// checked again until it holds or MS have passed.
// After the last step the driver ends the program with Terminate unless it
// has ended.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/Settings.h"
#include "shell/Text.h"

namespace nimbrel {

struct ScenarioStep {
    enum class Kind {
        kReply,
        kMessage,
        kPreview,
        kSubject,
        kClose,
        kClipboard,
        kHoldClipboard,
        kAlt,
        kThief,
        kExitOe,
        kWait,
        kWaitRow,
        kExpectText,
        kExpectHtml,
        kExpectTitle,
        kExpectStyleSheets,
        kExpectClipboard,
        kExpectRows,
        kExpectEnded,
        kExpectRunning,
    };
    Kind kind = Kind::kWait;
    int line = 0;        // in the file, for messages
    std::string id;      // the window's name in the scenario
    String title;        // window title, status row title
    String text;         // body, clipboard text, status, expected text
    std::string source;  // the body's file name, or generated:N
    std::string mode;    // starts/contains/lacks, file/reformatted/unchanged
    bool html = false;   // body is HTML
    bool hung = false;   // the document window stops answering
    bool down = false;   // alt
    std::uint64_t titleAfter = 0;
    std::uint64_t writeDelay = 0;                    // block-write
    std::uint64_t busyAfterRead = 0;                 // busy-after-read
    std::optional<std::uint64_t> completeAfter = 0;  // nullopt: never
    std::uint64_t milliseconds = 0;                  // wait, deadlines
    std::uint64_t within = 0;                        // expect ... within MS
    std::uint32_t count = 0;                         // style sheets
    std::vector<std::pair<String, String>> rows;     // expect rows
};

class ScenarioScript {
  public:
    // Reads a scenario; on a fault of the file, Error() says what and where.
    static ScenarioScript Load(const std::filesystem::path& file);
    static ScenarioScript Parse(std::string_view source, const std::filesystem::path& folder);

    const std::string& Error() const { return error; }
    const std::string& Name() const { return name; }
    // The settings record the program starts with: defaults plus `set`.
    const Settings& StartSettings() const { return startSettings; }
    // The signatures.ini to install (CR LF lines), or empty for the bundled one.
    const std::string& SignaturesFile() const { return signaturesFile; }
    // No Nimbrel.cfg is installed.
    bool FirstRun() const { return firstRun; }
    // The simulated desktop's ANSI code page: kUtf8 or kWindows1252.
    static constexpr const char* kUtf8 = "utf-8";
    static constexpr const char* kWindows1252 = "1252";
    const std::string& CodePage() const { return codePage; }
    const std::vector<ScenarioStep>& Steps() const { return steps; }

    // The step that opened the window `id` (its body is the original text),
    // or null.
    const ScenarioStep* Opening(std::string_view id) const;

    // A body text as OE holds one: CR LF breaks, none at the end.
    static String AsMessage(StringView text);
    // The "generated:N" reply.
    static String GeneratedReply(std::size_t minimumLength);

  private:
    std::string name;
    std::string error;
    Settings startSettings = Settings::Defaults();
    std::string signaturesFile;
    bool firstRun = false;
    std::string codePage = kUtf8;
    std::vector<ScenarioStep> steps;
};

}  // namespace nimbrel
