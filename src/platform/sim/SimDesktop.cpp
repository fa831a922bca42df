#include "platform/sim/SimDesktop.h"

#include <system_error>

namespace nimbrel {

SimDesktop::SimDesktop()
    : windows(clock, atoms, faults),
      keyboard(clock, windows),
      memory(faults),
      clipboard(memory, atoms, codePage, clock, faults),
      editor(clipboard, codePage),
      com(faults),
      modules(faults),
      documents(windows, atoms, modules, faults),
      loop(clock, windows),
      messageBoxes(codePage, clock, loop),
      system(clock, codePage),
      startDirectory(std::filesystem::current_path()),
      seam{windows,   keyboard,     clipboard, memory, com,    modules,
           documents, messageBoxes, registry,  shell,  system, loop} {}

SimDesktop::~SimDesktop() {
    std::error_code ignored;
    std::filesystem::current_path(startDirectory, ignored);
}

}  // namespace nimbrel
