// Reply reformat of realistic replies of 1 MB and 10 MB: a user's area with a
// signature, the client's header block, and a long quoted thread (paragraphs
// of quoted text at two levels, some lines too long for the wrap column,
// lines the client broke, a quoted signature). Reports MB/s of input (one
// character of this ASCII text is one byte of the UTF-8 file).
#include <benchmark/benchmark.h>

#include <string>

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

void BM_ReplyReformat(benchmark::State& state) {
    signaturesLoaded = 1;
    const String reply = RealisticReply(static_cast<std::size_t>(state.range(0)) << 20);
    const Settings options = Settings::Defaults();
    for (auto _ : state) {
        String text = reply;
        std::int32_t caretCount = 0;
        ReplyFormatter formatter(options);
        benchmark::DoNotOptimize(formatter.Reformat(text, caretCount));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reply.size()));
}

BENCHMARK(BM_ReplyReformat)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
