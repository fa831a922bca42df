#include "sim/SimScenarioWorld.h"

#include <stdexcept>

#include "coloring/Emoticons.h"
#include "shell/Settings.h"
#include "ui/ResourceIds.h"

namespace nimbrel {

SimScenarioWorld::SimScenarioWorld(SimDesktop& desktop_, OeTestHost& oe_,
                                   std::filesystem::path userDirectory_,
                                   std::uint64_t completeNever_)
    : desktop(desktop_),
      oe(oe_),
      userDirectory(std::move(userDirectory_)),
      completeNever(completeNever_) {}

void SimScenarioWorld::Open(const ScenarioStep& step) {
    if (step.kind == ScenarioStep::Kind::kPreview) {
        windows[step.id] = oe.ShowInPreview(step.text, step.html);
        return;
    }
    if (step.kind == ScenarioStep::Kind::kThief) {
        windows[step.id] = oe.OpenFocusThief(step.text);
        return;
    }
    OeNoteOptions options;
    options.title = step.title;
    options.titleDelay = step.titleAfter;
    options.completeDelay = step.completeAfter.value_or(completeNever);
    options.html = step.html;
    const OeNote note = step.kind == ScenarioStep::Kind::kReply
                            ? oe.OpenReply(step.text, options)
                            : oe.OpenMessage(step.text, options);
    windows[step.id] = note.note;
    // A hung client answers nothing in that window.
    if (step.hung) desktop.windows.Get(note.documentWindow)->hung = true;
    if (step.hung) desktop.windows.Get(note.note)->hung = true;
    oe.Document(note.note).writeDelay = step.writeDelay;
    oe.Document(note.note).busyAfterRead = step.busyAfterRead;
}

void SimScenarioWorld::SetTitle(const std::string& id, StringView title) {
    oe.TypeSubject(windows[id], title);
}

void SimScenarioWorld::Close(const std::string& id) {
    oe.Close(windows[id]);
}

void SimScenarioWorld::SetClipboardText(StringView text) {
    desktop.clipboard.PutUnicodeText(kOtherProcess, text);
}

void SimScenarioWorld::HoldClipboard(std::uint64_t milliseconds) {
    desktop.clipboard.HoldOpenFor(kOtherProcess, milliseconds);
}

void SimScenarioWorld::HoldAlt(bool down) {
    desktop.HoldAlt(down);
}

void SimScenarioWorld::ExitOe() {
    oe.Exit();
}

SimDocument* SimScenarioWorld::DocumentOf(const std::string& id) {
    const auto found = windows.find(id);
    if (found == windows.end()) return nullptr;
    try {
        return &oe.Document(found->second);
    } catch (const std::invalid_argument&) {
        return nullptr;  // closed
    }
}

std::optional<String> SimScenarioWorld::BodyText(const std::string& id) {
    SimDocument* document = DocumentOf(id);
    return document ? std::optional<String>(document->InnerText()) : std::nullopt;
}

std::optional<String> SimScenarioWorld::BodyHtml(const std::string& id) {
    SimDocument* document = DocumentOf(id);
    return document ? std::optional<String>(document->InnerHtml()) : std::nullopt;
}

std::optional<String> SimScenarioWorld::Title(const std::string& id) {
    SimDocument* document = DocumentOf(id);
    return document ? document->title : std::nullopt;
}

std::vector<String> SimScenarioWorld::StyleSheets(const std::string& id) {
    SimDocument* document = DocumentOf(id);
    return document ? document->styleSheets : std::vector<String>{};
}

String SimScenarioWorld::StyleSheetPath() {
    return installDirectory + kPathSeparator + u"styles.css";
}

std::optional<String> SimScenarioWorld::ClipboardText() {
    return desktop.clipboard.ReadTextAs(kOtherProcess);
}

std::vector<std::pair<String, String>> SimScenarioWorld::StatusRows() {
    const SimDialog dialog = desktop.dialogs.Find(IDD_OPTIONS);
    if (!dialog.Exists()) return lastRows;
    lastRows.clear();
    for (const std::vector<String>& row : dialog.Rows(IDC_OPT_STATUS_LIST))
        lastRows.emplace_back(row.size() > 0 ? row[0] : u"", row.size() > 1 ? row[1] : u"");
    return lastRows;
}

bool SimScenarioWorld::SettingsWritten() {
    return std::filesystem::exists(userDirectory / kSettingsFileName);
}

}  // namespace nimbrel
