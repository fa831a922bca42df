#include "sim/SimClipboard.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "sim/SimStrings.h"

namespace nimbrel {

namespace {

std::string Utf16Bytes(StringView text) {
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

String FromUtf16Bytes(std::string_view bytes) {
    String text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

std::string_view UpToNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// Another program's clipboard data is owned by a window of its own.
constexpr WindowHandle kOtherProgramsWindow{0xFFF0};

}  // namespace

SimClipboard::SimClipboard(SimGlobalMemory& memory_, SimAtoms& atoms_, SimCodePage& codePage_,
                           SimClock& clock_, SimFaults& faults_)
    : memory(memory_), atoms(atoms_), codePage(codePage_), clock(clock_), faults(faults_) {}

bool SimClipboard::OpenAs(SimProcess process) {
    if (openedBy && *openedBy != process) return false;
    openedBy = process;
    return true;
}

bool SimClipboard::HoldOpen(SimProcess process) {
    return OpenAs(process);
}

void SimClipboard::Close(SimProcess process) {
    if (openedBy == process) openedBy.reset();
}

bool SimClipboard::HoldOpenFor(SimProcess process, std::uint64_t milliseconds) {
    if (!OpenAs(process)) return false;
    clock.After(milliseconds, [this, process] { Close(process); });
    return true;
}

void SimClipboard::Empty() {
    for (const Entry& entry : entries)
        memory.Discard(entry.data);
    entries.clear();
}

void SimClipboard::Set(std::uint32_t format, MemoryHandle data) {
    const auto same = std::find_if(entries.begin(), entries.end(),
                                   [&](const Entry& e) { return e.format == format; });
    if (same != entries.end()) {
        memory.Discard(same->data);
        same->data = data;
    } else {
        entries.push_back({format, data});
    }
}

bool SimClipboard::Put(SimProcess process,
                       const std::vector<std::pair<std::uint32_t, std::string>>& data) {
    const bool wasOpen = openedBy == process;
    if (!OpenAs(process)) return false;
    auto rest = [this, process, data, wasOpen] {
        Empty();
        owner = kOtherProgramsWindow;
        for (const auto& [format, bytes] : data)
            Set(format, memory.CreateForClipboard(bytes));
        if (!wasOpen && openedBy == process) openedBy.reset();
    };
    const bool programOwns = owner != kNoWindow && owner != kOtherProgramsWindow;
    if (programOwns && process != kProgramProcess && sendToProgram) {
        sendToProgram(rest);  // WM_DESTROYCLIPBOARD
    } else {
        rest();
    }
    return true;
}

bool SimClipboard::PutText(SimProcess process, StringView text) {
    std::string bytes = codePage.ToBytes(text);
    bytes.push_back('\0');
    return Put(process, {{cf::kText, bytes}});
}

std::string SimClipboard::UnicodeTextBytes(StringView text) {
    return Utf16Bytes(text) + std::string(2, '\0');
}

bool SimClipboard::PutUnicodeText(SimProcess process, StringView text) {
    return Put(process, {{cf::kUnicodeText, UnicodeTextBytes(text)}});
}

std::optional<String> SimClipboard::ReadTextAs(SimProcess process) {
    if (openedBy && *openedBy != process) return std::nullopt;
    const std::optional<std::string> wide = Data(cf::kUnicodeText);
    if (!wide) return std::nullopt;
    String text = FromUtf16Bytes(*wide);
    return text.substr(0, text.find(u'\0'));
}

const SimClipboard::Entry* SimClipboard::FindEntry(std::uint32_t format) const {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& e) { return e.format == format; });
    return found == entries.end() ? nullptr : &*found;
}

std::optional<std::uint32_t> SimClipboard::SynthesisSource(std::uint32_t format) const {
    if (FindEntry(format) != nullptr) return std::nullopt;
    if (format == cf::kUnicodeText && FindEntry(cf::kText)) return cf::kText;
    if (format == cf::kText && FindEntry(cf::kUnicodeText)) return cf::kUnicodeText;
    return std::nullopt;
}

std::optional<std::string> SimClipboard::Synthesize(std::uint32_t format) const {
    const std::optional<std::uint32_t> source = SynthesisSource(format);
    if (!source) return std::nullopt;
    const std::string_view bytes = memory.Bytes(FindEntry(*source)->data);
    if (format == cf::kUnicodeText) {
        String text = codePage.ToWide(UpToNul(bytes));
        text.push_back(u'\0');
        return Utf16Bytes(text);
    }
    String text = FromUtf16Bytes(bytes);
    std::string converted = codePage.ToBytes(StringView(text).substr(0, text.find(u'\0')));
    converted.push_back('\0');
    return converted;
}

std::vector<std::uint32_t> SimClipboard::Formats() const {
    std::vector<std::uint32_t> formats;
    for (const Entry& entry : entries)
        formats.push_back(entry.format);
    for (const std::uint32_t format : {cf::kText, cf::kUnicodeText}) {
        if (SynthesisSource(format)) formats.push_back(format);
    }
    return formats;
}

std::optional<std::string> SimClipboard::Data(std::uint32_t format) const {
    if (const Entry* entry = FindEntry(format)) return std::string(memory.Bytes(entry->data));
    return Synthesize(format);
}

std::optional<String> SimClipboard::Text() const {
    const std::optional<std::string> bytes = Data(cf::kText);
    if (!bytes) return std::nullopt;
    return codePage.ToWide(UpToNul(*bytes));
}

bool SimClipboard::OpenClipboard(WindowHandle newOwner) {
    ++openAttempts;
    const bool wasOpen = openedBy == kProgramProcess;
    if (!OpenAs(kProgramProcess)) return false;
    if (!wasOpen) openedFor = newOwner;
    return true;
}

bool SimClipboard::CloseClipboard() {
    if (openedBy != kProgramProcess) {
        faults.Report("CloseClipboard without an open clipboard");
        return false;
    }
    openedBy.reset();
    if (closesToGo > 0 && --closesToGo == 0) std::exchange(afterCloses, nullptr)();
    return true;
}

void SimClipboard::AfterProgramCloses(int count, std::function<void()> then) {
    closesToGo = count;
    afterCloses = std::move(then);
}

bool SimClipboard::EmptyClipboard() {
    if (openedBy != kProgramProcess) return false;
    Empty();
    owner = openedFor;
    return true;
}

MemoryHandle SimClipboard::GetClipboardData(std::uint32_t format) {
    if (openedBy != kProgramProcess) return kNoMemory;
    if (const Entry* entry = FindEntry(format)) return entry->data;
    const std::optional<std::string> made = Synthesize(format);
    if (!made) return kNoMemory;
    // Made once; from then on it is a format like the others.
    const MemoryHandle data = memory.CreateForClipboard(*made);
    entries.push_back({format, data});
    return data;
}

MemoryHandle SimClipboard::SetClipboardData(std::uint32_t format, MemoryHandle data) {
    if (openedBy != kProgramProcess || data == kNoMemory) return kNoMemory;
    if (owner == kNoWindow || !memory.IsMoveable(data)) return kNoMemory;
    if (failSetData) {
        failSetData = false;
        return kNoMemory;
    }
    if (!memory.Adopt(data)) return kNoMemory;
    Set(format, data);
    return data;
}

bool SimClipboard::IsClipboardFormatAvailable(std::uint32_t format) {
    return FindEntry(format) != nullptr || SynthesisSource(format).has_value();
}

std::uint32_t SimClipboard::EnumClipboardFormats(std::uint32_t format) {
    if (openedBy != kProgramProcess) return 0;
    const std::vector<std::uint32_t> formats = Formats();
    if (format == 0) return formats.empty() ? 0 : formats.front();
    const auto found = std::find(formats.begin(), formats.end(), format);
    if (found == formats.end() || found + 1 == formats.end()) return 0;
    return *(found + 1);
}

std::uint32_t SimClipboard::RegisterClipboardFormatW(const char16_t* name) {
    return atoms.Register(sim::Terminated(name));
}

int SimClipboard::GetClipboardFormatNameW(std::uint32_t format, char16_t* buffer, int maxCount) {
    const String* name = atoms.Name(format);
    if (name == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    const std::size_t count = std::min(name->size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(name->begin(), count, buffer);
    buffer[count] = u'\0';
    return static_cast<int>(count);
}

}  // namespace nimbrel
