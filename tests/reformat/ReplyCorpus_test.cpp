// Property tests over real replies written by others (tests/data/corpus).
// Each message is wrapped into a reply as the mail client opens it (the
// user's area, the client's header block, the message quoted with "> " or
// left unquoted) and reformatted with several settings. Checked: the result
// code, that no word of the quoted message is lost (except a stripped quoted
// signature), and that a second run finds nothing to do.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "reformat/ReplyFormatter.h"
#include "reformat/Signatures.h"
#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

struct CorpusMessage {
    std::string name;
    std::string body;  // LF line breaks, no final line break
};

std::vector<CorpusMessage> LoadCorpus() {
    std::vector<CorpusMessage> messages;
    const std::filesystem::path root = std::filesystem::path(TestDataDir()) / "corpus";
    for (const char* project :
         {"email_reply_parser", "crisp-email-reply-parser", "talon-standard-replies"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / project)) {
            const std::string file = entry.path().filename().string();
            if (!entry.is_regular_file() || file == "LICENSE" || file == "SOURCE.md") continue;
            std::string bytes = ReadFileBytes(entry.path().string());
            std::string body;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
                body += bytes[i];
            }
            if (entry.path().extension() == ".eml") {
                const std::size_t blank = body.find("\n\n");
                body = blank == std::string::npos ? std::string() : body.substr(blank + 2);
            }
            while (!body.empty() && body.back() == '\n')
                body.pop_back();
            messages.push_back({std::string(project) + "/" + file, body});
        }
    }
    return messages;
}

std::vector<std::string> SplitLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t lf = text.find('\n', start);
        lines.push_back(
            text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) return lines;
        start = lf + 1;
    }
}

std::string TrimRight(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

using WordCount = std::map<String, int>;

void CountWords(StringView text, WordCount& words, int weight = 1) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!QuoteFormatter::IsWordChar(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && QuoteFormatter::IsWordChar(text[end]))
            ++end;
        words[String(text.substr(i, end - i))] += weight;
        i = end;
    }
}

const std::string kUserArea = "\n\nThanks, I will have a look at it tomorrow.\n\n-- \nBob Smith\n";
const std::string kHeaderBlock =
    "----- Original Message -----\n"
    "From: \"Corpus Sender\" <sender@example.com>\n"
    "To: \"Bob Smith\" <bob@example.org>\n"
    "Sent: Monday, June 02, 2003 9:41 AM\n"
    "Subject: Re: your message\n"
    "\n";

struct Variant {
    const char* name;
    bool quoted;
    void (*adjust)(Settings&);
};

const Variant kVariants[] = {
    {"quoted, defaults", true, [](Settings&) {}},
    {"quoted, signature kept, not standardized", true,
     [](Settings& s) {
         s.stripQuotedSignature = 0;
         s.standardizedIndentation = 0;
         s.signatureToBottom = 0;
     }},
    {"quoted, template header, caret at the bottom, no repair", true,
     [](Settings& s) {
         s.emailHeader.style = 4;
         s.cursorAtTop = 0;
         s.fixExistingQuotes = 0;
         s.wrapColumn = 60;
     }},
    {"unquoted, defaults", false, [](Settings&) {}},
    {"unquoted, signature kept, not compressed", false,
     [](Settings& s) {
         s.stripQuotedSignature = 0;
         s.compressedIndentation = 0;
         s.emailHeader.style = 2;
     }},
};

TEST(ReplyCorpus, WrappedRepliesKeepEveryWordAndSettle) {
    ResetSignatures();
    signaturesLoaded = 1;
    const std::vector<CorpusMessage> corpus = LoadCorpus();
    ASSERT_GT(corpus.size(), 100u);
    const QuoteFormatter scanner(72, u'>', 1, 1);

    for (const CorpusMessage& message : corpus) {
        for (const Variant& variant : kVariants) {
            SCOPED_TRACE(message.name + " (" + variant.name + ")");
            Settings options = Settings::Defaults();
            variant.adjust(options);

            std::vector<std::string> quote = SplitLf(message.body);
            if (variant.quoted) {
                for (std::string& line : quote)
                    line = "> " + line;
            }
            std::string reply = kUserArea + kHeaderBlock;
            for (std::size_t i = 0; i < quote.size(); ++i)
                reply += (i ? "\n" : "") + quote[i];

            // The words the quote must keep; a quoted signature (from the last
            // separator line on) may go when it is stripped.
            bool addLevel = false;
            for (const std::string& line : quote) {
                const std::string trimmed = TrimRight(line);
                addLevel = addLevel || trimmed.empty() || trimmed[0] != '>';
            }
            const std::string separator = addLevel ? "--" : "> --";
            WordCount kept;
            WordCount mayGo;
            bool inSignature = false;
            for (std::size_t i = 0; i < quote.size(); ++i) {
                const String line = Utf16(quote[i]);
                std::int32_t level = 0;
                std::int32_t end = 0;
                scanner.GetQuoteLevel(line, level, end);
                if (TrimRight(quote[i]) == separator) {
                    bool last = true;
                    for (std::size_t j = i + 1; j < quote.size() && last; ++j)
                        last = TrimRight(quote[j]) != separator;
                    inSignature = inSignature || (last && options.stripQuotedSignature);
                }
                CountWords(StringView(line).substr(static_cast<std::size_t>(end)),
                           inSignature ? mayGo : kept);
            }

            String text = Utf16(ToCrLf(reply));
            std::int32_t caretCount = -1;
            const std::int32_t result = ReplyFormatter(options).Reformat(text, caretCount);
            ASSERT_TRUE(result == 0 || result == 4) << result;
            EXPECT_EQ(result == 4, addLevel);
            EXPECT_GE(caretCount, 0);

            WordCount written;
            CountWords(text, written);
            for (const auto& [word, count] : kept) {
                const int missing = count - written[word];
                if (missing > 0) {
                    ASSERT_LE(missing, mayGo[word]) << "lost word '" << Utf8(word) << "'";
                }
            }

            String again = Utf16(ToCrLf(Utf8(text)));
            const String before = again;
            std::int32_t againCaret = 0;
            EXPECT_EQ(ReplyFormatter(options).Reformat(again, againCaret), 1);
            EXPECT_EQ(again, before);
        }
    }
    ResetSignatures();
}

}  // namespace
}  // namespace nimbrel
