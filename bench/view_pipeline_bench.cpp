// The view pipeline on realistic quoted mail: the e-mail corpus (without its
// pathological giant lines) and the example messages repeated to 1 MB and
// 10 MB (plain text, CR LF); and on real mail, giant lines included.
// Reports MB/s of message text for the whole pipeline and for its steps; the
// pathological inputs at two sizes, the second ten times the first. Every
// step must stay linear: the 10 MB time at most 11 times the 1 MB time.
//   build/release/bench/view_pipeline_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "Caches.h"
#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "coloring/Emoticons.h"
#include "coloring/TextToHtml.h"
#include "coloring/ViewPipeline.h"
#include "platform/MessageBoxes.h"
#include "reformat/ViewReformat.h"
#include "shell/Utf.h"

namespace {

using namespace nimbrel;
namespace fs = std::filesystem;

class NoMessageBoxes : public MessageBoxes {
  public:
    int MessageBoxW(StringView, StringView, std::uint32_t) override { return mb::kIdOk; }
    int MessageBoxA(std::string_view, std::string_view, std::uint32_t) override {
        return mb::kIdOk;
    }
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Messages one after the other, separated by an empty line, with CR LF. The
// corpus's two lines of tens and hundreds of thousands of '>' are left out
// unless `longLines`: with them one round of the corpus is some 780,000
// characters, so a text of 1 Mi characters holds one round and a piece of
// the next, and most of either text is those lines (real mail, as
// bench/compare-filters measures it).
String Mail(std::size_t bytes, bool longLines = false) {
    const std::size_t kLongestLine = longLines ? String::npos : 4096;
    std::vector<fs::path> files;
    for (const auto& dir : {fs::path(NIMBREL_TEST_DATA_DIR) / "corpus/email_reply_parser/emails",
                            fs::path(NIMBREL_DATA_DIR) / "examples"}) {
        for (const auto& entry : fs::directory_iterator(dir))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    String one;
    for (const fs::path& file : files) {
        const String message = AnsiToUtf16(ReadFile(file));
        for (std::size_t ls = 0; ls < message.size();) {
            const std::size_t lf = std::min(message.find(u'\n', ls), message.size());
            if (lf - ls <= kLongestLine) {
                for (std::size_t i = ls; i < lf; ++i) {
                    if (message[i] != u'\r') one += message[i];
                }
                one += u"\r\n";
            }
            ls = lf + 1;
        }
        one += u"\r\n";
    }
    // Real mail is counted in characters, as its file is in bytes.
    const std::size_t units = longLines ? bytes : bytes / 2;
    String text;
    while (text.size() < units)
        text += one;
    text.resize(units);
    return text;
}

struct Resources {
    NoMessageBoxes boxes;
    CStyleSheetInfo styleSheet{fs::path(NIMBREL_DATA_DIR), false, boxes};
    std::vector<EmoticonEntry> emoticons;
    String prefix = EmoticonImagePrefix(u"C:\\Program Files\\Nimbrel");
    Resources() { LoadEmoticonTable(NIMBREL_DATA_DIR, false, boxes, emoticons, AnsiToUtf16); }
};

// One timed colouring of `text`, which is handed over as the program hands
// over its own: the copy is made, and the caches emptied, with the clock
// stopped (on 1 MB the text would otherwise still be cached from the run
// before, on 10 MB not).
void TimeColoring(benchmark::State& state, const String& text, const Settings& options,
                  const ViewResources& view) {
    state.PauseTiming();
    String copy = text;
    EvictCaches();
    state.ResumeTiming();
    benchmark::DoNotOptimize(ColorMessageText(std::move(copy), options, view));
}

void WholePipeline(benchmark::State& state) {
    static const Resources resources;
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    const ViewResources view{resources.styleSheet, resources.emoticons, resources.prefix};
    const Settings options = Settings::Defaults();
    for (auto _ : state)
        TimeColoring(state, text, options, view);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void RealMail(benchmark::State& state) {
    static const Resources resources;
    const String text = Mail(static_cast<std::size_t>(state.range(0)), true);
    const ViewResources view{resources.styleSheet, resources.emoticons, resources.prefix};
    const Settings options = Settings::Defaults();
    for (auto _ : state)
        TimeColoring(state, text, options, view);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void ViewReformatOnly(benchmark::State& state) {
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    const Settings options = Settings::Defaults();
    String copy;
    for (auto _ : state) {
        state.PauseTiming();
        copy = text;
        EvictCaches();
        state.ResumeTiming();
        ViewReformat(options, copy);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void TextToHtmlOnly(benchmark::State& state) {
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        benchmark::DoNotOptimize(TextToHtml(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// The first part of TextToHtml alone: escaping and the scheme addresses,
// over the whole text (the rest of the conversion goes line by line).
void SchemeLinksOnly(benchmark::State& state) {
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        benchmark::DoNotOptimize(EscapeAndLinkSchemes(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void MarkupOnly(benchmark::State& state) {
    static const Resources resources;
    const String html = TextToHtml(Mail(static_cast<std::size_t>(state.range(0))));
    const Settings options = Settings::Defaults();
    String copy;
    for (auto _ : state) {
        state.PauseTiming();
        copy = html;
        EvictCaches();
        state.ResumeTiming();
        resources.styleSheet.MarkupLines(copy, false, options, resources.emoticons);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void EmoticonsOnly(benchmark::State& state) {
    static const Resources resources;
    const String html = TextToHtml(Mail(static_cast<std::size_t>(state.range(0))));
    String copy;
    for (auto _ : state) {
        state.PauseTiming();
        copy = html;
        EvictCaches();
        state.ResumeTiming();
        ReplaceEmoticons(copy, resources.emoticons, resources.prefix);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// The pathological inputs at `scale` (1 or 10): a line without a break of
// 512 Ki characters per unit, 10,000 lines of links, 10,000 lines of
// emoticons and font-style markers, 10,000 lines of nested quote markers and
// a line of 10,000 '>' per unit.
String Pathological(int kind, std::int64_t scale) {
    const auto count = static_cast<std::size_t>(scale) * 10000;
    String text;
    switch (kind) {
        case 0:
            text = u"> " + String(static_cast<std::size_t>(scale) << 19, u'x');
            break;
        case 1:
            for (std::size_t i = 0; i < count; ++i)
                text += u"http://a.example/p?q=1 www.b.example jo@c.example news:<1@x.y>\r\n";
            break;
        case 2:
            for (std::size_t i = 0; i < count; ++i)
                text += u"hi :-) *bold* /it/ _u_ ;) :-D *smile* 8-)\r\n";
            break;
        default:
            text = String(count, u'>') + u" deep\r\n";
            for (std::size_t i = 0; i < count; ++i) {
                for (std::size_t l = 0; l <= i % 50; ++l)
                    text += u"> ";
                text += u"line\r\n";
            }
            break;
    }
    return text;
}

void PathologicalPipeline(benchmark::State& state, int kind) {
    static const Resources resources;
    const String text = Pathological(kind, state.range(0));
    const ViewResources view{resources.styleSheet, resources.emoticons, resources.prefix};
    const Settings options = Settings::Defaults();
    for (auto _ : state)
        TimeColoring(state, text, options, view);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void UnbrokenLine(benchmark::State& state) {
    PathologicalPipeline(state, 0);
}
void ManyLinks(benchmark::State& state) {
    PathologicalPipeline(state, 1);
}
void ManyEmoticonsAndStyles(benchmark::State& state) {
    PathologicalPipeline(state, 2);
}
void NestedQuoteMarkers(benchmark::State& state) {
    PathologicalPipeline(state, 3);
}

BENCHMARK(WholePipeline)->Apply(AtOneAndTenMegabytes);
BENCHMARK(RealMail)->Apply(AtOneAndTenMegabytes);
BENCHMARK(ViewReformatOnly)->Apply(AtOneAndTenMegabytes);
BENCHMARK(TextToHtmlOnly)->Apply(AtOneAndTenMegabytes);
BENCHMARK(SchemeLinksOnly)->Apply(AtOneAndTenMegabytes);
BENCHMARK(MarkupOnly)->Apply(AtOneAndTenMegabytes);
BENCHMARK(EmoticonsOnly)->Apply(AtOneAndTenMegabytes);
BENCHMARK(UnbrokenLine)->Apply(AtOneAndTen);
BENCHMARK(ManyLinks)->Apply(AtOneAndTen);
BENCHMARK(ManyEmoticonsAndStyles)->Apply(AtOneAndTen);
BENCHMARK(NestedQuoteMarkers)->Apply(AtOneAndTen);

}  // namespace
