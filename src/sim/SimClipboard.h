// The clipboard of the simulated desktop: formats in the order they were set,
// one process at a time holding it open, data in global memory that the
// clipboard owns. CF_TEXT and CF_UNICODETEXT stand in for each other (the
// missing one is made from the other on request, in the thread's code page,
// and listed after the formats set), as Windows synthesizes them.
//
// The program uses it through the seam; Outlook Express and other programs
// through the scenario operations, which fail, as their OpenClipboard would,
// while another process has it open.
//
// As documented for Windows, EmptyClipboard makes the window the clipboard
// was opened for its owner, and SetClipboardData refuses data while the
// owner is no window (opened for none, then emptied) and blocks not
// allocated moveable. Another program that empties the clipboard while a
// window of the program owns it sends that window WM_DESTROYCLIPBOARD and
// waits, the clipboard open, until the program answers (SetProgramMessages).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clipboard.h"
#include "sim/SimAtoms.h"
#include "sim/SimClock.h"
#include "sim/SimCodePage.h"
#include "sim/SimFaults.h"
#include "sim/SimGlobalMemory.h"
#include "sim/SimProcess.h"

namespace nimbrel {

class SimClipboard : public Clipboard {
  public:
    SimClipboard(SimGlobalMemory& memory, SimAtoms& atoms, SimCodePage& codePage, SimClock& clock,
                 SimFaults& faults);

    // Another process opens the clipboard and keeps it open (false when
    // someone else has it open), and lets it go again, at once or after
    // `milliseconds` on the clock.
    bool HoldOpen(SimProcess process);
    void Close(SimProcess process);
    bool HoldOpenFor(SimProcess process, std::uint64_t milliseconds);
    std::optional<SimProcess> OpenedBy() const { return openedBy; }

    // How the program answers messages other processes send to its windows
    // (SimMessageLoop::SendFromOtherProcess); unset, at once.
    void SetProgramMessages(std::function<void(std::function<void()>)> send) {
        sendToProgram = std::move(send);
    }

    // Another process replaces the contents with these formats and their raw
    // bytes (open, empty, set each, close); while the program owns the
    // clipboard the rest waits, the clipboard open, for the program's
    // answer. False when it cannot open it.
    bool Put(SimProcess process, const std::vector<std::pair<std::uint32_t, std::string>>& data);
    // Put of CF_TEXT: `text` in the code page with a terminating NUL.
    bool PutText(SimProcess process, StringView text);
    // Put of CF_UNICODETEXT, as a program of today copies text.
    bool PutUnicodeText(SimProcess process, StringView text);
    // CF_UNICODETEXT's bytes for `text`: its units, little-endian, and a NUL.
    static std::string UnicodeTextBytes(StringView text);
    // What another process pasting text gets: CF_UNICODETEXT (or CF_TEXT
    // converted) up to its NUL; nullopt when it cannot open the clipboard or
    // there is no text.
    std::optional<String> ReadTextAs(SimProcess process);

    // Inspection without opening: the formats as EnumClipboardFormats lists
    // them, the raw bytes of one, CF_TEXT converted up to its NUL.
    std::vector<std::uint32_t> Formats() const;
    std::optional<std::string> Data(std::uint32_t format) const;
    std::optional<String> Text() const;
    // How often the program called OpenClipboard.
    int OpenAttempts() const { return openAttempts; }
    // The owner: the window EmptyClipboard made it (another program's
    // stands for a window of its own), kNoWindow for none.
    WindowHandle Owner() const { return owner; }
    // The next SetClipboardData of the program fails.
    void FailNextSetData() { failSetData = true; }
    // Runs `then` the moment the program closes the clipboard for the
    // `count`th time from now (another program that takes it as soon as the
    // program lets go).
    void AfterProgramCloses(int count, std::function<void()> then);

    // The seam.
    bool OpenClipboard(WindowHandle newOwner) override;
    bool CloseClipboard() override;
    bool EmptyClipboard() override;
    MemoryHandle GetClipboardData(std::uint32_t format) override;
    MemoryHandle SetClipboardData(std::uint32_t format, MemoryHandle data) override;
    bool IsClipboardFormatAvailable(std::uint32_t format) override;
    std::uint32_t EnumClipboardFormats(std::uint32_t format) override;
    std::uint32_t RegisterClipboardFormatW(const char16_t* name) override;
    int GetClipboardFormatNameW(std::uint32_t format, char16_t* buffer, int maxCount) override;

  private:
    struct Entry {
        std::uint32_t format;
        MemoryHandle data;
    };
    bool OpenAs(SimProcess process);
    void Empty();
    void Set(std::uint32_t format, MemoryHandle data);
    const Entry* FindEntry(std::uint32_t format) const;
    std::optional<std::uint32_t> SynthesisSource(std::uint32_t format) const;
    std::optional<std::string> Synthesize(std::uint32_t format) const;

    SimGlobalMemory& memory;
    SimAtoms& atoms;
    SimCodePage& codePage;
    SimClock& clock;
    SimFaults& faults;
    std::vector<Entry> entries;  // in the order set
    std::optional<SimProcess> openedBy;
    WindowHandle openedFor = kNoWindow;  // by the program
    WindowHandle owner = kNoWindow;
    int openAttempts = 0;
    bool failSetData = false;
    int closesToGo = 0;
    std::function<void()> afterCloses;
    std::function<void(std::function<void()>)> sendToProgram;
};

}  // namespace nimbrel
