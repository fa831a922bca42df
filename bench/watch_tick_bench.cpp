// One watcher tick when nothing is new: note windows already handled and a
// preview pane already coloured. With compose windows only the tick must stay
// cheap: one enumeration, a table lookup and a title read per window. A
// message window costs more: it is offered to the colouring at every tick,
// which connects to its document and stops at the done mark. The simulated
// desktop's own bookkeeping is part of the time.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "coloring/CHtmlDocAccess.h"
#include "coloring/CMessageColorer.h"
#include "compose/Watcher.h"
#include "shell/App.h"
#include "shell/Settings.h"
#include "sim/OeTestHost.h"
#include "sim/SimDesktop.h"

namespace nimbrel {
namespace {

class QuietHost : public WatchHost {
  public:
    void ReadControls() override {}
    void AddStatusLine(StringView, StringView) override { ++rows; }
    int rows = 0;
};

String Numbered(const char16_t* prefix, int i) {
    const std::string digits = std::to_string(i);
    return prefix + String(digits.begin(), digits.end());
}

void BM_WatchTickNothingNew(benchmark::State& state) {
    const int windows = static_cast<int>(state.range(0));
    const int messages = static_cast<int>(state.range(1));
    settings = Settings::Defaults();
    settings.displayWarnings = 0;  // no styles.css here
    CHtmlDocAccess::ResetProcessState();
    ResetWatcherState();

    SimDesktop desktop;
    OeTestHost oe(desktop);
    oe.Start();
    QuietHost host;
    app.mainDialog = &host;
    auto watcher = std::make_unique<CMessageColorer>(desktop.platform());
    for (int i = 0; i < windows; ++i) {
        OeNoteOptions options;
        options.title = Numbered(u"Re: message number ", i);
        if (i < messages) {
            oe.OpenMessage(u"Hello\r\n> quoted line\r\n", options);
        } else {
            oe.OpenReply(
                u"Hi,\r\n\r\n\"Jane\" <jane@example.com> wrote in message news:a@b...\r\n"
                u"> quoted line\r\n",
                options);
        }
    }
    oe.ShowInPreview(u"Shown\r\n> quoted\r\n");
    RunWatchTick(*watcher, host);
    if (host.rows != windows) state.SkipWithError("not every window was handled");

    for (auto _ : state)
        RunWatchTick(*watcher, host);

    if (host.rows != windows) state.SkipWithError("a tick handled a window again");
    state.counters["windows/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * windows, benchmark::Counter::kIsRate);
    watcher.reset();
    ResetWatcherState();
    app = App{};
}
BENCHMARK(BM_WatchTickNothingNew)
    ->ArgNames({"windows", "messages"})
    ->Args({50, 0})
    ->Args({200, 0})
    ->Args({50, 10});

}  // namespace
}  // namespace nimbrel
