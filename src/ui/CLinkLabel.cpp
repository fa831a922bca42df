#include "ui/CLinkLabel.h"

#include "ui/WholeNumber.h"

namespace nimbrel {

CLinkLabel::CLinkLabel(Platform& platform_)
    : platform(platform_), hoverColour(platform_.graphics.GetSysColor(kColorHighlight)) {}

CLinkLabel::~CLinkLabel() {
    if (control != kNoWindow) platform.windows.RemoveWindowSubclass(control, *this);
    if (font != kNoFont) platform.graphics.DeleteObject(font);
}

void CLinkLabel::Attach(WindowHandle dialog_, int id) {
    dialog = dialog_;
    control = platform.dialogs.GetDlgItem(dialog, id);
    if (control == kNoWindow) return;
    WindowSystem& windows = platform.windows;

    const std::int32_t style = windows.GetWindowLongW(control, kGwlStyle);
    windows.SetWindowLongW(
        control, kGwlStyle,
        static_cast<std::int32_t>(static_cast<std::uint32_t>(style) | ss::kNotify));

    String text;
    platform.dialogs.GetDlgItemTextW(dialog, id, text);
    if (url.empty()) url = text;
    if (text.empty()) windows.SetWindowTextW(control, url.c_str());

    font =
        platform.graphics.CreateUnderlinedFont(platform.graphics.GetWindowFont(control), underline);
    if (font != kNoFont) platform.graphics.SetWindowFont(control, font);

    PositionWindow();
    SetDefaultCursor();
    platform.dialogs.AddToolTip(control, url.c_str());
    windows.SetWindowSubclass(control, *this);
}

void CLinkLabel::SetColours(Colour link, Colour visitedLink, Colour hover) {
    linkColour = link;
    visitedColour = visitedLink;
    hoverColour =
        hover == kSystemHighlightColour ? platform.graphics.GetSysColor(kColorHighlight) : hover;
    Repaint();
}

void CLinkLabel::SetURL(StringView target) {
    url = String(target);
    if (control == kNoWindow) return;
    PositionWindow();
    platform.dialogs.UpdateTipText(control, url.c_str());
}

void CLinkLabel::SetVisited(bool isVisited) {
    visited = isVisited;
    Repaint();
}

Colour CLinkLabel::TextColour() const {
    if (overControl) return hoverColour;
    return visited ? visitedColour : linkColour;
}

void CLinkLabel::Repaint() {
    if (control != kNoWindow) platform.windows.InvalidateRect(control, true);
}

void CLinkLabel::OnClicked() {
    const std::intptr_t result =
        platform.shell.ShellExecuteW(kNoWindow, u"open", url.c_str(), nullptr, nullptr, sw::kShow);
    if (result > 32) {
        SetVisited(true);
    } else {
        visited = false;
        platform.windows.MessageBeep(mb::kIconExclamation);
        platform.messageBoxes.AfxMessageBox(String(kHyperlinkErrorPrefix) + ErrorText(result),
                                            mb::kOk | mb::kIconExclamation);
    }
    overControl = false;
}

BrushHandle CLinkLabel::OnCtlColor(DeviceContext dc) {
    platform.graphics.SetTextColor(dc, TextColour());
    platform.graphics.SetBkMode(dc, kTransparent);
    return platform.graphics.GetStockObject(kNullBrush);
}

Rect CLinkLabel::FittedRect(Rect rect, Size text, std::uint32_t style) {
    if ((style & ss::kCenterImage) != 0) {
        // The text's own height from the centred top: shrinking both sides by
        // half the spare room would lose a pixel to rounding and clip the text.
        rect.top += (rect.Height() - text.cy) / 2;
        rect.bottom = rect.top + text.cy;
    } else {
        rect.bottom = rect.top + text.cy;
    }
    if ((style & ss::kCenter) != 0) {
        rect.left += (rect.Width() - text.cx) / 2;
        rect.right = rect.left + text.cx;
    } else if ((style & ss::kRight) != 0) {
        rect.left = rect.right - text.cx;
    } else {
        rect.right = rect.left + text.cx;
    }
    return rect;
}

void CLinkLabel::PositionWindow() {
    if (control == kNoWindow || !adjustToFit) return;
    WindowSystem& windows = platform.windows;
    Rect rect;
    if (!windows.GetWindowRect(control, rect)) return;
    Point topLeft{rect.left, rect.top};
    Point bottomRight{rect.right, rect.bottom};
    windows.ScreenToClient(dialog, topLeft);
    windows.ScreenToClient(dialog, bottomRight);
    rect = Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};

    String text(static_cast<std::size_t>(windows.GetWindowTextLengthW(control)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        windows.GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    Size extent;
    if (!platform.graphics.GetTextExtentPoint32W(control, text, extent)) return;

    const auto style = static_cast<std::uint32_t>(windows.GetWindowLongW(control, kGwlStyle));
    const Rect fitted = FittedRect(rect, extent, style);
    windows.SetWindowPos(control, kNoWindow, fitted.left, fitted.top, fitted.Width(),
                         fitted.Height(), swp::kNoZOrder);
}

void CLinkLabel::SetDefaultCursor() {
    // The system's pointing hand; where it is missing the arrow stays.
    if (linkCursor == kNoCursor) linkCursor = platform.windows.LoadCursorW(idc::kHand);
}

String CLinkLabel::ErrorText(std::intptr_t code) {
    switch (code) {
        case 0:
            return u"The operating system is out\nof memory or resources.";
        case 2:
            return u"The specified file was not found.";
        case 3:
            return u"The specified path was not found.";
        case 5:
            return u"The operating system denied\naccess to the specified file.";
        case 8:
            return u"There was not enough memory to complete the operation.";
        case 11:
            return u"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        case 26:
            return u"A sharing violation occurred. ";
        case 27:
            return u"The filename association is\nincomplete or invalid.";
        case 28:
            return u"The DDE transaction could not\nbe completed because the request timed out.";
        case 29:
            return u"The DDE transaction failed.";
        case 30:
            return u"The DDE transaction could not\nbe completed because other DDE "
                   u"transactions\nwere being processed.";
        case 31:
            return u"There is no application associated\nwith the given filename extension.";
        case 32:
            return u"The specified dynamic-link library was not found.";
        default:
            return u"Unknown Error (" + DecimalText(code) + u") occurred.";
    }
}

LResult CLinkLabel::WindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                               LParam lParam) {
    WindowSystem& windows = platform.windows;
    if (message == wm::kSetCursor && linkCursor != kNoCursor) {
        windows.SetCursor(linkCursor);
        return 1;
    }
    if (message == wm::kMouseMove && !overControl) {
        // The system reports the mouse leaving, to whatever window it goes:
        // a captured mouse would stay "over" the link when the user moved
        // on to another program.
        overControl = true;
        windows.InvalidateRect(window, true);
        windows.UpdateWindow(window);
        windows.TrackMouseEvent(tme::kLeave, window);
    } else if (message == wm::kMouseLeave && overControl) {
        overControl = false;
        windows.InvalidateRect(window, true);
        windows.UpdateWindow(window);
    }
    // The link's tooltip follows the control's mouse messages through its
    // own subclass further down the chain.
    return windows.DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace nimbrel
