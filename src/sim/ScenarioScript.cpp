#include "sim/ScenarioScript.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "shell/SettingsFields.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

using Kind = ScenarioStep::Kind;

// A reply far longer than any the client holds; the bound keeps a typing
// slip from asking for more memory than there is.
constexpr std::uint64_t kMaxGeneratedLength = 64'000'000;

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a line into words; false on an unterminated quote.
bool SplitWords(std::string_view line, std::vector<Word>& words) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Word word;
        if (line[i] == '"') {
            word.quoted = true;
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] == '"') break;
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char c = line[++i];
                    word.text += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
                } else {
                    word.text += line[i];
                }
            }
            ++i;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word.text += line[i++];
        }
        words.push_back(std::move(word));
    }
    return true;
}

bool ParseNumber(std::string_view text, std::uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

class Parser {
  public:
    Parser(std::filesystem::path folder_, std::string& error_, Settings& settings_,
           std::string& signatures_, bool& firstRun_, std::string& codePage_,
           std::vector<ScenarioStep>& steps_)
        : folder(std::move(folder_)),
          error(error_),
          settings(settings_),
          signatures(signatures_),
          firstRun(firstRun_),
          codePage(codePage_),
          steps(steps_) {}

    void Run(std::string_view source) {
        std::vector<std::string> lines;
        std::istringstream in{std::string(source)};
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        for (std::size_t i = 0; i < lines.size() && error.empty(); ++i) {
            lineNumber = static_cast<int>(i + 1);
            const std::size_t first = lines[i].find_first_not_of(" \t");
            if (first == std::string::npos || lines[i][first] == '#') continue;
            std::vector<Word> words;
            if (!SplitWords(lines[i], words)) {
                Fail("unterminated quote");
                break;
            }
            if (words.empty() || (!words[0].quoted && words[0].text[0] == '#')) continue;
            ScenarioStep step;
            step.line = lineNumber;
            if (!Line(words, step)) continue;
            if (step.kind == Kind::kExpectRows) {
                // The rows follow as indented lines.
                while (i + 1 < lines.size() && !lines[i + 1].empty() &&
                       (lines[i + 1][0] == ' ' || lines[i + 1][0] == '\t')) {
                    lineNumber = static_cast<int>(++i + 1);
                    std::vector<Word> row;
                    if (!SplitWords(lines[i], row) || row.size() != 2) {
                        Fail("a row is \"TITLE\" \"STATUS\"");
                        break;
                    }
                    step.rows.emplace_back(Text(row[0].text), Text(row[1].text));
                }
            }
            steps.push_back(std::move(step));
        }
    }

  private:
    void Fail(const std::string& what) {
        if (error.empty()) error = "line " + std::to_string(lineNumber) + ": " + what;
    }

    String Text(const std::string& utf8) {
        String out;
        std::size_t offset = 0;
        if (!Utf8ToUtf16(utf8, out, offset)) Fail("not UTF-8");
        return out;
    }

    bool Body(const std::string& word, String& body) {
        std::uint64_t size = 0;
        bodySource = word;
        if (word.rfind("generated:", 0) == 0) {
            if (!ParseNumber(std::string_view(word).substr(10), size) ||
                size > kMaxGeneratedLength) {
                Fail("generated:N needs a number of at most " +
                     std::to_string(kMaxGeneratedLength));
                return false;
            }
            body = ScenarioScript::GeneratedReply(static_cast<std::size_t>(size));
            return true;
        }
        std::ifstream file(folder / word, std::ios::binary);
        if (!file) {
            Fail("cannot read '" + (folder / word).string() + "'");
            return false;
        }
        std::ostringstream content;
        content << file.rdbuf();
        body = ScenarioScript::AsMessage(Text(content.str()));
        return true;
    }

    bool Number(const std::vector<Word>& words, std::size_t index, std::uint64_t& value) {
        if (index >= words.size() || !ParseNumber(words[index].text, value)) {
            Fail("'" + words[0].text + "' needs a number of milliseconds");
            return false;
        }
        return true;
    }

    bool Need(const std::vector<Word>& words, std::size_t count, const char* usage) {
        if (words.size() < count) Fail(std::string("usage: ") + usage);
        return words.size() >= count;
    }

    bool NoteOptions(const std::vector<Word>& words, std::size_t from, ScenarioStep& step) {
        for (std::size_t i = from; i < words.size(); ++i) {
            const std::string& option = words[i].text;
            std::uint64_t value = 0;
            if (option == "html") {
                step.html = true;
            } else if (option == "hung") {
                step.hung = true;
            } else if (option.rfind("title-after=", 0) == 0 &&
                       ParseNumber(std::string_view(option).substr(12), value)) {
                step.titleAfter = value;
            } else if (option.rfind("busy-after-read=", 0) == 0 &&
                       ParseNumber(std::string_view(option).substr(16), value)) {
                step.busyAfterRead = value;
            } else if (option.rfind("block-write=", 0) == 0 &&
                       ParseNumber(std::string_view(option).substr(12), value)) {
                step.writeDelay = value;
            } else if (option == "complete-after=never") {
                step.completeAfter.reset();
            } else if (option.rfind("complete-after=", 0) == 0 &&
                       ParseNumber(std::string_view(option).substr(15), value)) {
                step.completeAfter = value;
            } else {
                Fail("unknown option '" + option + "'");
                return false;
            }
        }
        return true;
    }

    // One line; false when it is not a step (a setting) or is faulty.
    bool Line(const std::vector<Word>& words, ScenarioStep& step) {
        const std::string& command = words[0].text;
        if (command == "set") {
            for (std::size_t i = 1; i < words.size(); ++i) {
                const std::string fault = ApplySettingsAssignment(settings, words[i].text);
                if (!fault.empty()) Fail(fault);
            }
            return false;
        }
        if (command == "first-run") {
            firstRun = true;
            return false;
        }
        if (command == "codepage") {
            if (words.size() != 2 || (words[1].text != ScenarioScript::kUtf8 &&
                                      words[1].text != ScenarioScript::kWindows1252))
                Fail("usage: codepage 1252|utf-8");
            else
                codePage = words[1].text;
            return false;
        }
        if (command == "signatures") {
            signatures.clear();
            for (std::size_t i = 1; i < words.size(); ++i)
                signatures += words[i].text + "\r\n";
            return false;
        }
        if (command == "reply" || command == "message") {
            if (!Need(words, 4, "reply|message ID \"TITLE\" BODY [OPTION...]")) return false;
            step.kind = command == "reply" ? Kind::kReply : Kind::kMessage;
            step.id = words[1].text;
            step.title = Text(words[2].text);
            const bool read = Body(words[3].text, step.text);
            step.source = bodySource;
            return read && NoteOptions(words, 4, step);
        }
        if (command == "preview") {
            if (!Need(words, 3, "preview ID BODY [html]")) return false;
            step.kind = Kind::kPreview;
            step.id = words[1].text;
            step.html = words.size() > 3 && words[3].text == "html";
            const bool read = Body(words[2].text, step.text);
            step.source = bodySource;
            return read;
        }
        if (command == "subject" || command == "close") {
            if (!Need(words, command == "close" ? 2 : 3, "subject ID \"TITLE\" / close ID"))
                return false;
            step.kind = command == "close" ? Kind::kClose : Kind::kSubject;
            step.id = words[1].text;
            if (words.size() > 2) step.title = Text(words[2].text);
            return true;
        }
        if (command == "clipboard") {
            if (!Need(words, 2, "clipboard \"TEXT\"")) return false;
            step.kind = Kind::kClipboard;
            step.text = Text(words[1].text);
            return true;
        }
        if (command == "hold-clipboard") {
            step.kind = Kind::kHoldClipboard;
            return Number(words, 1, step.milliseconds);
        }
        if (command == "alt") {
            if (!Need(words, 2, "alt down|up")) return false;
            step.kind = Kind::kAlt;
            step.down = words[1].text == "down";
            return true;
        }
        if (command == "thief") {
            if (!Need(words, 3, "thief ID BODY")) return false;
            step.kind = Kind::kThief;
            step.id = words[1].text;
            const bool read = Body(words[2].text, step.text);
            step.source = bodySource;
            return read;
        }
        if (command == "exit-oe") {
            step.kind = Kind::kExitOe;
            return true;
        }
        if (command == "wait") {
            step.kind = Kind::kWait;
            return Number(words, 1, step.milliseconds);
        }
        if (command == "wait-row") {
            if (!Need(words, 4, "wait-row \"TITLE\" \"STATUS\" MS")) return false;
            step.kind = Kind::kWaitRow;
            step.title = Text(words[1].text);
            step.text = Text(words[2].text);
            return Number(words, 3, step.milliseconds);
        }
        if (command == "expect") return Expectation(words, step);
        Fail("unknown command '" + command + "'");
        return false;
    }

    bool Expectation(std::vector<Word> words, ScenarioStep& step) {
        if (words.size() > 3 && !words[words.size() - 2].quoted &&
            words[words.size() - 2].text == "within") {
            if (!ParseNumber(words.back().text, step.within)) Fail("within needs milliseconds");
            words.resize(words.size() - 2);
        }
        const std::string what = words.size() > 1 ? words[1].text : "";
        if (what == "rows") {
            step.kind = Kind::kExpectRows;
            return true;
        }
        if (what == "running") {
            step.kind = Kind::kExpectRunning;
            return true;
        }
        if (what == "ended") {
            step.kind = Kind::kExpectEnded;
            return Number(words, 2, step.milliseconds);
        }
        if (what == "clipboard") {
            if (!Need(words, 3, "expect clipboard \"TEXT\"")) return false;
            step.kind = Kind::kExpectClipboard;
            step.text = Text(words[2].text);
            return true;
        }
        if (!Need(words, 4, "expect text|html|title|stylesheets ID ...")) return false;
        step.id = words[2].text;
        if (what == "text") {
            step.kind = Kind::kExpectText;
            step.mode = words[3].text;
            if (step.mode == "reformatted" || step.mode == "unchanged") return true;
            step.mode = "file";
            return Body(words[3].text, step.text);
        }
        if (what == "html") {
            if (!Need(words, 5, "expect html ID starts|contains|lacks \"TEXT\"")) return false;
            step.kind = Kind::kExpectHtml;
            step.mode = words[3].text;
            step.text = Text(words[4].text);
            if (step.mode == "starts" || step.mode == "contains" || step.mode == "lacks")
                return true;
            Fail("expect html: starts, contains or lacks");
            return false;
        }
        if (what == "title") {
            step.kind = Kind::kExpectTitle;
            step.text = Text(words[3].text);
            return true;
        }
        if (what == "stylesheets") {
            step.kind = Kind::kExpectStyleSheets;
            std::uint64_t count = 0;
            if (!ParseNumber(words[3].text, count)) Fail("expect stylesheets ID N");
            step.count = static_cast<std::uint32_t>(count);
            return true;
        }
        Fail("unknown expectation '" + what + "'");
        return false;
    }

    std::filesystem::path folder;
    std::string& error;
    Settings& settings;
    std::string& signatures;
    bool& firstRun;
    std::string& codePage;
    std::vector<ScenarioStep>& steps;
    std::string bodySource;  // of the last body read
    int lineNumber = 0;
};

}  // namespace

ScenarioScript ScenarioScript::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    ScenarioScript script;
    if (!in) {
        script.error = "cannot read '" + file.string() + "'";
        return script;
    }
    std::ostringstream content;
    content << in.rdbuf();
    script = Parse(content.str(), file.parent_path());
    script.name = file.stem().string();
    return script;
}

ScenarioScript ScenarioScript::Parse(std::string_view source, const std::filesystem::path& folder) {
    ScenarioScript script;
    Parser(folder, script.error, script.startSettings, script.signaturesFile, script.firstRun,
           script.codePage, script.steps)
        .Run(source);
    return script;
}

const ScenarioStep* ScenarioScript::Opening(std::string_view id) const {
    for (const ScenarioStep& step : steps) {
        if ((step.kind == Kind::kReply || step.kind == Kind::kMessage ||
             step.kind == Kind::kPreview || step.kind == Kind::kThief) &&
            step.id == id)
            return &step;
    }
    return nullptr;
}

String ScenarioScript::AsMessage(StringView text) {
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') continue;
        if (text[i] == u'\n') out += u'\r';
        out += text[i];
    }
    while (!out.empty() && (out.back() == u'\n' || out.back() == u'\r'))
        out.pop_back();
    return out;
}

String ScenarioScript::GeneratedReply(std::size_t minimumLength) {
    String text =
        u"\r\n\r\n----- Original Message ----- \r\n"
        u"From: \"Jane Doe\" <jane@example.com>\r\n"
        u"To: \"Bob Smith\" <bob@example.org>\r\n"
        u"Sent: Tuesday, March 04, 2003 2:05 PM\r\n"
        u"Subject: the long report\r\n\r\n";
    text.reserve(minimumLength + 200);
    for (unsigned line = 1; text.size() < minimumLength; ++line) {
        // Long lines as OE breaks them, and paragraphs, so the re-wrap works.
        String number;
        for (const char digit : std::to_string(line))
            number += static_cast<char16_t>(digit);
        text +=
            u"> Line " + number + u" of the report: the figures for the second quarter are in, and";
        text += line % 7 == 0 ? u"\r\n>\r\n" : u"\r\n";
    }
    text += u"> The end.";
    return text;
}

}  // namespace nimbrel
