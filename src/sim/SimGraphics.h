// Drawing in the simulated desktop. Nothing is drawn; what the program asks
// for is kept so that a scenario can read it: the colours a control chose
// while it was painted, which font a window uses and whether it is
// underlined. Every font measures text the same way: 6 pixels per UTF-16
// unit wide and 13 pixels high.
#pragma once

#include <map>
#include <vector>

#include "platform/Graphics.h"
#include "sim/SimFaults.h"

namespace nimbrel {

constexpr int kSimCharWidth = 6;
constexpr int kSimTextHeight = 13;
// COLOR_HIGHLIGHT of the simulated desktop.
constexpr Colour kSimHighlight = Rgb(49, 106, 197);

class SimGraphics : public Graphics {
  public:
    explicit SimGraphics(SimFaults& faults);

    // Scenario operations.
    // A fresh device context for painting one control; text colour black,
    // background mode opaque.
    DeviceContext NewPaintContext();
    Colour TextColourOf(DeviceContext dc) const;
    int BkModeOf(DeviceContext dc) const;
    // The dialogs' font, "MS Sans Serif" 8 points.
    FontHandle DialogFont();
    bool IsUnderlined(WindowHandle window) const;
    // Fonts created and not yet deleted.
    int LiveFontCount() const;

    // The seam.
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
    // The screen's logical pixels per inch (96 by default).
    void SetDpi(int dotsPerInch) { dpi = dotsPerInch; }

  private:
    struct Context {
        Colour text = 0;
        int bkMode = 2;  // OPAQUE
    };
    struct Font {
        bool underline = false;
        bool stock = false;
        bool alive = true;
    };
    const Font* FontOf(FontHandle font) const;

    SimFaults& faults;
    std::vector<Context> contexts;  // DeviceContext n is contexts[n - 1]
    std::vector<Font> fonts;        // FontHandle n is fonts[n - 1]
    FontHandle dialogFont = kNoFont;
    std::map<WindowHandle, FontHandle> windowFonts;
    int dpi = 96;
};

}  // namespace nimbrel
