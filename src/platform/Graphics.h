// Drawing (gdi32 and user32): what a control needs to choose its colours and
// font and to measure its text.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "shell/Text.h"

namespace nimbrel {

class Graphics {
  public:
    virtual ~Graphics() = default;

    // GetSysColor (kColorHighlight ...).
    virtual Colour GetSysColor(int index) = 0;
    // SetTextColor (returns the previous colour) and SetBkMode
    // (kTransparent ...) on a device context handed to the program for
    // painting; GetStockObject of a stock brush (kNullBrush).
    virtual Colour SetTextColor(DeviceContext dc, Colour colour) = 0;
    virtual int SetBkMode(DeviceContext dc, int mode) = 0;
    virtual BrushHandle GetStockObject(int object) = 0;

    // The font a window draws its text with (WM_GETFONT); kNoFont for the
    // system font.
    virtual FontHandle GetWindowFont(WindowHandle window) = 0;
    // A new font like `font` (the system font for kNoFont) with the underline
    // attribute `underline` (GetObjectW, CreateFontIndirectW). The caller
    // frees it with DeleteObject once no window uses it.
    virtual FontHandle CreateUnderlinedFont(FontHandle font, bool underline) = 0;
    // WM_SETFONT: the window draws with `font` from now on.
    virtual void SetWindowFont(WindowHandle window, FontHandle font) = 0;
    virtual bool DeleteObject(FontHandle font) = 0;
    // GetTextExtentPoint32W of `text` in the window's font (on the window's
    // device context with that font selected): width and height in pixels.
    virtual bool GetTextExtentPoint32W(WindowHandle window, StringView text, Size& size) = 0;
    // GetDeviceCaps of the screen (on GetDC(no window), released with
    // ReleaseDC): caps::kLogPixelsX is 96 at 100 % scaling, 144 at 150 %.
    virtual int GetDeviceCaps(int index) = 0;
};

}  // namespace nimbrel
