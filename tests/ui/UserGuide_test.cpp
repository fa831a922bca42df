// The user guide that Help and F1 open describes every option, command and
// status the program shows, under the names the program shows them.
#include <gtest/gtest.h>

#include "support/GoldenCase.h"
#include "ui/DialogTemplates.h"

namespace nimbrel {
namespace {

std::string ReadGuide() {
    return ReadFileBytes(RepoDataDir() + "/docs/index.html");
}

TEST(UserGuide, NamesEveryOptionAndCommand) {
    const std::string guide = ReadGuide();
    ASSERT_FALSE(guide.empty());
    for (const DialogTemplate& dialog : AllDialogTemplates()) {
        for (const ControlTemplate& control : dialog.controls) {
            const bool named = control.kind == ControlKind::CheckBox ||
                               control.kind == ControlKind::PushButton ||
                               (control.kind == ControlKind::Label && control.id != IDC_STATIC &&
                                control.id != IDC_OPT_VERSION && control.id != IDC_QHS_LEGEND);
            if (named) {
                EXPECT_NE(guide.find(Utf8(control.text)), std::string::npos)
                    << dialog.id << " " << Utf8(control.text);
            }
            for (const std::u16string_view item : control.items)
                EXPECT_NE(guide.find(Utf8(item)), std::string::npos) << Utf8(item);
        }
    }
    for (const MenuItemTemplate& item : TrayMenuTemplate().items)
        EXPECT_NE(guide.find(Utf8(item.text)), std::string::npos) << Utf8(item.text);
}

TEST(UserGuide, ExplainsEveryStatus) {
    const std::string guide = ReadGuide();
    for (const char* status :
         {"processed (q)", "processed (q-qp)", "processed (sig)", "processed (c)",
          "skipped (quoted)", "skipped (HTML)", "ignored (Alt)", "get error", "put error"}) {
        EXPECT_NE(guide.find(std::string("<td>") + status + "</td>"), std::string::npos) << status;
    }
}

}  // namespace
}  // namespace nimbrel
