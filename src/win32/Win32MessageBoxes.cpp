#include "win32/Win32MessageBoxes.h"

#include <string>

#include "win32/Win32Handles.h"

namespace nimbrel {

using win32::Wide;

int Win32MessageBoxes::MessageBoxW(StringView text, StringView caption, std::uint32_t flags) {
    const String terminatedText(text);
    const String terminatedCaption(caption);
    return ::MessageBoxW(nullptr, Wide(terminatedText.c_str()), Wide(terminatedCaption.c_str()),
                         flags);
}

int Win32MessageBoxes::MessageBoxA(std::string_view text, std::string_view caption,
                                   std::uint32_t flags) {
    const std::string terminatedText(text);
    const std::string terminatedCaption(caption);
    return ::MessageBoxA(nullptr, terminatedText.c_str(), terminatedCaption.c_str(), flags);
}

int Win32MessageBoxes::AfxMessageBox(StringView text, std::uint32_t flags) {
    const String terminatedText(text);
    return ::MessageBoxW(::GetActiveWindow(), Wide(terminatedText.c_str()), Wide(kApplicationTitle),
                         FrameworkBoxFlags(flags));
}

}  // namespace nimbrel
