#include "win32/Win32Graphics.h"

#include "win32/Win32Handles.h"

namespace nimbrel {

namespace {

using win32::FromWin32;
using win32::ToWin32;

HWND ToHwnd(WindowHandle window) {
    return ToWin32<HWND>(window);
}

HDC ToHdc(DeviceContext dc) {
    return ToWin32<HDC>(dc);
}

HFONT ToHfont(FontHandle font) {
    return ToWin32<HFONT>(font);
}

FontHandle ToHandle(HFONT font) {
    return FromWin32<FontHandle>(font);
}

HFONT FontOfWindow(HWND window) {
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

// A window's device context, released at the end of the scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window_) : window(window_), dc(::GetDC(window_)) {}
    ~WindowDc() {
        if (dc != nullptr) ::ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc; }

  private:
    HWND window;
    HDC dc;
};

// An object selected into a device context for the scope; the previous one
// is put back at its end.
class Selection {
  public:
    Selection(HDC dc_, HGDIOBJ object)
        : dc(dc_), previous(object != nullptr ? ::SelectObject(dc_, object) : nullptr) {}
    ~Selection() {
        if (previous != nullptr) ::SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc;
    HGDIOBJ previous;
};

}  // namespace

Colour Win32Graphics::GetSysColor(int index) {
    return ::GetSysColor(index);
}

Colour Win32Graphics::SetTextColor(DeviceContext dc, Colour colour) {
    return ::SetTextColor(ToHdc(dc), colour);
}

int Win32Graphics::SetBkMode(DeviceContext dc, int mode) {
    return ::SetBkMode(ToHdc(dc), mode);
}

BrushHandle Win32Graphics::GetStockObject(int object) {
    return FromWin32<BrushHandle>(::GetStockObject(object));
}

FontHandle Win32Graphics::GetWindowFont(WindowHandle window) {
    return ToHandle(FontOfWindow(ToHwnd(window)));
}

FontHandle Win32Graphics::CreateUnderlinedFont(FontHandle font, bool underline) {
    // A window without a font of its own draws with the system font.
    const HGDIOBJ source =
        font != kNoFont ? static_cast<HGDIOBJ>(ToHfont(font)) : ::GetStockObject(SYSTEM_FONT);
    LOGFONTW description{};
    if (::GetObjectW(source, sizeof(description), &description) != sizeof(description))
        return kNoFont;
    description.lfUnderline = underline ? TRUE : FALSE;
    return ToHandle(::CreateFontIndirectW(&description));
}

void Win32Graphics::SetWindowFont(WindowHandle window, FontHandle font) {
    ::SendMessageW(ToHwnd(window), WM_SETFONT, reinterpret_cast<WPARAM>(ToHfont(font)), TRUE);
}

bool Win32Graphics::DeleteObject(FontHandle font) {
    return ::DeleteObject(ToHfont(font)) != FALSE;
}

bool Win32Graphics::GetTextExtentPoint32W(WindowHandle window, StringView text, Size& size) {
    const HWND hwnd = ToHwnd(window);
    const WindowDc dc(hwnd);
    if (dc.Get() == nullptr) return false;
    const Selection font(dc.Get(), FontOfWindow(hwnd));
    SIZE extent{};
    if (::GetTextExtentPoint32W(dc.Get(), win32::Wide(text.data()), static_cast<int>(text.size()),
                                &extent) == FALSE)
        return false;
    size = Size{static_cast<int>(extent.cx), static_cast<int>(extent.cy)};
    return true;
}

int Win32Graphics::GetDeviceCaps(int index) {
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return 0;
    const int value = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(nullptr, screen);
    return value;
}

}  // namespace nimbrel
