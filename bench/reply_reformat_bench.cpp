// Reply reformat of realistic replies of 1 MB and 10 MB: a user's area with a
// signature, the client's header block, and a long quoted thread (paragraphs
// of quoted text at two levels, some lines too long for the wrap column,
// lines the client broke, a quoted signature). Reports MB/s of input (one
// character of this ASCII text is one byte of the UTF-8 file).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>

#include "Caches.h"
#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "shell/Settings.h"

namespace {

using namespace nimbrel;

String RealisticReply(std::size_t bytes) {
    static const char16_t* const kSentences[] = {
        u"I have moved the meeting to Thursday at ten, since the room is booked all afternoon.",
        u"Could you bring the figures for the second quarter?",
        u"Peter says the travel budget was counted twice in the last version of the table,",
        u"so please check it before you print anything.",
        u"The new release is ready for testing on the staging server.",
        u"Mention any problems in the tracker, not by mail, so that nothing gets lost.",
    };
    String text =
        u"\r\n\r\n-- \r\nBob Smith\r\n\r\n----- Original Message ----- \r\n"
        u"From: \"Jane Doe\" <jane@example.com>\r\nTo: \"Bob Smith\" <bob@example.org>\r\n"
        u"Sent: Tuesday, March 04, 2003 2:05 PM\r\nSubject: Re: plans\r\n\r\n";
    std::size_t sentence = 0;
    std::size_t paragraph = 0;
    while (text.size() < bytes) {
        const String prefix = paragraph % 3 == 2 ? u"> > " : u"> ";
        String line = prefix;
        for (int i = 0; i < 8; ++i) {
            const String words = kSentences[sentence++ % 6];
            // Mostly wrapped at 76 by the client; every fifth paragraph unwrapped.
            if (paragraph % 5 != 4 && line.size() + words.size() > 76) {
                text += line + u"\r\n";
                line = prefix;
            }
            line += words + u" ";
        }
        text += line + u"\r\n";
        if (paragraph % 7 == 6) text += u"> broken\r\n";  // a tail the client broke off
        text += u">\r\n";
        ++paragraph;
    }
    text += u"> -- \r\n> Jane Doe\r\n> Example Ltd.";
    return text;
}

// Times the whole reformat of `reply` with the default settings. The copy
// of the reply is not part of the work: the program hands over its own text.
void TimeReformat(benchmark::State& state, const String& reply) {
    const Settings options = Settings::Defaults();
    for (auto _ : state) {
        state.PauseTiming();
        String text = reply;
        EvictCaches();
        state.ResumeTiming();
        std::int32_t caretCount = 0;
        ReplyFormatter formatter(options);
        benchmark::DoNotOptimize(formatter.Reformat(text, caretCount));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reply.size()));
}

void BM_ReplyReformat(benchmark::State& state) {
    signaturesLoaded = 1;
    const String reply = RealisticReply(static_cast<std::size_t>(state.range(0)) << 20);
    TimeReformat(state, reply);
}

// The reply's stages on their own: splitting and analysis, the repair of
// broken quotes, and rendering.
void BM_ReplyStages(benchmark::State& state, int stage) {
    const String reply = RealisticReply(static_cast<std::size_t>(state.range(0)) << 20);
    const Settings options = Settings::Defaults();
    QuoteFormatter prepared(options.wrapColumn, options.quoteChar, options.compressedIndentation,
                            options.standardizedIndentation);
    prepared.SplitLines(reply);
    prepared.AnalyzeLines(0, -1, -1);
    // The repair's copy of the lines is made, and the last one freed, with
    // the clock stopped: freeing 10 MB of lines costs more than repairing them.
    // The copied lines refer to the texts of `prepared`.
    std::optional<QuoteFormatter> repaired;
    std::optional<QuoteFormatter> split;
    for (auto _ : state) {
        if (stage == 0) {
            // As for the repair: the lines of the last run are freed, and the
            // reply leaves the caches, with the clock stopped.
            state.PauseTiming();
            split.reset();
            split.emplace(options.wrapColumn, options.quoteChar, options.compressedIndentation,
                          options.standardizedIndentation);
            String text = reply;  // handed over, as the reformat does
            EvictCaches();
            state.ResumeTiming();
            split->SplitLines(std::move(text));
            split->AnalyzeLines(0, -1, -1);
            benchmark::DoNotOptimize(split->lines.begin());
        } else if (stage == 1) {
            state.PauseTiming();
            repaired.reset();
            repaired.emplace(options.wrapColumn, options.quoteChar, options.compressedIndentation,
                             options.standardizedIndentation);
            repaired->lines = prepared.lines;
            repaired->longestQuotedLine = prepared.longestQuotedLine;
            repaired->levelWidths = prepared.levelWidths;
            EvictCaches();
            state.ResumeTiming();
            repaired->RepairOEWrapping();
            benchmark::DoNotOptimize(repaired->lines.begin());
        } else {
            String out;
            prepared.Render(out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reply.size()));
}
void BM_ReplySplitAndAnalyze(benchmark::State& state) {
    BM_ReplyStages(state, 0);
}
void BM_ReplyRepair(benchmark::State& state) {
    BM_ReplyStages(state, 1);
}
void BM_ReplyRender(benchmark::State& state) {
    BM_ReplyStages(state, 2);
}

// A reply whose quote is 512 Ki characters per unit of one unbroken line and
// of one unwrapped paragraph, and 10,000 lines per unit of nested quotes.
void BM_ReplyPathological(benchmark::State& state) {
    signaturesLoaded = 1;
    const auto scale = static_cast<std::size_t>(state.range(0));
    String reply =
        u"\r\n\r\n----- Original Message -----\r\nFrom: \"Jane Doe\" <jane@example.com>\r\n"
        u"To: <b@example.org>\r\nSent: Tuesday, March 04, 2003 2:05 PM\r\nSubject: x\r\n\r\n> ";
    reply += String(scale << 19, u'x');
    reply += u"\r\n> ";
    for (std::size_t i = 0; i < scale << 17; ++i)
        reply += u"word ";
    reply += u"\r\n";
    reply += String(scale * 10000, u'>') + u" deep\r\n";
    for (std::size_t i = 0; i < scale * 10000; ++i) {
        for (std::size_t l = 0; l <= i % 50; ++l)
            reply += u"> ";
        reply += u"line\r\n";
    }
    TimeReformat(state, reply);
}

BENCHMARK(BM_ReplyReformat)->Apply(AtOneAndTen);
BENCHMARK(BM_ReplySplitAndAnalyze)->Apply(AtOneAndTen);
BENCHMARK(BM_ReplyRepair)->Apply(AtOneAndTen);
BENCHMARK(BM_ReplyRender)->Apply(AtOneAndTen);
BENCHMARK(BM_ReplyPathological)->Apply(AtOneAndTen);

}  // namespace
