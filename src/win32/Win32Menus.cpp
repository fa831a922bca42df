#include "win32/Win32Menus.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

namespace {

using win32::FromWin32;
using win32::ToWin32;

HWND ToHwnd(WindowHandle window) {
    return ToWin32<HWND>(window);
}

HMENU ToHmenu(MenuHandle menu) {
    return ToWin32<HMENU>(menu);
}

MenuHandle ToHandle(HMENU menu) {
    return FromWin32<MenuHandle>(menu);
}

}  // namespace

MenuHandle Win32Menus::LoadMenuW(int resourceId) {
    return ToHandle(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
}

bool Win32Menus::DestroyMenu(MenuHandle menu) {
    return ::DestroyMenu(ToHmenu(menu)) != FALSE;
}

MenuHandle Win32Menus::GetSubMenu(MenuHandle menu, int position) {
    return ToHandle(::GetSubMenu(ToHmenu(menu), position));
}

MenuHandle Win32Menus::GetSystemMenu(WindowHandle window) {
    return ToHandle(::GetSystemMenu(ToHwnd(window), FALSE));
}

bool Win32Menus::ModifyMenuW(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                             std::uintptr_t newItemId, const char16_t* text) {
    return ::ModifyMenuW(ToHmenu(menu), item, flags, newItemId, win32::Wide(text)) != FALSE;
}

bool Win32Menus::SetMenuDefaultItem(MenuHandle menu, std::uint32_t item, bool byPosition) {
    return ::SetMenuDefaultItem(ToHmenu(menu), item, byPosition ? TRUE : FALSE) != FALSE;
}

std::uint32_t Win32Menus::GetMenuDefaultItem(MenuHandle menu, bool byPosition) {
    return ::GetMenuDefaultItem(ToHmenu(menu), byPosition ? TRUE : FALSE, 0);
}

int Win32Menus::TrackPopupMenu(MenuHandle menu, std::uint32_t flags, int x, int y,
                               WindowHandle owner) {
    return ::TrackPopupMenu(ToHmenu(menu), flags, x, y, 0, ToHwnd(owner), nullptr);
}

}  // namespace nimbrel
