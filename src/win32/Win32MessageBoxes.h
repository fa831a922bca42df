// Message boxes on Windows (user32). MessageBoxW and MessageBoxA have no owner
// window; the framework's box is owned by the program's active window and
// has the application's title as its caption.
//
// The texts are shown up to their first NUL, as any Win32 string.
#pragma once

#include "platform/MessageBoxes.h"

namespace nimbrel {

class Win32MessageBoxes : public MessageBoxes {
  public:
    int MessageBoxW(StringView text, StringView caption, std::uint32_t flags) override;
    int MessageBoxA(std::string_view text, std::string_view caption, std::uint32_t flags) override;
    int AfxMessageBox(StringView text, std::uint32_t flags) override;
};

}  // namespace nimbrel
