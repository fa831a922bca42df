#include "sim/ScenarioRunner.h"

#include <algorithm>

#include "compose/ComposeText.h"
#include "shell/Utf.h"

namespace nimbrel {

namespace {

using Kind = ScenarioStep::Kind;

String WithCrLf(StringView text) {
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (const char16_t c : text) {
        if (c == u'\n') out += u'\r';
        if (c != u'\r') out += c;
    }
    return out;
}

// The first unit where two texts differ, with a little context.
std::string Difference(StringView expected, StringView actual) {
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const std::size_t from = at > 20 ? at - 20 : 0;
    return "lengths " + std::to_string(expected.size()) + "/" + std::to_string(actual.size()) +
           ", first difference at " + std::to_string(at) + ": expected \"" +
           Visible(expected.substr(from, 60)) + "\", got \"" + Visible(actual.substr(from, 60)) +
           "\"";
}

}  // namespace

std::string Visible(StringView text) {
    std::string out;
    for (const char c : Utf16ToUtf8(text)) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

ScenarioRunner::ScenarioRunner(const ScenarioScript& script_, ScenarioWorld& world_)
    : script(script_), world(world_) {
    if (!script.Error().empty()) {
        failures.push_back(script.Error());
        next = script.Steps().size();
    }
}

std::optional<std::uint64_t> ScenarioRunner::Advance(std::uint64_t now) {
    const std::vector<ScenarioStep>& steps = script.Steps();
    while (next < steps.size()) {
        const ScenarioStep& step = steps[next];
        if (!stepStart) stepStart = now;
        if (!Run(step, now)) {
            if (step.kind == Kind::kWait) return *stepStart + step.milliseconds;
            return now + kPollInterval;
        }
        stepStart.reset();
        ++next;
    }
    return std::nullopt;
}

bool ScenarioRunner::Finish(const ScenarioStep& step, std::uint64_t elapsed, bool ok,
                            const std::string& what) {
    if (!ok && elapsed < step.within) return false;
    Check(step, ok, what);
    return true;
}

void ScenarioRunner::Check(const ScenarioStep& step, bool ok, const std::string& what) {
    const std::string line = "line " + std::to_string(step.line) + ": " + what;
    log.push_back((ok ? "ok   " : "FAIL ") + line);
    if (!ok) failures.push_back(line);
}

bool ScenarioRunner::Run(const ScenarioStep& step, std::uint64_t now) {
    const std::uint64_t elapsed = now - *stepStart;
    switch (step.kind) {
        case Kind::kReply:
        case Kind::kMessage:
        case Kind::kPreview:
        case Kind::kThief:
            world.Open(step);
            break;
        case Kind::kSubject:
            world.SetTitle(step.id, step.title);
            break;
        case Kind::kClose:
            world.Close(step.id);
            break;
        case Kind::kClipboard:
            world.SetClipboardText(step.text);
            break;
        case Kind::kHoldClipboard:
            world.HoldClipboard(step.milliseconds);
            break;
        case Kind::kAlt:
            world.HoldAlt(step.down);
            break;
        case Kind::kExitOe:
            world.ExitOe();
            break;
        case Kind::kWait:
            return elapsed >= step.milliseconds;
        case Kind::kWaitRow: {
            const std::vector<std::pair<String, String>> rows = world.StatusRows();
            const bool found = std::find(rows.begin(), rows.end(),
                                         std::make_pair(step.title, step.text)) != rows.end();
            if (!found && elapsed < step.milliseconds) return false;
            Check(step, found,
                  "row \"" + Visible(step.title) + "\" \"" + Visible(step.text) + "\" within " +
                      std::to_string(step.milliseconds) + " ms" +
                      (found ? " (" + std::to_string(elapsed) + " ms)" : ""));
            break;
        }
        case Kind::kExpectText:
            return ExpectText(step, elapsed);
        case Kind::kExpectHtml: {
            const std::optional<String> html = world.BodyHtml(step.id);
            bool ok = false;
            if (html && step.mode == "starts") ok = html->rfind(step.text, 0) == 0;
            if (html && step.mode == "contains") ok = html->find(step.text) != String::npos;
            if (html && step.mode == "lacks") ok = html->find(step.text) == String::npos;
            return Finish(step, elapsed, ok,
                          "html of " + step.id + " " + step.mode + " \"" + Visible(step.text) +
                              "\"" +
                              (ok     ? ""
                               : html ? ", html is \"" + Visible(html->substr(0, 200)) + "\""
                                      : ", no document"));
        }
        case Kind::kExpectTitle: {
            const std::optional<String> title = world.Title(step.id);
            return Finish(
                step, elapsed, title == step.text,
                "title of " + step.id + " \"" + Visible(step.text) + "\"" +
                    (title == step.text ? ""
                                        : ", got \"" + Visible(title.value_or(u"(none)")) + "\""));
        }
        case Kind::kExpectStyleSheets: {
            const std::vector<String> sheets = world.StyleSheets(step.id);
            const String path = world.StyleSheetPath();
            const bool ok = sheets.size() == step.count &&
                            std::all_of(sheets.begin(), sheets.end(),
                                        [&](const String& sheet) { return sheet == path; });
            std::string got;
            for (const String& sheet : sheets)
                got += " \"" + Visible(sheet) + "\"";
            return Finish(step, elapsed, ok,
                          std::to_string(step.count) + " style sheet(s) \"" + Visible(path) +
                              "\" on " + step.id +
                              (ok ? "" : ", got" + (got.empty() ? " none" : got)));
        }
        case Kind::kExpectClipboard: {
            const std::optional<String> text = world.ClipboardText();
            return Finish(
                step, elapsed, text == step.text,
                "clipboard \"" + Visible(step.text) + "\"" +
                    (text == step.text ? ""
                                       : ", got \"" + Visible(text.value_or(u"(none)")) + "\""));
        }
        case Kind::kExpectRows: {
            const std::vector<std::pair<String, String>> rows = world.StatusRows();
            std::string got;
            for (const auto& [title, status] : rows)
                got += " [\"" + Visible(title) + "\" \"" + Visible(status) + "\"]";
            return Finish(step, elapsed, rows == step.rows,
                          "status list of " + std::to_string(step.rows.size()) + " row(s)" +
                              (rows == step.rows ? "" : ", got" + (got.empty() ? " none" : got)));
        }
        case Kind::kExpectEnded: {
            expectsEnd = true;
            const bool running = world.ProgramRunning();
            if (running && elapsed < step.milliseconds) return false;
            Check(step, !running,
                  "the program ends by itself within " + std::to_string(step.milliseconds) + " ms");
            if (!running) {
                // Writing the settings is the last thing the program does.
                bool written = world.SettingsWritten();
                if (!written && elapsed < step.milliseconds) return false;
                Check(step, written, "Nimbrel.cfg written at the end");
            }
            break;
        }
        case Kind::kExpectRunning:
            return Finish(step, elapsed, world.ProgramRunning(), "the program still runs");
    }
    return true;
}

bool ScenarioRunner::ExpectText(const ScenarioStep& step, std::uint64_t elapsed) {
    const ScenarioStep* opening = script.Opening(step.id);
    // An HTML message left alone keeps its HTML as it was.
    const bool html = opening != nullptr && opening->html && step.mode == "unchanged";
    const std::optional<String> actual = html ? world.BodyHtml(step.id) : world.BodyText(step.id);
    String expected;
    if (step.mode == "file") {
        expected = step.text;
    } else if (opening != nullptr && step.mode == "unchanged") {
        expected = opening->text;
    } else if (opening != nullptr) {
        // What `nimbrel reformat` makes of the text the program took: on the
        // clipboard path that text ends with the Space typed before the copy.
        expected = opening->text;
        if (script.StartSettings().useClipboard != 0) expected += u' ';
        std::int32_t caretCount = 0;
        TransformComposeText(script.StartSettings(), expected, caretCount);
        expected = WithCrLf(expected);
    }
    const bool ok = actual == expected;
    return Finish(step, elapsed, ok,
                  std::string(html ? "html" : "text") + " of " + step.id + " " + step.mode +
                      (ok       ? ""
                       : actual ? ", " + Difference(expected, *actual)
                                : ", no document"));
}

}  // namespace nimbrel
