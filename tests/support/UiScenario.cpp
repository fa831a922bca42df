#include "support/UiScenario.h"

#include <filesystem>

#include "shell/App.h"
#include "shell/Settings.h"

namespace nimbrel {

int UiScenario::ticks = 0;

void UiScenario::CountTick(WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    ++ticks;
}

UiScenario::UiScenario() {
    settings = Settings::Defaults();
    app = App{};
    ticks = 0;
    // The desktop restores the start directory when it goes.
    std::filesystem::current_path(directory.Path());
    WriteFileBytes(directory / "styles.css", "/* 4 quote-level styles */\n");
}

UiScenario::~UiScenario() {
    options.reset();
    EXPECT_TRUE(desktop.faults.Empty()) << desktop.faults.List().front();
    app = App{};
    settings = Settings::Defaults();
}

void UiScenario::UseLanguageFile(std::string bytes) {
    language.emplace(CLangFile::FromBytes(bytes));
}

void UiScenario::StartOptionsDialog() {
    app.langFile = language ? &*language : nullptr;
    options = std::make_unique<COptionsDlg>(desktop.platform(), &CountTick);
    ASSERT_TRUE(options->Create());
    app.mainDialog = options.get();
    app.mainWindow = options->Window();
}

SimDialog UiScenario::ShowOptions() {
    desktop.DoubleClickTrayIcon();
    return Options();
}

std::vector<String> UiScenario::TrayMenuTexts() {
    std::vector<String> texts;
    for (const SimMenuItem& item : desktop.menus.Items(options->Tray().Menu()))
        texts.push_back(item.text);
    return texts;
}

}  // namespace nimbrel
