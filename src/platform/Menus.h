// Menus (user32): the program's menu resources, a window's system menu, and
// pop-up menus.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace nimbrel {

class Menus {
  public:
    virtual ~Menus() = default;

    // LoadMenuW of the program's menu resource `resourceId`; kNoMenu when
    // there is none. DestroyMenu frees it with its pop-ups.
    virtual MenuHandle LoadMenuW(int resourceId) = 0;
    virtual bool DestroyMenu(MenuHandle menu) = 0;
    // GetSubMenu: the pop-up at `position`, kNoMenu when there is none.
    virtual MenuHandle GetSubMenu(MenuHandle menu, int position) = 0;
    // GetSystemMenu(window, FALSE): the window's system menu.
    virtual MenuHandle GetSystemMenu(WindowHandle window) = 0;

    // ModifyMenuW: replaces the item at `item` (a position with
    // mf::kByPosition, else a command) by a string item with command
    // `newItemId` and `text`. The item's state (the default mark among
    // others) is reset to what `flags` gives.
    virtual bool ModifyMenuW(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                             std::uintptr_t newItemId, const char16_t* text) = 0;
    // SetMenuDefaultItem (by position or by command); GetMenuDefaultItem
    // (the position or command of the default item, kNoDefaultItem when
    // there is none; no GMDI flags).
    virtual bool SetMenuDefaultItem(MenuHandle menu, std::uint32_t item, bool byPosition) = 0;
    virtual std::uint32_t GetMenuDefaultItem(MenuHandle menu, bool byPosition) = 0;

    // TrackPopupMenu: shows the menu at (x, y) and returns when it closes.
    // Without tpm::kReturnCmd the chosen command is posted to `owner` as
    // wm::kCommand and the result is nonzero when the menu could be shown;
    // with it the result is the chosen command, 0 for none.
    virtual int TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y,
                               WindowHandle owner) = 0;
};

}  // namespace nimbrel
