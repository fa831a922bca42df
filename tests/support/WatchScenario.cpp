#include "support/WatchScenario.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "coloring/CHtmlDocAccess.h"
#include "compose/Watcher.h"
#include "reformat/Signatures.h"
#include "shell/App.h"
#include "shell/CrtRandom.h"
#include "shell/Settings.h"
#include "shell/Utf.h"

namespace nimbrel {

const String kEmailReply =
    u"\r\n\r\n----- Original Message ----- \r\n"
    u"From: \"Jane Doe\" <jane@example.com>\r\n"
    u"To: \"Bob Smith\" <bob@example.org>\r\n"
    u"Sent: Tuesday, March 04, 2003 2:05 PM\r\n"
    u"Subject: Re: lunch on Thursday\r\n\r\n"
    u"> Are we still on for Thursday?\r\n"
    u"> Jane";
const String kEmailReplyDone = u"\r\nJane Doe wrote:\r\n> Are we still on for Thursday?\r\n> Jane";
const String kNewsReply =
    u"\r\n\r\n\"Jane Doe\" <jane@example.com> wrote in message news:b4c2@example.net...\r\n"
    u"> Has anyone tried the new driver?\r\n"
    u"> It crashes on my machine.";
const String kNewMessageMarker =
    u"Hello Jane,\r\n\r\nsee you on Thursday.\r\n\r\n-- \r\n<nimbrel-sig>";
const String kNewMessageSigned =
    u"Hello Jane,\r\n\r\nsee you on Thursday.\r\n\r\n-- \r\nCheers, Bob";
const String kPlainMessage =
    u"Hello Bob,\r\n\r\n> Are we still on?\r\n\r\nYes, see http://www.example.org/ :-)\r\n";

void PrintTo(const StatusRow& row, std::ostream* out) {
    *out << "{\"" << Utf16ToUtf8(row.title) << "\", \"" << Utf16ToUtf8(row.status) << "\"}";
}

OeNoteOptions Titled(StringView title) {
    OeNoteOptions options;
    options.title = String(title);
    return options;
}

WatchScenario::WatchScenario() {
    settings = Settings::Defaults();
    app = App{};
    app.running = 1;
    app.mainDialog = &host;
    // The main dialog's window, hidden as it is until the user opens it.
    app.mainWindow = desktop.windows.Create(u"#32770", u"Nimbrel   ", kNoWindow, kProgramProcess);
    desktop.windows.ShowWindow(app.mainWindow, sw::kHide);
    const std::u16string install = directory.Path().u16string();
    std::copy_n(install.begin(), std::min(install.size(), kInstallDirectorySize - 1),
                app.installDirectory);
    CHtmlDocAccess::ResetProcessState();
    ResetWatcherState();
    ResetSignatures();
    signatureList = {u"Cheers, Bob"};
    signaturesLoaded = 1;
    crtRandom.Seed(1);
    // The desktop restores the start directory when it goes.
    std::filesystem::current_path(directory.Path());
    WriteFileBytes(directory / "styles.css", "/* 4 quote-level styles */\n.q1 { color: blue }\n");
    oe.Start();
    watcher = std::make_unique<CMessageColorer>(desktop.platform());
}

WatchScenario::~WatchScenario() {
    EXPECT_EQ(desktop.documents.OutstandingReferences(), 0u) << "document reference held";
    watcher.reset();
    EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
    EXPECT_EQ(desktop.memory.ProgramBlocks(), 0u) << "leaked global memory";
    EXPECT_NE(desktop.clipboard.OpenedBy(), kProgramProcess) << "clipboard left open";
    EXPECT_TRUE(desktop.windows.AttachedInput().empty()) << "input left attached";
    ResetWatcherState();
    ResetSignatures();
    app = App{};
    settings = Settings::Defaults();
}

void WatchScenario::Tick() {
    RunWatchTick(*watcher, host);
}

void WatchScenario::RunTimerFor(std::uint64_t milliseconds) {
    SetWatchTimerTarget(watcher.get(), &host);
    desktop.loop.SetTimer(kNoWindow, 1, static_cast<std::uint32_t>(settings.checkInterval),
                          &WatchTimerProc);
    desktop.loop.RunFor(milliseconds);
}

std::vector<String> WatchScenario::Statuses() const {
    std::vector<String> statuses;
    for (const StatusRow& row : host.rows)
        statuses.push_back(row.status);
    return statuses;
}

}  // namespace nimbrel
