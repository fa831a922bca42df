#include "shell/LanguageTexts.h"

namespace nimbrel {

const char* LanguageTexts::GetLine(std::string_view, String&, bool) {
    return nullptr;
}

bool LanguageTexts::GetBlock(std::string_view, String&) {
    return false;
}

bool LanguageTexts::GetList(std::string_view, std::vector<String>&) {
    return false;
}

void LanguageTexts::TranslateControl(DialogTexts& dialog, int id, std::string_view key) {
    String text;
    if (GetLine(key, text, true) == nullptr || text.empty()) return;
    if (dialog.HasControl(id)) dialog.SetControlText(id, text);
}

void LanguageTexts::TranslateTitle(DialogTexts& dialog, std::string_view key) {
    String text;
    if (GetLine(key, text, false) != nullptr) dialog.SetTitle(text);
}

}  // namespace nimbrel
