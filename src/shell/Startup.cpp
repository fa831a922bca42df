#include "shell/Startup.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "coloring/CHtmlDocAccess.h"
#include "coloring/EmoticonTable.h"
#include "compose/Watcher.h"
#include "reformat/Signatures.h"
#include "shell/App.h"
#include "shell/CrtRandom.h"
#include "shell/Settings.h"
#include "shell/Utf.h"
#include "ui/CLangFile.h"
#include "ui/COptionsDlg.h"

namespace nimbrel {

namespace {

constexpr const char16_t* kNoteCaption = u"Nimbrel - NOTE";
constexpr const char16_t* kQuestionCaption = u"Nimbrel";

// The whole text of `key` for a message box; empty when the file lacks it.
String BoxText(LanguageTexts& language, std::string_view key) {
    const String* text = language.GetText(key);
    return text != nullptr ? *text : String();
}

bool BringOtherInstanceToFront(WindowSystem& windows) {
    const WindowHandle other = windows.FindWindowW(nullptr, kMainDialogCaption);
    if (other == kNoWindow) return false;
    windows.ShowWindow(other, sw::kShowNormal);
    windows.SetForegroundWindow(other);
    windows.EnableWindow(other, true);
    return true;
}

// The program's reading of signatures.ini for the run: the user's file, else
// the install directory's, in the code page of the platform, which the run
// does not outlive.
class SignatureSourceForRun {
  public:
    SignatureSourceForRun(std::vector<std::filesystem::path> files, const AnsiDecoder& decode) {
        SetSignatureSource(std::move(files), decode);
    }
    ~SignatureSourceForRun() { SetSignatureSource({kSignaturesFileName}, AnsiToUtf16); }
    SignatureSourceForRun(const SignatureSourceForRun&) = delete;
    SignatureSourceForRun& operator=(const SignatureSourceForRun&) = delete;
};

// Runs the main dialog's message loop until the program is asked to end.
ProgramExit RunMessageLoop(Platform& platform, WindowHandle mainWindow) {
    MessageLoop& loop = platform.loop;
    Message message;
    for (;;) {
        const int got = loop.GetMessageW(message);
        if (got == 0) return ProgramExit::kQuit;
        if (got == -1) return ProgramExit::kMessageError;
        // A message sent to the program while it waited may have ended it.
        if (app.running == 0) return ProgramExit::kEnded;
        if (!loop.IsDialogMessageW(mainWindow, message)) {
            loop.TranslateMessage(message);
            loop.DispatchMessageW(message);
        }
        if (app.running == 0) return ProgramExit::kEnded;
    }
}

}  // namespace

ProgramExit RunApplication(Platform& platform) {
    if (BringOtherInstanceToFront(platform.windows)) return ProgramExit::kOtherInstance;

    // A failure has been reported; the program works in the start directory.
    app.LocateInstallDirectory(platform);
    // Without a folder of the user's, the user's files stay beside the others.
    app.LocateUserDirectory(platform);

    // The 8-bit data files are in the user's ANSI code page.
    const AnsiDecoder codePage = [&system = platform.system](std::string_view bytes) {
        return system.MultiByteToWideChar(bytes);
    };
    CLangFile language(kLanguageFileName, codePage);
    app.langFile = &language;
    const SignatureSourceForRun signatures(
        {app.UserFile(kSignaturesFileName), std::filesystem::path(kSignaturesFileName)}, codePage);

    if (LoadSettings()) {
        platform.messageBoxes.MessageBoxW(BoxText(language, "#First Time"), kNoteCaption,
                                          mb::kSystemModal | mb::kIconInformation);
    }

    LoadEmoticonTable(std::filesystem::path(), settings.displayWarnings != 0, platform.messageBoxes,
                      app.emoticons, codePage);

    if (settings.dependOnOE != 0 && FindOEMainWindow(platform.windows) == kNoWindow) {
        const int answer =
            platform.messageBoxes.MessageBoxW(BoxText(language, "#Dependency Check Warning"),
                                              kQuestionCaption, mb::kYesNo | mb::kIconQuestion);
        if (answer != mb::kIdYes) {
            app.langFile = nullptr;
            return ProgramExit::kDependencyDeclined;
        }
        settings.dependOnOE = 0;
    }

    crtRandom.Seed(static_cast<std::uint32_t>(platform.system.time()));

    auto dialog = std::make_unique<COptionsDlg>(platform);
    SetWatchTimerTarget(&dialog->Colorer(), dialog.get());
    ProgramExit exit = ProgramExit::kNoMainWindow;
    if (dialog->Create()) {
        app.mainDialog = dialog.get();
        app.mainWindow = dialog->Window();
        app.running = 1;
        exit = RunMessageLoop(platform, app.mainWindow);
    }

    app.running = 0;
    SetWatchTimerTarget(nullptr, nullptr);
    app.mainDialog = nullptr;
    app.mainWindow = kNoWindow;
    dialog.reset();
    app.langFile = nullptr;
    SaveSettings();
    return exit;
}

void ResetProgramState() {
    settings = Settings::Defaults();
    app = App{};
    ResetSignatures();
    ResetWatcherState();
    CHtmlDocAccess::ResetProcessState();
    crtRandom.Seed(1);
}

}  // namespace nimbrel
