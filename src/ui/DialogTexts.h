// The texts of one open dialog, as the language file sets them.
#pragma once

#include "shell/Text.h"

namespace nimbrel {

// What `CLangFile::TranslateControl` and `CLangFile::TranslateTitle` need from
// a dialog. Each dialog class implements it over its controls (through the
// platform seam on the desktop, directly in tests).
class DialogTexts {
  public:
    virtual ~DialogTexts() = default;

    // Whether the dialog has a control with this identifier.
    virtual bool HasControl(int id) const = 0;
    // Replaces the text of control `id`. Called only for identifiers that
    // `HasControl` confirmed.
    virtual void SetControlText(int id, StringView text) = 0;
    // Replaces the dialog's title (an empty text is a valid title).
    virtual void SetTitle(StringView text) = 0;
};

}  // namespace nimbrel
