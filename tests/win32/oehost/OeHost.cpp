// OeHost.exe: the mail client for the Windows end-to-end scenarios. Plays
// one scenario (tests/data/scenarios) beside the real Nimbrel.exe and
// writes what happened to a report, which the test script judges:
//
//   OeHost SCENARIO NIMBREL_EXE INSTALL_DIR REPORT
//
// It writes the scenario's Nimbrel.cfg (and signatures.ini, else the
// installation's is read) into the user's folder of Nimbrel.cfg, Nimbrel in
// the application data folder, brings up the client's main window, starts
// NIMBREL_EXE, waits for its options dialog, removes Nimbrel.cfg (read by
// then, so that its presence at the end shows the program wrote it), plays
// the steps,
// then ends the program with Terminate unless the scenario has it end by
// itself. INSTALL_DIR is the directory as the program finds it through its
// uninstall registry entry. Every wait has a deadline; a message box of the
// program is a failure (its text goes to the report) and is closed. The
// report's last line is "result: pass" or "result: fail".
#include <objbase.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostScenarioWorld.h"
#include "OeHostWindows.h"
#include "shell/Settings.h"
#include "shell/Utf.h"
#include "sim/ScenarioRunner.h"
#include "sim/ScenarioScript.h"

namespace nimbrel {
namespace {

constexpr DWORD kStartLimit = 30000;
constexpr DWORD kEndLimit = 15000;
constexpr DWORD kScenarioLimit = 300000;
constexpr int kTerminateId = 1003;

std::string Utf8(const std::wstring& text) {
    return Utf16ToUtf8(StringView(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// Dispatches messages until GetTickCount reaches `until`.
void PumpUntil(DWORD until) {
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(until - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_ALLINPUT);
    }
}

// Pumps until `done` holds or `limit` ms have passed; whether it held.
template <typename Condition>
bool PumpWhileNot(Condition done, DWORD limit) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= limit) return false;
        PumpUntil(GetTickCount() + 20);
    }
    return true;
}

// The program's message boxes: noted once each, then closed.
class BoxWatch {
  public:
    void Check() { EnumWindows(&BoxWatch::Visit, reinterpret_cast<LPARAM>(this)); }
    std::vector<std::string> failures;

  private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        wchar_t className[32] = {};
        wchar_t caption[64] = {};
        GetClassNameW(window, className, 32);
        GetWindowTextW(window, caption, 64);
        const std::wstring title = caption;
        if (std::wstring(className) != L"#32770" || title.rfind(L"Nimbrel", 0) != 0 ||
            title == L"Nimbrel   " || !IsWindowVisible(window))
            return TRUE;
        auto* watch = reinterpret_cast<BoxWatch*>(self);
        for (HWND seen : watch->seen)
            if (seen == window) return TRUE;
        watch->seen.push_back(window);
        wchar_t text[1024] = {};
        GetDlgItemTextW(window, 0xFFFF, text, 1024);
        watch->failures.push_back("message box \"" + Utf8(title) +
                                  "\": " + Visible(Utf16ToUtf8Text(text)));
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static String Utf16ToUtf8Text(const wchar_t* text) {
        return String(reinterpret_cast<const char16_t*>(text));
    }
    std::vector<HWND> seen;
};

std::string Clip(StringView text, std::size_t units) {
    return Visible(text.substr(0, units)) + (text.size() > units ? "..." : "");
}

int Run(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: OeHost SCENARIO NIMBREL_EXE INSTALL_DIR REPORT\n");
        return 2;
    }
    const std::filesystem::path scenarioFile = argv[1];
    const std::wstring nimbrelExe = argv[2];
    const std::wstring installDirectory = argv[3];
    std::ofstream report(std::filesystem::path(argv[4]), std::ios::binary);
    std::vector<std::string> failures;

    const ScenarioScript script = ScenarioScript::Load(scenarioFile);
    report << "scenario " << script.Name() << "\n";
    if (!script.Error().empty() || script.FirstRun()) {
        // A first run stops at the welcome note, which here would be a fault.
        report << "FAIL " << (script.FirstRun() ? "first-run is not played here" : script.Error())
               << "\nresult: fail\n";
        return 1;
    }
    // The user's files, where the program keeps them.
    wchar_t appData[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData) != S_OK) {
        report << "FAIL no application data folder\nresult: fail\n";
        return 1;
    }
    const std::wstring userDirectory = std::wstring(appData) + L"\\Nimbrel";
    CreateDirectoryW(userDirectory.c_str(), nullptr);
    const std::filesystem::path user = userDirectory;
    if (SaveSettings(script.StartSettings(), user / kSettingsFileName)) {
        report << "FAIL cannot write Nimbrel.cfg\nresult: fail\n";
        return 1;
    }
    DeleteFileW((user / "signatures.ini").c_str());  // an earlier scenario's
    if (!script.SignaturesFile().empty()) {
        std::ofstream(user / "signatures.ini", std::ios::binary) << script.SignaturesFile();
    }

    CoInitialize(nullptr);
    // The client keeps the MSHTML type library loaded as a running mail
    // client does; under Wine each new document's stub would otherwise parse
    // it again (a third of a second).
    const GUID mshtmlLibrary = {
        0x3050f1c5, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};
    ITypeLib* typeLibrary = nullptr;
    LoadRegTypeLib(mshtmlLibrary, 4, 0, LOCALE_NEUTRAL, &typeLibrary);
    OeHostWindows windows;
    // Under Wine the first window of a process has once failed to come up
    // right after the previous scenario's processes ended; it is tried again.
    bool shown = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
        if (attempt > 0) PumpUntil(GetTickCount() + 500);
        shown = windows.Start();
        if (!shown) error = GetLastError();
    }
    if (!shown) {
        report << "FAIL the client's main window cannot be made (error " << error
               << ")\nresult: fail\n";
        return 1;
    }
    PumpUntil(GetTickCount() + 200);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + nimbrelExe + L"\"";
    if (!CreateProcessW(nimbrelExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        report << "FAIL cannot start " << Utf8(nimbrelExe) << "\nresult: fail\n";
        return 1;
    }
    CloseHandle(started.hThread);
    BoxWatch boxes;
    const bool up = PumpWhileNot(
        [&] {
            boxes.Check();
            return FindNimbrelDialog() != nullptr ||
                   WaitForSingleObject(started.hProcess, 0) != WAIT_TIMEOUT;
        },
        kStartLimit);
    if (!up || FindNimbrelDialog() == nullptr) failures.push_back("the options dialog never came");
    // Read at start-up; written again only when the program ends.
    DeleteFileW((user / kSettingsFileName).c_str());

    HostScenarioWorld world(windows, started.hProcess, installDirectory, userDirectory);
    ScenarioRunner runner(script, world);
    const DWORD start = GetTickCount();
    if (failures.empty()) {
        std::optional<std::uint64_t> next = 0;
        while (next) {
            PumpUntil(start + static_cast<DWORD>(*next));
            boxes.Check();
            next = runner.Advance(GetTickCount() - start);
            if (GetTickCount() - start > kScenarioLimit) {
                failures.push_back("the scenario ran out of time");
                break;
            }
        }
    }

    // The status list as the program ends (read while it still runs).
    const std::vector<std::pair<String, String>> finalRows = world.StatusRows();
    if (!runner.ExpectsEnd() && world.ProgramRunning()) {
        const HWND dialog = FindNimbrelDialog();
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kTerminateId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kTerminateId)));
    }
    if (!PumpWhileNot(
            [&] {
                boxes.Check();
                return !world.ProgramRunning();
            },
            kEndLimit)) {
        failures.push_back("the program did not end");
        TerminateProcess(started.hProcess, 1);
    } else if (!world.SettingsWritten()) {
        failures.push_back("Nimbrel.cfg not written at the end");
    }
    boxes.Check();

    for (const std::string& line : runner.Log())
        report << line << "\n";
    for (const std::string& failure : boxes.failures)
        failures.push_back(failure);
    for (const std::string& failure : failures)
        report << "FAIL " << failure << "\n";
    for (const auto& [id, note] : world.Notes()) {
        if (!note.model) continue;
        const SimDocument& model = *note.model;
        report << "window " << id << " title=\"" << Visible(model.title.value_or(u"")) << "\""
               << " ready=" << Utf16ToUtf8(model.readyState)
               << " stylesheets=" << model.styleSheets.size() << " text=\""
               << Clip(model.InnerText(), 400) << "\"\n";
        const DWORD written = BodyWrittenAt(model);
        if (written != 0 && note.titledAt && *note.titledAt != 0 &&
            static_cast<LONG>(written - *note.titledAt) >= 0)
            report << "timing " << id << " title-to-body " << (written - *note.titledAt) << " ms\n";
    }
    if (windows.RejectedCalls() > 0)
        report << "rejected " << windows.RejectedCalls() << " call(s) as busy\n";
    // The program's calls, in ms since the scenario started.
    for (const auto& [time, method] : Calls())
        report << "call " << static_cast<LONG>(time - start) << " " << method << "\n";
    for (const auto& [title, status] : finalRows)
        report << "row \"" << Visible(title) << "\" \"" << Visible(status) << "\"\n";
    const bool passed = failures.empty() && runner.Failures().empty();
    report << "result: " << (passed ? "pass" : "fail") << "\n";
    report.close();

    world.CloseAll();
    windows.Exit();
    CloseHandle(started.hProcess);
    if (typeLibrary != nullptr) typeLibrary->Release();
    CoUninitialize();
    return passed ? 0 : 1;
}

}  // namespace
}  // namespace nimbrel

int wmain(int argc, wchar_t** argv) {
    return nimbrel::Run(argc, argv);
}
