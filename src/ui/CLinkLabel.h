// A static text control of a dialog that behaves like a web link: its text
// is drawn underlined in the link colour (the hover colour while the mouse is
// over it, the visited colour once it has been opened), the cursor over it
// is a pointing hand, a tooltip shows the target, and a click opens the
// target with the shell, reporting a failure in words.
//
// The dialog that owns the control attaches the object to it (Attach) and
// hands it the control's click (OnClicked, the reflected STN_CLICKED) and
// colour request (OnCtlColor, the reflected WM_CTLCOLORSTATIC); the mouse
// and cursor messages reach it through the control's subclass procedure.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "shell/Text.h"

namespace nimbrel {

// SetColours: "the system highlight colour" for the hover colour.
constexpr Colour kSystemHighlightColour = 0xFFFFFFFFu;
// The start of the text shown when a target cannot be opened.
constexpr const char16_t* kHyperlinkErrorPrefix = u"Unable to open hyperlink:\n\n";

class CLinkLabel : public WindowProcedure {
  public:
    explicit CLinkLabel(Platform& platform);
    // Removes the subclass procedure and frees the underlined font.
    ~CLinkLabel() override;
    CLinkLabel(const CLinkLabel&) = delete;
    CLinkLabel& operator=(const CLinkLabel&) = delete;

    // Takes over the static control `id` of `dialog`: reports clicks
    // (SS_NOTIFY); an empty URL becomes the control's text and an empty
    // text the URL; an underlined copy of the control's font; the rectangle
    // fitted to the text (PositionWindow); the hand cursor; the tooltip with
    // the URL.
    void Attach(WindowHandle dialog, int id);
    WindowHandle Window() const { return control; }

    // Link, visited and hover colour; kSystemHighlightColour as the hover
    // colour means the system highlight colour. Repaints.
    void SetColours(Colour link, Colour visited, Colour hover = kSystemHighlightColour);
    // The target; once attached, the rectangle is fitted again and the
    // tooltip shows the new target.
    void SetURL(StringView url);
    const String& URL() const { return url; }
    void SetVisited(bool visited);
    bool Visited() const { return visited; }
    // Whether the mouse is over the control (from the first move over it to
    // the first move outside it).
    bool MouseOver() const { return overControl; }

    // The colour the text is drawn in now.
    Colour TextColour() const;

    // The click: opens the URL with the shell verb "open". A result above 32
    // is success and marks the link visited; otherwise the exclamation beep
    // and the framework's message box with kHyperlinkErrorPrefix and
    // ErrorText. Either way the mouse no longer counts as over the control.
    void OnClicked();
    // The colour request while the control is painted: text colour,
    // transparent background, the null brush (the answer).
    BrushHandle OnCtlColor(DeviceContext dc);

    // Fits the control's rectangle to its text (when attached and adjusting
    // is on); see FittedRect.
    void PositionWindow();
    // The rectangle `rect` fitted to a text of `text` pixels by the static
    // control style `style`, always exactly the text's size: centred
    // vertically (ss::kCenterImage) by moving the top down by half of the
    // spare height, else at the same top; centred horizontally (ss::kCenter)
    // likewise, right-aligned (ss::kRight) at the same right edge, else at
    // the same left edge. Halves are rounded toward zero; a text larger than
    // the rectangle widens it.
    static Rect FittedRect(Rect rect, Size text, std::uint32_t style);
    // The text for a result of the shell's open operation.
    static String ErrorText(std::intptr_t code);

    LResult WindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                       LParam lParam) override;

  private:
    void SetDefaultCursor();
    void Repaint();

    Platform& platform;
    Colour linkColour = Rgb(0, 0, 238);
    Colour visitedColour = Rgb(85, 26, 139);
    Colour hoverColour;
    bool overControl = false;
    bool visited = false;
    bool underline = true;
    bool adjustToFit = true;
    String url;
    FontHandle font = kNoFont;
    CursorHandle linkCursor = kNoCursor;
    WindowHandle dialog = kNoWindow;
    WindowHandle control = kNoWindow;
};

}  // namespace nimbrel
