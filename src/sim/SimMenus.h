// Menus of the simulated desktop: the program's menu resources (built from
// the portable template table, so the same ids and built-in texts as the
// resource script), system menus, and pop-up menus the user answers from a
// script: each TrackPopupMenu takes the next scripted choice (a command, or
// nothing when the user clicks elsewhere); with the script empty the menu
// is dismissed. A menu whose owner is not the foreground window is noted as
// a fault (on Windows it would not close when the user clicks elsewhere).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "platform/Menus.h"
#include "shell/Text.h"
#include "sim/SimFaults.h"
#include "sim/SimMessageLoop.h"
#include "sim/SimWindowSystem.h"

namespace nimbrel {

struct SimMenuItem {
    std::uint32_t command = 0;
    String text;
    bool isDefault = false;
    MenuHandle popup = kNoMenu;
};

// A pop-up menu as the user saw it.
struct SimShownMenu {
    std::vector<SimMenuItem> items;
    Point at;
    WindowHandle owner;
    std::optional<std::uint32_t> chosen;
};

class SimMenus : public Menus {
  public:
    SimMenus(SimWindowSystem& windows, SimMessageLoop& loop, SimFaults& faults);

    // Scenario operations.
    // The user's answer to the next pop-up menu: a command, or nullopt to
    // click elsewhere.
    void Choose(std::optional<std::uint32_t> command) { script.push_back(command); }
    const std::vector<SimShownMenu>& Shown() const { return shown; }
    // The items of a menu (empty for one that does not exist).
    std::vector<SimMenuItem> Items(MenuHandle menu) const;
    // The text of the item with `command` in the window's system menu.
    std::optional<String> SystemMenuText(WindowHandle window, std::uint32_t command) const;
    // Menus loaded and not destroyed (system menus not counted).
    int LiveMenuCount() const;

    // The seam.
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

  private:
    struct Menu {
        std::vector<SimMenuItem> items;
        bool alive = true;
        bool system = false;
    };
    Menu* Get(MenuHandle menu);
    const Menu* Get(MenuHandle menu) const;
    MenuHandle NewMenu(std::vector<SimMenuItem> items, bool system);
    // The item `item` (by position or by command, commands also in pop-ups).
    SimMenuItem* Find(MenuHandle menu, std::uint32_t item, bool byPosition);

    SimWindowSystem& windows;
    SimMessageLoop& loop;
    SimFaults& faults;
    std::vector<Menu> menus;  // MenuHandle n is menus[n - 1]
    std::map<WindowHandle, MenuHandle> systemMenus;
    std::deque<std::optional<std::uint32_t>> script;
    std::vector<SimShownMenu> shown;
};

}  // namespace nimbrel
