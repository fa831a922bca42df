// The view reformat on realistic quoted mail: several levels, mixed prefix
// styles, tails broken onto a lower level, lists and long paragraphs.
// Bytes processed count the message's characters (one byte each as ASCII).
#include <benchmark/benchmark.h>

#include "Caches.h"
#include "reformat/ViewReformat.h"
#include "shell/Settings.h"

namespace nimbrel {
namespace {

constexpr const char16_t* kMessage =
    u"Hi Anna,\r\n"
    u"\r\n"
    u"Anna Schmidt wrote:\r\n"
    u"> Peter Novak wrote:\r\n"
    u"> > Has anyone tried the new build on Windows 98? It crashes at start-up\r\n"
    u"> for me.\r\n"
    u"> > I get the error right after the splash screen, and the log file\r\n"
    u"> > stays empty.\r\n"
    u"> \r\n"
    u"> It works here, but only after installing the layer for Unicode. You need the version from "
    u"the download page, the one on the CD is too old.\r\n"
    u"> |: Old mailing list text with bars and colons.\r\n"
    u"AS> Initials of the writer, from another client.\r\n"
    u"> >> Mixed spacing here, as some clients write it.\r\n"
    u"> > > The backup job copies every file of the project share to the\r\n"
    u"> tape\r\n"
    u"> > drive each night,\r\n"
    u"> > > and it takes about four hours to finish.\r\n"
    u"> \r\n"
    u"> 1. Opened the rules dialog from the Tools menu and created a new rule for the folder.\r\n"
    u"> 2. Chose \"Where the From line contains people\" and entered the address.\r\n"
    u"> - It works for POP accounts.\r\n"
    u"> - It does not work for IMAP accounts, see "
    u"http://example.org/support/logs/2004/03/imap-filter-rules.txt\r\n"
    u"\r\n"
    u"Thanks, that fixed it :-)\r\n"
    u"\r\n";

// One timed view reformat of a copy of `input`; the copy is made, and the
// caches emptied, with the clock stopped.
void TimeReformat(benchmark::State& state, const String& input, const Settings& options) {
    state.PauseTiming();
    String text = input;
    EvictCaches();
    state.ResumeTiming();
    ViewReformat(options, text);
    benchmark::DoNotOptimize(text.data());
}

String MakeText(std::size_t size) {
    String text;
    text.reserve(size + 2048);
    while (text.size() < size)
        text += kMessage;
    return text;
}

void Run(benchmark::State& state, bool wrap) {
    const String input = MakeText(static_cast<std::size_t>(state.range(0)));
    Settings options = Settings::Defaults();
    if (wrap) {
        options.reformatArbitraryLength = 0;
        options.wrapColumn = 72;
    }
    for (auto _ : state)
        TimeReformat(state, input, options);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.size()));
}

void BM_ViewReformat(benchmark::State& state) {
    Run(state, false);
}
void BM_ViewReformatWrap72(benchmark::State& state) {
    Run(state, true);
}

// One unwrapped quoted paragraph of short words: the carried text is broken
// again at every output line, which must not copy the rest each time.
void BM_ViewReformatOneParagraph(benchmark::State& state) {
    String input = u"> ";
    while (input.size() < static_cast<std::size_t>(state.range(0)))
        input += u"word ";
    Settings options = Settings::Defaults();
    options.reformatArbitraryLength = 0;
    for (auto _ : state)
        TimeReformat(state, input, options);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.size()));
}

BENCHMARK(BM_ViewReformat)->Apply(AtOneAndTenMegabytes);
BENCHMARK(BM_ViewReformatWrap72)->Apply(AtOneAndTenMegabytes);
BENCHMARK(BM_ViewReformatOneParagraph)->Apply(AtOneAndTenMegabytes);

}  // namespace
}  // namespace nimbrel
