// Message boxes of the platform seam: MessageBoxW / MessageBoxA without an
// owner window. Flags and answers carry the Win32 values.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/Text.h"

namespace nimbrel {

namespace mb {
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kIconHand = 0x10;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconExclamation = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;
constexpr std::uint32_t kSystemModal = 0x1000;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows a box and returns the answer (mb::kIdOk, mb::kIdYes, ...).
    virtual int MessageBoxW(StringView text, StringView caption, std::uint32_t flags) = 0;
    // The 8-bit variant; text and caption in the ANSI code page.
    virtual int MessageBoxA(std::string_view text, std::string_view caption,
                            std::uint32_t flags) = 0;
    // The application framework's standard message box (AfxMessageBox):
    // owned by the program's active window, the caption is the
    // application's title (the program file's name without extension), and
    // a box without an icon gets one (FrameworkBoxFlags). Without a
    // framework of its own an implementation shows it with MessageBoxW and
    // the caption kApplicationTitle.
    virtual int AfxMessageBox(StringView text, std::uint32_t flags) {
        return MessageBoxW(text, kApplicationTitle, FrameworkBoxFlags(flags));
    }

    // The program file's name without extension.
    static constexpr const char16_t* kApplicationTitle = u"Nimbrel";
    // The icon the framework adds to a box that has none: the exclamation
    // mark to OK and OK/Cancel boxes, the question mark to Yes/No boxes.
    static constexpr std::uint32_t FrameworkBoxFlags(std::uint32_t flags) {
        if ((flags & 0xF0) != 0) return flags;
        switch (flags & 0xF) {
            case kOkBox:
            case kOkCancelBox:
                return flags | mb::kIconExclamation;
            case kYesNoCancelBox:
            case kYesNoBox:
                return flags | mb::kIconQuestion;
            default:
                return flags;
        }
    }

  private:
    static constexpr std::uint32_t kOkBox = 0x0;
    static constexpr std::uint32_t kOkCancelBox = 0x1;
    static constexpr std::uint32_t kYesNoCancelBox = 0x3;
    static constexpr std::uint32_t kYesNoBox = 0x4;
};

}  // namespace nimbrel
