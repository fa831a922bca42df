// The platform seam as one aggregate: a reference to each interface. The core
// receives a `Platform&` in the constructors (or operations) that need the
// desktop; nothing in the core reaches the platform any other way.
#pragma once

#include "platform/Clipboard.h"
#include "platform/ComRuntime.h"
#include "platform/Dialogs.h"
#include "platform/GlobalMemory.h"
#include "platform/Graphics.h"
#include "platform/HtmlDocuments.h"
#include "platform/Keyboard.h"
#include "platform/Menus.h"
#include "platform/MessageBoxes.h"
#include "platform/MessageLoop.h"
#include "platform/Modules.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemServices.h"
#include "platform/WindowSystem.h"

namespace nimbrel {

struct Platform {
    WindowSystem& windows;
    Keyboard& keyboard;
    Clipboard& clipboard;
    GlobalMemory& memory;
    ComRuntime& com;
    Modules& modules;
    HtmlDocuments& documents;
    MessageBoxes& messageBoxes;
    Registry& registry;
    Shell& shell;
    SystemServices& system;
    MessageLoop& loop;
    Dialogs& dialogs;
    Menus& menus;
    Graphics& graphics;
};

}  // namespace nimbrel
