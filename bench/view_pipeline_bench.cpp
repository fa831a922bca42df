// The view pipeline on realistic quoted mail: the e-mail corpus (without its
// pathological giant line) and the example messages repeated to 1 MB and 10 MB (plain text, CR LF).
// Reports MB/s of message text for the whole pipeline and for its steps.
//   build/release/bench/view_pipeline_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "coloring/CStyleSheetInfo.h"
#include "coloring/EmoticonTable.h"
#include "coloring/Emoticons.h"
#include "coloring/TextToHtml.h"
#include "coloring/ViewPipeline.h"
#include "platform/MessageBoxes.h"
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

// Messages one after the other, separated by an empty line, with CR LF.
String Mail(std::size_t bytes) {
    std::vector<fs::path> files;
    for (const auto& dir : {fs::path(NIMBREL_TEST_DATA_DIR) / "corpus/email_reply_parser/emails",
                            fs::path(NIMBREL_DATA_DIR) / "examples"}) {
        for (const auto& entry : fs::directory_iterator(dir))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    String one;
    for (const fs::path& file : files) {
        for (char16_t c : AnsiToUtf16(ReadFile(file))) {
            if (c == u'\n') one += u'\r';
            if (c != u'\r') one += c;
        }
        one += u"\r\n\r\n";
    }
    String text;
    while (text.size() * 2 < bytes)
        text += one;
    text.resize(bytes / 2);
    return text;
}

struct Resources {
    NoMessageBoxes boxes;
    CStyleSheetInfo styleSheet{fs::path(NIMBREL_DATA_DIR), false, boxes};
    std::vector<EmoticonEntry> emoticons;
    String prefix = EmoticonImagePrefix(u"C:\\Program Files\\Nimbrel");
    Resources() { LoadEmoticonTable(NIMBREL_DATA_DIR, false, boxes, emoticons); }
};

void WholePipeline(benchmark::State& state) {
    static const Resources resources;
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    const ViewResources view{resources.styleSheet, resources.emoticons, resources.prefix};
    const Settings options = Settings::Defaults();
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorMessageText(text, options, view));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void TextToHtmlOnly(benchmark::State& state) {
    const String text = Mail(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToHtml(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void MarkupOnly(benchmark::State& state) {
    static const Resources resources;
    const String html = TextToHtml(Mail(static_cast<std::size_t>(state.range(0))));
    const Settings options = Settings::Defaults();
    for (auto _ : state) {
        String copy = html;
        resources.styleSheet.MarkupLines(copy, false, options, resources.emoticons);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void EmoticonsOnly(benchmark::State& state) {
    static const Resources resources;
    const String html = TextToHtml(Mail(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        String copy = html;
        ReplaceEmoticons(copy, resources.emoticons, resources.prefix);
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

constexpr std::int64_t kOneMB = 1 << 20;

BENCHMARK(WholePipeline)->Arg(kOneMB)->Arg(10 * kOneMB)->Unit(benchmark::kMillisecond);
BENCHMARK(TextToHtmlOnly)->Arg(kOneMB)->Arg(10 * kOneMB)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkupOnly)->Arg(kOneMB)->Arg(10 * kOneMB)->Unit(benchmark::kMillisecond);
BENCHMARK(EmoticonsOnly)->Arg(kOneMB)->Arg(10 * kOneMB)->Unit(benchmark::kMillisecond);

}  // namespace
