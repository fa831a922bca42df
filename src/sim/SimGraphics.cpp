#include "sim/SimGraphics.h"

namespace nimbrel {

namespace {

constexpr BrushHandle kSimNullBrush{0x5};

}  // namespace

SimGraphics::SimGraphics(SimFaults& faults_) : faults(faults_) {}

DeviceContext SimGraphics::NewPaintContext() {
    contexts.emplace_back();
    return DeviceContext{contexts.size()};
}

Colour SimGraphics::TextColourOf(DeviceContext dc) const {
    const auto index = static_cast<std::size_t>(dc);
    return index == 0 || index > contexts.size() ? 0 : contexts[index - 1].text;
}

int SimGraphics::BkModeOf(DeviceContext dc) const {
    const auto index = static_cast<std::size_t>(dc);
    return index == 0 || index > contexts.size() ? 0 : contexts[index - 1].bkMode;
}

FontHandle SimGraphics::DialogFont() {
    if (dialogFont == kNoFont) {
        fonts.push_back({false, true, true});
        dialogFont = FontHandle{fonts.size()};
    }
    return dialogFont;
}

const SimGraphics::Font* SimGraphics::FontOf(FontHandle font) const {
    const auto index = static_cast<std::size_t>(font);
    if (index == 0 || index > fonts.size() || !fonts[index - 1].alive) return nullptr;
    return &fonts[index - 1];
}

bool SimGraphics::IsUnderlined(WindowHandle window) const {
    const auto found = windowFonts.find(window);
    const Font* font = found == windowFonts.end() ? nullptr : FontOf(found->second);
    return font != nullptr && font->underline;
}

int SimGraphics::LiveFontCount() const {
    int count = 0;
    for (const Font& font : fonts)
        count += font.alive && !font.stock ? 1 : 0;
    return count;
}

Colour SimGraphics::GetSysColor(int index) {
    return index == kColorHighlight ? kSimHighlight : Rgb(0, 0, 0);
}

Colour SimGraphics::SetTextColor(DeviceContext dc, Colour colour) {
    const auto index = static_cast<std::size_t>(dc);
    if (index == 0 || index > contexts.size()) {
        faults.Report("SetTextColor on a device context that is not being painted");
        return 0;
    }
    const Colour previous = contexts[index - 1].text;
    contexts[index - 1].text = colour;
    return previous;
}

int SimGraphics::SetBkMode(DeviceContext dc, int mode) {
    const auto index = static_cast<std::size_t>(dc);
    if (index == 0 || index > contexts.size()) {
        faults.Report("SetBkMode on a device context that is not being painted");
        return 0;
    }
    const int previous = contexts[index - 1].bkMode;
    contexts[index - 1].bkMode = mode;
    return previous;
}

BrushHandle SimGraphics::GetStockObject(int object) {
    return object == kNullBrush ? kSimNullBrush : kNoBrush;
}

FontHandle SimGraphics::GetWindowFont(WindowHandle window) {
    const auto found = windowFonts.find(window);
    return found == windowFonts.end() ? kNoFont : found->second;
}

FontHandle SimGraphics::CreateUnderlinedFont(FontHandle font, bool underline) {
    if (font != kNoFont && FontOf(font) == nullptr) {
        faults.Report("a font copied from a font that does not exist");
        return kNoFont;
    }
    fonts.push_back({underline, false, true});
    return FontHandle{fonts.size()};
}

void SimGraphics::SetWindowFont(WindowHandle window, FontHandle font) {
    windowFonts[window] = font;
}

bool SimGraphics::DeleteObject(FontHandle font) {
    const auto index = static_cast<std::size_t>(font);
    if (index == 0 || index > fonts.size() || !fonts[index - 1].alive || fonts[index - 1].stock) {
        faults.Report("DeleteObject of a font that is not the program's or already deleted");
        return false;
    }
    fonts[index - 1].alive = false;
    return true;
}

bool SimGraphics::GetTextExtentPoint32W(WindowHandle, StringView text, Size& size) {
    size = Size{kSimCharWidth * static_cast<int>(text.size()), kSimTextHeight};
    return true;
}

int SimGraphics::GetDeviceCaps(int index) {
    return index == caps::kLogPixelsX || index == caps::kLogPixelsY ? dpi : 0;
}

}  // namespace nimbrel
