// Drawing on Windows (gdi32 and user32): colours and background mode of a
// device context being painted, stock brushes, a window's font and its
// underlined copy, and text measuring in a window's font. Fonts it creates
// belong to the caller (DeleteObject).
#pragma once

#include "platform/Graphics.h"

namespace nimbrel {

class Win32Graphics : public Graphics {
  public:
    Colour GetSysColor(int index) override;
    Colour SetTextColor(DeviceContext dc, Colour colour) override;
    int SetBkMode(DeviceContext dc, int mode) override;
    BrushHandle GetStockObject(int object) override;
    FontHandle GetWindowFont(WindowHandle window) override;
    FontHandle CreateUnderlinedFont(FontHandle font, bool underline) override;
    void SetWindowFont(WindowHandle window, FontHandle font) override;
    bool DeleteObject(FontHandle font) override;
    bool GetTextExtentPoint32W(WindowHandle window, StringView text, Size& size) override;
    int GetDeviceCaps(int index) override;
};

}  // namespace nimbrel
