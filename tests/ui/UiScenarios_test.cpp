// The options dialog, its two modal dialogs and the tray as a user drives
// them in the simulated desktop: the cases of tests/data/ui, and what is
// checked against the tables of tests/data/tables.
#include <gtest/gtest.h>

#include <limits>

#include "shell/Settings.h"
#include "support/GoldenCase.h"
#include "support/UiScenario.h"
#include "ui/CQuoteHeaderStylesDlg.h"
#include "ui/ResourceIds.h"
#include "ui/WholeNumber.h"

namespace nimbrel {
namespace {

class UiCase : public UiScenario, public testing::WithParamInterface<GoldenCase> {};

TEST_P(UiCase, Plays) {
    Play(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Ui, UiCase, testing::ValuesIn(LoadGoldenCases("ui")), GoldenCaseName);

using DialogTest = UiScenario;

// Every control of the key table shows its German text, in all three dialogs.
TEST_F(DialogTest, TranslatesEveryControlFromTheLanguageFile) {
    UseLanguageFile(ReadFileBytes(std::string(NIMBREL_DATA_DIR) + "/lang-de.ini"));
    StartOptionsDialog();
    ShowOptions();
    const auto translated = [](SimDialog& dialog, int templateId) {
        const String prefix = Utf16(std::to_string(templateId) + ":");
        for (const std::vector<String>& row : LoadTable("lang_keys")) {
            if (row.at(2).starts_with(prefix)) {
                EXPECT_EQ(dialog.Text(ToInt(row[2].substr(4))), row.at(4)) << Utf8(row[0]);
            }
        }
    };
    SimDialog main = Options();
    translated(main, IDD_OPTIONS);
    for (const auto& [templateId, button] :
         {std::pair{IDD_ADVANCED_OPTIONS, IDC_OPT_ADVANCED_OPTIONS},
          std::pair{IDD_QUOTE_HEADER_STYLES, IDC_OPT_QUOTE_HEADER_STYLES}}) {
        desktop.dialogs.WhenModal(
            templateId, [&, id = templateId](SimDialog& dialog) { translated(dialog, id); });
        Options().Click(button);
    }
    EXPECT_EQ(desktop.dialogs.ModalRuns().size(), 2u);
}

TEST(QuoteHeaderTemplate, RefusesWhatTheReformatterTakesForOutlookExpressHeaders) {
    for (const std::vector<String>& c : LoadTable("header_template"))
        EXPECT_EQ(CQuoteHeaderStylesDlg::IsValidTemplate(c.at(0)), c.at(1) == u"1") << Utf8(c[0]);
}

TEST(WholeNumber, ParsesWhatANumberFieldMayHold) {
    for (const std::vector<String>& c : LoadTable("whole_number")) {
        const bool refused = c.at(1) == u"refused";
        std::int32_t value = 4711;
        EXPECT_EQ(ParseWholeNumber(c.at(0), value), !refused) << Utf8(c[0]);
        EXPECT_EQ(value, refused ? 4711 : ToInt(c[1])) << Utf8(c[0]);
    }
}

TEST(WholeNumber, DecimalText) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(132), u"132");
    EXPECT_EQ(DecimalText(-40), u"-40");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

}  // namespace
}  // namespace nimbrel
