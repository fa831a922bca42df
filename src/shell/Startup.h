// The program's run from start to end: the start-up sequence, the message
// loop, and the orderly end that saves the settings.
//
// The program targets the Windows NT family, whose wide-character functions
// are native; there is no Unicode layer to load, and so no hook for one.
#pragma once

#include "platform/Platform.h"

namespace nimbrel {

// The caption of the main dialog, by which a running instance is found.
constexpr const char16_t* kMainDialogCaption = u"Nimbrel   ";
constexpr const char* kLanguageFileName = "lang.ini";

// How a run ended, and whether it wrote Nimbrel.cfg.
enum class ProgramExit {
    // Another instance was running; it was brought to the front. Nothing was
    // read or written.
    kOtherInstance,
    // Outlook Express was not running and the dependency question was not
    // answered with Yes. The settings were not written.
    kDependencyDeclined,
    // The main dialog could not be created (the program could never be
    // ended by the user otherwise). The settings were written.
    kNoMainWindow,
    // EndProgram cleared `app.running` (Terminate, or Outlook Express gone
    // with `dependOnOE`). The settings were written.
    kEnded,
    // WM_QUIT arrived. The settings were written.
    kQuit,
    // GetMessageW failed. The settings were written.
    kMessageError,
};

// The application start. In order:
// 1. A window titled kMainDialogCaption is another instance's main dialog:
//    it is shown normally, brought to the foreground and enabled, and the
//    run ends (kOtherInstance) before any file or the registry is touched.
// 2. app.LocateInstallDirectory; on failure the run goes on in the current
//    directory. app.LocateUserDirectory finds the folder of the user's own
//    files (Nimbrel.cfg, signatures.ini); without one they stay in the
//    current directory.
// 3. lang.ini is opened (a missing file gives built-in texts) and becomes
//    app.langFile for the rest of the run. It, signatures.ini and
//    emoticons.ini are read in the thread's ANSI code page
//    (SystemServices::MultiByteToWideChar). signatures.ini, read with the
//    first reply, is the user's when there is one, else the install
//    directory's.
// 4. Nimbrel.cfg is read, the user's or, when there is none, the install
//    directory's (an earlier installation's); when neither can be opened,
//    the first-time note (text "#First Time", caption "Nimbrel - NOTE",
//    system-modal, information icon) is shown.
// 5. emoticons.ini is read into app.emoticons (with its warning box).
// 6. With `dependOnOE` set and no Outlook Express main window, the
//    dependency question (text "#Dependency Check Warning", caption
//    "Nimbrel", Yes/No, question icon): Yes clears `dependOnOE`, any other
//    answer ends the run (kDependencyDeclined) without saving.
// 7. crtRandom is seeded with the platform's time().
// 8. The options dialog is created hidden and disabled as the main dialog
//    (app.mainDialog, app.mainWindow); it starts the watcher's timer and
//    puts up the tray icon.
// 9. app.running is set, and the message loop runs: GetMessageW, and unless
//    IsDialogMessageW(main window) takes the message, TranslateMessage and
//    DispatchMessageW. It stops when GetMessageW answers 0 (WM_QUIT) or -1,
//    and as soon as app.running is clear (checked after each message and
//    when GetMessageW returns, since EndProgram can run while it waits).
// 10. The main dialog is destroyed (timer and tray icon go with it),
//    app.mainDialog, app.mainWindow and app.langFile are cleared, and the
//    settings are written to the user's Nimbrel.cfg (its folder made when
//    missing).
// Every message box has no owner window. The process-wide state it fills
// (settings, app, signatures, the watcher's tracking) stays as the run left
// it; ResetProgramState puts it back.
ProgramExit RunApplication(Platform& platform);

// Puts every process-wide object back as it is when the process starts: the
// settings record's defaults, a fresh `app` (no language file, no main
// dialog, an empty emoticon table, the install directory not yet located),
// no signatures, an empty tracking table, the document access objects'
// shared state (no library loaded, nothing reported yet), and the random
// generator as if seeded with 1. For tests and tools that run the program
// more than once; no document access object may live then.
void ResetProgramState();

}  // namespace nimbrel
