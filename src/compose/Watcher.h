// The watcher: the program's round, run by timer 1 of the main dialog every
// `checkInterval` ms. Each tick finds Outlook Express's note windows
// ("ATH_NOTE"), hands every new or first-retitled compose window to
// ProcessComposeWindow and every other new note window to Colorize, adds a
// status row for each window it handled, and then offers the preview pane's
// document to Colorize when it has changed. It also ends the program when
// Outlook Express has gone and `dependOnOE` is set.
#pragma once

#include <cstdint>

#include "coloring/CMessageColorer.h"
#include "compose/ComposeProcessor.h"
#include "compose/TrackingTable.h"
#include "compose/WatchHost.h"
#include "platform/MessageLoop.h"
#include "platform/WindowSystem.h"
#include "shell/Text.h"

namespace nimbrel {

constexpr const char16_t* kNoteWindowClass = u"ATH_NOTE";
constexpr const char16_t* kPreviewPaneClass = u"Outlook Express Message View";
// How long the watcher waits for Outlook Express to come back before it ends
// the program.
constexpr std::uint32_t kSecondLookDelay = 500;

// Status texts.
constexpr const char16_t* kStatusIgnoredAlt = u"ignored (Alt)";
constexpr const char16_t* kStatusColored = u"processed (c)";

// The status text for a result of ProcessComposeWindow, nullptr for none
// (-1, or a code it never gives):
//   0 "processed (q)", 1 "skipped (quoted)", 2 "put error", 3 "get error",
//   4 "processed (q-qp)", 6 "skipped (HTML)", 7 "processed (sig)".
const char16_t* ComposeStatusText(ComposeResult result);

// The text of the latency error box for the status "get error" or "put
// error".
String LatencyErrorText(StringView status);

// FindWindowW of the class "Outlook Express Browser Class", else of
// "Outlook Express NewsStore"; kNoWindow when Outlook Express is not running.
WindowHandle FindOEMainWindow(WindowSystem& windows);

// A compose window (reply or new message) has a direct child "OE_Envelope"
// with a direct child "ComboBox"; a message opened for reading has not.
bool IsComposeWindow(WindowSystem& windows, WindowHandle window);

// One tick, on `watcher`'s state (its flags and document access objects),
// with the settings record, reporting to `host`:
// 1. With neither an Outlook Express main window nor any note window: with
//    `dependOnOE` the watcher looks again 500 ms later and, when the main
//    window is still missing, calls app.EndProgram(). The tick ends.
// 2. While `suspended` or `busy` is set the tick ends here.
// 3. The Alt rule, once for the tick: with `altFunction` 1 a window is left
//    alone when Alt is held, with 2 when it is not held, with other values
//    never.
// 4. `busy` is set until the tick ends; host.ReadControls().
// 5. The note windows are listed (one enumeration, top first), then each is
//    looked up in the tracking table and its title (at most 127 units) read.
//    A window without a title is left for a later tick. A window is handled
//    when it has no record, or when its title differs from the one of a
//    record that is not itself from a title change (that record is
//    dropped), or again when its record is from the colouring path (the
//    done mark keeps this cheap); never when its record says Alt left it
//    alone. Handling gives a status:
//    "ignored (Alt)" under the Alt rule; the compose status of
//    ProcessComposeWindow for a compose window (after the latency error box
//    for "get error" and "put error" with `displayWarnings`); "processed (c)"
//    when Colorize coloured a message window's document (only with one of
//    the colouring options). A window with a status gets a status row and a
//    record; one without stays untracked and is tried again next tick.
// 6. Records of windows not found in this tick are erased (one pass).
// 7. Preview pane (with a colouring option on): its document window is
//    coloured unless it is the one coloured or left alone last time and
//    `continuousColoring` is off; under the Alt rule it is only remembered
//    and, with `continuousColoring`, given the done mark so that it stays as
//    it is.
void RunWatchTick(CMessageColorer& watcher, WatchHost& host);

// The watcher the timer runs on: the main dialog's colorer and the dialog.
// Start-up sets it before the dialog starts its timer and clears it (nullptr)
// before the dialog goes; while it is unset a tick does nothing.
void SetWatchTimerTarget(CMessageColorer* watcher, WatchHost* host);

// The timer callback (timer 1 of the main dialog): ignores its arguments and
// runs RunWatchTick on the target.
void WatchTimerProc(WindowHandle window, std::uint32_t message, std::uintptr_t timerId,
                    std::uint32_t time);

// Process-wide, for the whole run: the tracking table, the preview pane's
// document window last handed to Colorize, and the one last left alone under
// the Alt rule (kNoWindow at first; overwritten, never reset).
extern TrackingTable trackedWindows;
extern WindowHandle lastColoredView;
extern WindowHandle lastAltView;

// Forgets the tracking table, both preview pane windows and the timer's
// target (for tests and tools).
void ResetWatcherState();

}  // namespace nimbrel
