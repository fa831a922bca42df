// A scenario fixture for the watcher, the compose processing and the
// colouring driver: a simulated desktop with Outlook Express running, a
// temporary install directory that is the current directory (with a
// styles.css of four quote-level styles), fresh settings, three known
// signatures and a seeded generator, the watcher object, and a main dialog
// stand-in that records status rows. Every scenario ends with no fault noted
// by the simulation, no document reference held and no global memory leaked.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "coloring/CMessageColorer.h"
#include "compose/WatchHost.h"
#include "sim/OeTestHost.h"
#include "sim/SimDesktop.h"
#include "support/TempDirectory.h"

namespace nimbrel {

// One row of the status list.
struct StatusRow {
    String title;
    String status;
    friend bool operator==(const StatusRow&, const StatusRow&) = default;
    friend void PrintTo(const StatusRow& row, std::ostream* out);
};

// The main dialog as the watcher sees it. Rows are kept in the order added
// (the real list shows the newest first).
class RecordingHost : public WatchHost {
  public:
    void ReadControls() override { ++controlReads; }
    void AddStatusLine(StringView windowTitle, StringView status) override {
        rows.push_back({String(windowTitle), String(status)});
    }

    std::vector<StatusRow> rows;
    int controlReads = 0;
};

// Texts of Outlook Express and what the program makes of them.
extern const String kEmailReply;        // an e-mail reply with OE's quote header
extern const String kEmailReplyDone;    // the same after processing (CR LF)
extern const String kNewsReply;         // a news reply
extern const String kNewMessageMarker;  // a new message whose signature has the marker
extern const String kNewMessageSigned;  // with the first signature in its place
extern const String kPlainMessage;      // a viewed message with a quote and a link

// Note window options with this title.
OeNoteOptions Titled(StringView title);

class WatchScenario : public ::testing::Test {
  protected:
    WatchScenario();
    ~WatchScenario() override;

    // One tick of the watcher, as the timer runs it.
    void Tick();
    // Starts the timer as the main dialog does (period checkInterval) and
    // lets `milliseconds` pass with the message loop running.
    void RunTimerFor(std::uint64_t milliseconds);

    // The statuses of the rows added since the start.
    std::vector<String> Statuses() const;

    TempDirectory directory;
    SimDesktop desktop;
    OeTestHost oe{desktop};
    RecordingHost host;
    std::unique_ptr<CMessageColorer> watcher;
};

}  // namespace nimbrel
