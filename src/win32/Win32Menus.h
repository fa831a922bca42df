// Menus on Windows: the program's menu resources, system menus and pop-up
// menus of user32. The program destroys the menus it loads itself.
#pragma once

#include "platform/Menus.h"

namespace nimbrel {

class Win32Menus : public Menus {
  public:
    MenuHandle LoadMenuW(int resourceId) override;
    bool DestroyMenu(MenuHandle menu) override;
    MenuHandle GetSubMenu(MenuHandle menu, int position) override;
    MenuHandle GetSystemMenu(WindowHandle window) override;
    bool ModifyMenuW(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                     std::uintptr_t newItemId, const char16_t* text) override;
    bool SetMenuDefaultItem(MenuHandle menu, std::uint32_t item, bool byPosition) override;
    std::uint32_t GetMenuDefaultItem(MenuHandle menu, bool byPosition) override;
    int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y,
                       WindowHandle owner) override;
};

}  // namespace nimbrel
