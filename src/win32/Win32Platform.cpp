#include "win32/Win32Platform.h"

namespace nimbrel {

Win32Platform::Win32Platform()
    : seam{windows,  keyboard, clipboard, memory, com,     modules, documents, messageBoxes,
           registry, shell,    system,    loop,   dialogs, menus,   graphics} {}

}  // namespace nimbrel
