// The platform seam on real Windows: one Win32 implementation of each
// interface, owned together and handed to the core as one `Platform`.
#pragma once

#include "platform/Platform.h"
#include "win32/Win32Clipboard.h"
#include "win32/Win32ComRuntime.h"
#include "win32/Win32Dialogs.h"
#include "win32/Win32GlobalMemory.h"
#include "win32/Win32Graphics.h"
#include "win32/Win32HtmlDocuments.h"
#include "win32/Win32Keyboard.h"
#include "win32/Win32Menus.h"
#include "win32/Win32MessageBoxes.h"
#include "win32/Win32MessageLoop.h"
#include "win32/Win32Modules.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Shell.h"
#include "win32/Win32SystemServices.h"
#include "win32/Win32WindowSystem.h"

namespace nimbrel {

class Win32Platform {
  public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& platform() { return seam; }

  private:
    Win32WindowSystem windows;
    Win32Keyboard keyboard;
    Win32Clipboard clipboard;
    Win32GlobalMemory memory;
    // Before `com`, which releases the documents' type library.
    Win32HtmlDocuments documents;
    Win32ComRuntime com{documents};
    Win32Modules modules;
    Win32MessageBoxes messageBoxes;
    Win32Registry registry;
    Win32Shell shell;
    Win32SystemServices system;
    Win32MessageLoop loop;
    Win32Dialogs dialogs;
    Win32Menus menus;
    Win32Graphics graphics;
    Platform seam;
};

}  // namespace nimbrel
