#include "sim/SimMenus.h"

#include "sim/SimStrings.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {

namespace {

// The system menu of a dialog with a minimise box.
constexpr std::uint32_t kScRestore = 0xF120;
constexpr std::uint32_t kScMove = 0xF010;
constexpr std::uint32_t kScMinimize = 0xF020;

}  // namespace

SimMenus::SimMenus(SimWindowSystem& windows_, SimMessageLoop& loop_, SimFaults& faults_)
    : windows(windows_), loop(loop_), faults(faults_) {}

SimMenus::Menu* SimMenus::Get(MenuHandle menu) {
    const auto index = static_cast<std::size_t>(menu);
    if (index == 0 || index > menus.size() || !menus[index - 1].alive) return nullptr;
    return &menus[index - 1];
}

const SimMenus::Menu* SimMenus::Get(MenuHandle menu) const {
    return const_cast<SimMenus*>(this)->Get(menu);
}

MenuHandle SimMenus::NewMenu(std::vector<SimMenuItem> items, bool system) {
    menus.push_back(Menu{std::move(items), true, system});
    return MenuHandle{menus.size()};
}

std::vector<SimMenuItem> SimMenus::Items(MenuHandle menu) const {
    const Menu* found = Get(menu);
    return found == nullptr ? std::vector<SimMenuItem>{} : found->items;
}

std::optional<String> SimMenus::SystemMenuText(WindowHandle window, std::uint32_t command) const {
    const auto found = systemMenus.find(window);
    if (found == systemMenus.end()) {
        // Not asked for yet: the standard text.
        if (command == sc::kClose) return String(u"&Close\tAlt+F4");
        return std::nullopt;
    }
    for (const SimMenuItem& item : Items(found->second))
        if (item.command == command) return item.text;
    return std::nullopt;
}

int SimMenus::LiveMenuCount() const {
    int count = 0;
    for (const Menu& menu : menus)
        count += menu.alive && !menu.system ? 1 : 0;
    return count;
}

MenuHandle SimMenus::LoadMenuW(int resourceId) {
    const MenuTemplate& tray = TrayMenuTemplate();
    if (resourceId != tray.id) return kNoMenu;
    std::vector<SimMenuItem> items;
    for (const MenuItemTemplate& item : tray.items)
        items.push_back(
            {static_cast<std::uint32_t>(item.command), String(item.text), false, kNoMenu});
    const MenuHandle popup = NewMenu(std::move(items), false);
    return NewMenu({SimMenuItem{0, String(tray.popup), false, popup}}, false);
}

bool SimMenus::DestroyMenu(MenuHandle menu) {
    Menu* found = Get(menu);
    if (found == nullptr || found->system) {
        faults.Report("DestroyMenu of a menu that is not loaded");
        return false;
    }
    found->alive = false;
    for (const SimMenuItem& item : found->items)
        if (Menu* popup = Get(item.popup)) popup->alive = false;
    return true;
}

MenuHandle SimMenus::GetSubMenu(MenuHandle menu, int position) {
    const Menu* found = Get(menu);
    if (found == nullptr || position < 0 ||
        static_cast<std::size_t>(position) >= found->items.size())
        return kNoMenu;
    return found->items[static_cast<std::size_t>(position)].popup;
}

MenuHandle SimMenus::GetSystemMenu(WindowHandle window) {
    if (!windows.IsWindow(window)) return kNoMenu;
    const auto found = systemMenus.find(window);
    if (found != systemMenus.end()) return found->second;
    const MenuHandle menu = NewMenu({{kScRestore, u"&Restore", false, kNoMenu},
                                     {kScMove, u"&Move", false, kNoMenu},
                                     {kScMinimize, u"Mi&nimize", false, kNoMenu},
                                     {sc::kClose, u"&Close\tAlt+F4", true, kNoMenu}},
                                    true);
    systemMenus.emplace(window, menu);
    return menu;
}

SimMenuItem* SimMenus::Find(MenuHandle menu, std::uint32_t item, bool byPosition) {
    Menu* found = Get(menu);
    if (found == nullptr) return nullptr;
    if (byPosition) return item < found->items.size() ? &found->items[item] : nullptr;
    for (SimMenuItem& entry : found->items) {
        if (entry.popup != kNoMenu) {
            if (SimMenuItem* inner = Find(entry.popup, item, false)) return inner;
        } else if (entry.command == item) {
            return &entry;
        }
    }
    return nullptr;
}

bool SimMenus::ModifyMenuW(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                           std::uintptr_t newItemId, const char16_t* text) {
    SimMenuItem* found = Find(menu, item, (flags & mf::kByPosition) != 0);
    if (found == nullptr) return false;
    *found = SimMenuItem{static_cast<std::uint32_t>(newItemId), String(sim::Terminated(text)),
                         false, kNoMenu};
    return true;
}

bool SimMenus::SetMenuDefaultItem(MenuHandle menu, std::uint32_t item, bool byPosition) {
    Menu* found = Get(menu);
    if (found == nullptr) return false;
    SimMenuItem* chosen = nullptr;
    if (item != kNoDefaultItem) {
        for (std::size_t i = 0; i < found->items.size(); ++i) {
            if (byPosition ? i == item : found->items[i].command == item) chosen = &found->items[i];
        }
        if (chosen == nullptr) return false;
    }
    for (SimMenuItem& entry : found->items)
        entry.isDefault = &entry == chosen;
    return true;
}

std::uint32_t SimMenus::GetMenuDefaultItem(MenuHandle menu, bool byPosition) {
    const Menu* found = Get(menu);
    if (found == nullptr) return kNoDefaultItem;
    for (std::size_t i = 0; i < found->items.size(); ++i) {
        if (found->items[i].isDefault)
            return byPosition ? static_cast<std::uint32_t>(i) : found->items[i].command;
    }
    return kNoDefaultItem;
}

int SimMenus::TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y,
                             WindowHandle owner) {
    const Menu* found = Get(menu);
    if (found == nullptr || !windows.IsWindow(owner)) return 0;
    if (windows.Foreground() != windows.TopLevelOf(owner))
        faults.Report("pop-up menu shown while its owner is not the foreground window");
    std::optional<std::uint32_t> chosen;
    if (!script.empty()) {
        chosen = script.front();
        script.pop_front();
    }
    if (chosen && Find(menu, *chosen, false) == nullptr) {
        faults.Report("the scenario chose a command that the menu does not have");
        chosen.reset();
    }
    shown.push_back({found->items, Point{x, y}, owner, chosen});
    if ((flags & tpm::kReturnCmd) != 0) return chosen ? static_cast<int>(*chosen) : 0;
    if (chosen) loop.PostMessageW(owner, wm::kCommand, MakeWParam(static_cast<int>(*chosen), 0), 0);
    return 1;
}

}  // namespace nimbrel
