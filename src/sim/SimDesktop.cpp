#include "sim/SimDesktop.h"

#include <system_error>

namespace nimbrel {

SimDesktop::SimDesktop()
    : windows(clock, atoms, faults),
      graphics(faults),
      dialogs(windows, graphics, faults),
      keyboard(clock, windows),
      memory(faults),
      clipboard(memory, atoms, codePage, clock, faults),
      editor(clipboard, codePage),
      com(faults),
      modules(faults),
      documents(windows, atoms, modules, com, clock, faults),
      loop(clock, windows),
      menus(windows, loop, faults),
      messageBoxes(codePage, clock, loop),
      system(clock, codePage),
      startDirectory(std::filesystem::current_path()),
      seam{windows,  keyboard, clipboard, memory, com,     modules, documents, messageBoxes,
           registry, shell,    system,    loop,   dialogs, menus,   graphics} {
    clipboard.SetProgramMessages(
        [this](std::function<void()> answered) { loop.SendFromOtherProcess(std::move(answered)); });
}

SimDesktop::~SimDesktop() {
    std::error_code ignored;
    std::filesystem::current_path(startDirectory, ignored);
}

bool SimDesktop::ClickTrayIcon(std::uint32_t mouseMessage) {
    const SimTrayIcon* icon = shell.TrayIcon();
    if (icon == nullptr) {
        faults.Report("the user clicked a tray icon that is not there");
        return false;
    }
    windows.SetCursorPosition(kTrayIconPosition);
    // The shell lets the program whose icon was clicked come to the front.
    windows.GiveInput(kProgramProcess);
    windows.SendMessageW(icon->window, icon->callbackMessage, icon->id,
                         static_cast<LParam>(mouseMessage));
    loop.RunFor(0);
    return true;
}

bool SimDesktop::RightClickTrayIcon() {
    return ClickTrayIcon(wm::kRButtonUp);
}

bool SimDesktop::DoubleClickTrayIcon() {
    return ClickTrayIcon(wm::kLButtonDblClk);
}

void SimDesktop::RestartExplorer() {
    shell.RemoveTrayIcons();
    windows.SendToTopLevelWindows(windows.RegisterWindowMessageW(u"TaskbarCreated"), 0, 0);
    loop.RunFor(0);
}

void SimDesktop::EndSession(bool ending) {
    windows.SendToTopLevelWindows(wm::kQueryEndSession, 0, 0);
    windows.SendToTopLevelWindows(wm::kEndSession, ending ? 1 : 0, 0);
}

bool SimDesktop::ChooseFromTrayMenu(std::uint32_t command) {
    menus.Choose(command);
    return RightClickTrayIcon();
}

}  // namespace nimbrel
