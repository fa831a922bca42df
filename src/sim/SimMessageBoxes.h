// Message boxes of the simulated desktop: each is recorded (8-bit ones with
// their text converted from the code page) and answered from a script of
// answers, first in first out; with the script empty a box is answered with
// its first button (IDOK, IDYES, IDABORT or IDRETRY). A scripted answer can
// keep the box open for a while, during which the box's own message loop
// dispatches the program's timers, as a real one does.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/MessageBoxes.h"
#include "sim/SimClock.h"
#include "sim/SimCodePage.h"
#include "sim/SimMessageLoop.h"

namespace nimbrel {

struct SimMessageBox {
    bool ansi;       // MessageBoxA
    bool framework;  // AfxMessageBox
    String text;
    String caption;
    std::uint32_t flags;
    int answer;
    std::uint64_t time;
};

class SimMessageBoxes : public MessageBoxes {
  public:
    SimMessageBoxes(SimCodePage& codePage, SimClock& clock, SimMessageLoop& loop);

    // The answer to the next box, given after the box has been open for
    // `openFor` ms.
    void Answer(int answer, std::uint64_t openFor = 0) { script.push_back({answer, openFor}); }
    const std::vector<SimMessageBox>& Shown() const { return shown; }
    void Clear() { shown.clear(); }

    // The seam.
    int MessageBoxW(StringView text, StringView caption, std::uint32_t flags) override;
    int MessageBoxA(std::string_view text, std::string_view caption, std::uint32_t flags) override;
    int AfxMessageBox(StringView text, std::uint32_t flags) override;

  private:
    int Show(bool ansi, bool framework, String text, String caption, std::uint32_t flags);

    struct Scripted {
        int answer;
        std::uint64_t openFor;
    };
    SimCodePage& codePage;
    SimClock& clock;
    SimMessageLoop& loop;
    std::deque<Scripted> script;
    std::vector<SimMessageBox> shown;
};

}  // namespace nimbrel
