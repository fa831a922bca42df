// Property tests over real replies written by others (tests/data/corpus).
// Each message is wrapped into a reply as the mail client opens it (the
// user's area, the client's header block, the message quoted with "> " or
// left unquoted), reformatted with several settings and checked by the reply
// checker (fuzz/ReplyCheck.h): the words of the quote in their order and at
// their levels, the wrap column, and a second run that changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/ReplyCheck.h"
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
            std::string body = FromCrLf(ReadFileBytes(entry.path().string()));
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

const std::vector<String> kUserArea = {u"", u"",    u"Thanks, I will have a look at it tomorrow.",
                                       u"", u"-- ", u"Bob Smith"};
const std::vector<String> kHeaderBlock = {
    u"----- Original Message -----",        u"From: \"Corpus Sender\" <sender@example.com>",
    u"To: \"Bob Smith\" <bob@example.org>", u"Sent: Monday, June 02, 2003 9:41 AM",
    u"Subject: Re: your message",           u""};

enum class Quoting { kEveryLine, kLinesWithText, kNone };

struct Variant {
    const char* name;
    Quoting quoting;  // which lines of the message get "> "
    void (*adjust)(Settings&);
};

const Variant kVariants[] = {
    {"quoted, defaults", Quoting::kEveryLine, [](Settings&) {}},
    {"quoted, signature kept, not standardized", Quoting::kEveryLine,
     [](Settings& s) {
         s.stripQuotedSignature = 0;
         s.standardizedIndentation = 0;
         s.signatureToBottom = 0;
     }},
    {"quoted, template header, caret at the bottom, no repair", Quoting::kEveryLine,
     [](Settings& s) {
         s.emailHeader.style = 4;
         s.cursorAtTop = 0;
         s.fixExistingQuotes = 0;
         s.wrapColumn = 60;
     }},
    {"quoted but for the blank lines, not compressed", Quoting::kLinesWithText,
     [](Settings& s) { s.compressedIndentation = 0; }},
    {"unquoted, defaults", Quoting::kNone, [](Settings&) {}},
    {"unquoted, signature kept, not compressed", Quoting::kNone,
     [](Settings& s) {
         s.stripQuotedSignature = 0;
         s.compressedIndentation = 0;
         s.emailHeader.style = 2;
     }},
};

TEST(ReplyCorpus, WrappedRepliesKeepTheirQuote) {
    ResetSignatures();
    signaturesLoaded = 1;
    const std::vector<CorpusMessage> corpus = LoadCorpus();
    ASSERT_GT(corpus.size(), 100u);
    fuzz::ReplyParts parts{kUserArea, kHeaderBlock, {}};
    for (const CorpusMessage& message : corpus) {
        for (const Variant& variant : kVariants) {
            Settings options = Settings::Defaults();
            variant.adjust(options);
            parts.quote = fuzz::SplitAtLineFeeds(Utf16(message.body));
            for (String& line : parts.quote) {
                if (variant.quoting == Quoting::kEveryLine ||
                    (variant.quoting == Quoting::kLinesWithText && !line.empty())) {
                    line = u"> " + line;
                }
            }
            EXPECT_EQ(fuzz::ReplyChecker(options).Check(parts), "")
                << message.name << " (" << variant.name << ")";
        }
    }
    ResetSignatures();
}

}  // namespace
}  // namespace nimbrel
