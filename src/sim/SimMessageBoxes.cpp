#include "sim/SimMessageBoxes.h"

namespace nimbrel {

namespace {

int FirstButton(std::uint32_t flags) {
    switch (flags & 0xF) {
        case 2:
            return 3;  // MB_ABORTRETRYIGNORE: IDABORT
        case 3:        // MB_YESNOCANCEL
        case 4:
            return mb::kIdYes;  // MB_YESNO
        case 5:
            return 4;  // MB_RETRYCANCEL: IDRETRY
        default:
            return mb::kIdOk;
    }
}

}  // namespace

SimMessageBoxes::SimMessageBoxes(SimCodePage& codePage_, SimClock& clock_, SimMessageLoop& loop_)
    : codePage(codePage_), clock(clock_), loop(loop_) {}

int SimMessageBoxes::Show(bool ansi, bool framework, String text, String caption,
                          std::uint32_t flags) {
    Scripted next{FirstButton(flags), 0};
    if (!script.empty()) {
        next = script.front();
        script.pop_front();
    }
    const std::size_t index = shown.size();
    shown.push_back(
        {ansi, framework, std::move(text), std::move(caption), flags, next.answer, clock.Now()});
    if (next.openFor > 0) loop.RunFor(next.openFor);
    return shown[index].answer;
}

int SimMessageBoxes::MessageBoxW(StringView text, StringView caption, std::uint32_t flags) {
    return Show(false, false, String(text), String(caption), flags);
}

int SimMessageBoxes::MessageBoxA(std::string_view text, std::string_view caption,
                                 std::uint32_t flags) {
    return Show(true, false, codePage.ToWide(text), codePage.ToWide(caption), flags);
}

int SimMessageBoxes::AfxMessageBox(StringView text, std::uint32_t flags) {
    return Show(false, true, String(text), kApplicationTitle, FrameworkBoxFlags(flags));
}

}  // namespace nimbrel
