// The quote header styles dialog, opened from the options dialog's button.
#include "ui/CQuoteHeaderStylesDlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "shell/Settings.h"
#include "support/GoldenCase.h"
#include "support/TempDirectory.h"
#include "support/UiScenario.h"
#include "ui/ResourceIds.h"

namespace nimbrel {
namespace {

constexpr int kStyleNone = 3;

String TextOf(const QuoteHeaderSetting& header) {
    return String(header.text);
}

class HeaderStylesTest : public UiScenario {
  protected:
    HeaderStylesTest() {
        StartOptionsDialog();
        ShowOptions();
    }
    void Run(std::function<void(SimDialog&)> session) {
        desktop.dialogs.WhenModal(IDD_QUOTE_HEADER_STYLES, std::move(session));
        Options().Click(IDC_OPT_QUOTE_HEADER_STYLES);
    }
};

TEST(QuoteHeaderTemplate, RefusesWhatTheReformatterTakesForOutlookExpressHeaders) {
    for (const std::vector<String>& c : LoadTable("header_template"))
        EXPECT_EQ(CQuoteHeaderStylesDlg::IsValidTemplate(c.at(0)), c.at(1) == u"1") << Utf8(c[0]);
}

TEST_F(HeaderStylesTest, OpensOnTheEmailHeader) {
    Run([](SimDialog& dialog) {
        EXPECT_EQ(dialog.Title(), u"Quote Header Styles");
        EXPECT_TRUE(dialog.Checked(IDC_QHS_EMAIL));
        EXPECT_FALSE(dialog.Checked(IDC_QHS_NEWS));
        EXPECT_EQ(dialog.Items(IDC_QHS_STYLE),
                  (std::vector<String>{u"Outlook Express", u"short", u"short with email", u"none",
                                       u"custom"}));
        EXPECT_EQ(dialog.Selection(IDC_QHS_STYLE), 1);
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE), u"On %t [GMT+1=CET],\\n%n <%m> wrote:\\n");
        EXPECT_EQ(dialog.Text(IDC_QHS_LEGEND),
                  u"%n = name of sender\n%m = email address\n\\n = line break\n%t = time (email "
                  u"only)\n%l = reference link (news only)");
    });
}

TEST_F(HeaderStylesTest, TheTemplateIsEnabledForCustomOnly) {
    Run([](SimDialog& dialog) {
        const auto enabled = [&] {
            const bool label = dialog.ControlEnabled(IDC_QHS_TEMPLATE_LABEL);
            EXPECT_EQ(dialog.ControlEnabled(IDC_QHS_TEMPLATE), label);
            EXPECT_EQ(dialog.ControlEnabled(IDC_QHS_LEGEND), label);
            return label;
        };
        EXPECT_FALSE(enabled());
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        EXPECT_TRUE(enabled());
        dialog.Type(IDC_QHS_TEMPLATE, u"%n wrote:");
        dialog.Select(IDC_QHS_STYLE, kStyleNone);
        EXPECT_FALSE(enabled());
        dialog.Click(IDOK);
    });
    // The template is stored with any style.
    EXPECT_EQ(settings.emailHeader.style, static_cast<std::uint32_t>(kStyleNone));
    EXPECT_EQ(TextOf(settings.emailHeader), u"%n wrote:");
}

TEST_F(HeaderStylesTest, ARefusedTemplateKeepsTheDialogOpenUntilItIsMended) {
    const Settings before = settings;
    Run([&](SimDialog& dialog) {
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        dialog.Type(IDC_QHS_TEMPLATE, u"----- %n wrote -----");
        dialog.Click(IDOK);
        ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1u);
        const SimMessageBox& box = desktop.messageBoxes.Shown()[0];
        EXPECT_EQ(box.text, u"Invalid quote header!");
        EXPECT_EQ(box.caption, u"Error");
        EXPECT_EQ(box.flags, mb::kIconHand);
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE), u"----- %n wrote -----");
        EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0);

        dialog.Type(IDC_QHS_TEMPLATE, u"---- %n wrote -----");
        dialog.Click(IDOK);
        EXPECT_FALSE(dialog.Visible());
    });
    EXPECT_EQ(settings.emailHeader.style, static_cast<std::uint32_t>(kCustomHeaderStyle));
    EXPECT_EQ(TextOf(settings.emailHeader), u"---- %n wrote -----");
}

TEST_F(HeaderStylesTest, CancelAfterSwitchingKeepsTheHeaderSwitchedAwayFrom) {
    Run([](SimDialog& dialog) {
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        dialog.Type(IDC_QHS_TEMPLATE, u"%n schrieb:");
        dialog.Click(IDC_QHS_NEWS);
        // The news header is shown now.
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE), u"In news:%l,\\n%n <%m> typed:");
        EXPECT_EQ(dialog.Selection(IDC_QHS_STYLE), 1);
        EXPECT_FALSE(dialog.ControlEnabled(IDC_QHS_TEMPLATE));
        dialog.Select(IDC_QHS_STYLE, 0);
        dialog.Click(IDCANCEL);
    });
    EXPECT_EQ(settings.emailHeader.style, static_cast<std::uint32_t>(kCustomHeaderStyle));
    EXPECT_EQ(TextOf(settings.emailHeader), u"%n schrieb:");
    EXPECT_EQ(settings.newsHeader.style, 1u);  // the shown header was not stored
}

TEST_F(HeaderStylesTest, ARefusedSwitchKeepsShowingAndMarkingTheSameHeader) {
    Run([&](SimDialog& dialog) {
        dialog.Click(IDC_QHS_NEWS);
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        dialog.Type(IDC_QHS_TEMPLATE, u"see news:x...");
        dialog.Click(IDC_QHS_EMAIL);
        EXPECT_EQ(desktop.messageBoxes.Shown().size(), 1u);
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE), u"see news:x...");
        EXPECT_TRUE(dialog.Checked(IDC_QHS_NEWS));
        EXPECT_FALSE(dialog.Checked(IDC_QHS_EMAIL));

        dialog.Type(IDC_QHS_TEMPLATE, u"see news:x..");
        dialog.Click(IDOK);
    });
    EXPECT_EQ(TextOf(settings.newsHeader), u"see news:x..");
    EXPECT_EQ(settings.newsHeader.style, static_cast<std::uint32_t>(kCustomHeaderStyle));
    EXPECT_EQ(settings.emailHeader.style, 1u);
}

TEST_F(HeaderStylesTest, ATemplateLongerThan255CharactersCannotBeTyped) {
    const String typed(300, u'x');
    Run([&](SimDialog& dialog) {
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        dialog.Type(IDC_QHS_TEMPLATE, typed);
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE).size(), 255u);
        dialog.Click(IDOK);
    });
    EXPECT_EQ(TextOf(settings.emailHeader), String(255, u'x'));
    EXPECT_EQ(settings.emailHeader.text[255], u'\0');
}

TEST_F(HeaderStylesTest, AShorterTemplateLeavesOnlyZerosBehindIt) {
    Run([](SimDialog& dialog) {
        dialog.Select(IDC_QHS_STYLE, kCustomHeaderStyle);
        dialog.Type(IDC_QHS_TEMPLATE, u"");
        dialog.Click(IDOK);
    });
    for (const char16_t unit : settings.emailHeader.text)
        EXPECT_EQ(unit, u'\0');
}

TEST_F(HeaderStylesTest, AnUnknownStoredStyleSelectsNothingAndIsKept) {
    settings.newsHeader.style = 9;
    Run([](SimDialog& dialog) {
        dialog.Click(IDC_QHS_NEWS);
        EXPECT_EQ(dialog.Selection(IDC_QHS_STYLE), -1);
        EXPECT_FALSE(dialog.ControlEnabled(IDC_QHS_TEMPLATE));
        dialog.Click(IDOK);
    });
    EXPECT_EQ(settings.newsHeader.style, 9u);
}

class TranslatedHeaderStylesTest : public UiScenario {};

TEST_F(TranslatedHeaderStylesTest, TranslatesTitleLabelsLegendAndStyles) {
    UseLanguageFile(ReadFileBytes(std::filesystem::path(NIMBREL_DATA_DIR) / "lang-de.ini"));
    StartOptionsDialog();
    ShowOptions();
    desktop.dialogs.WhenModal(IDD_QUOTE_HEADER_STYLES, [](SimDialog& dialog) {
        EXPECT_EQ(dialog.Title(), u"Zitatkopf-Stile");
        EXPECT_EQ(dialog.Text(IDC_QHS_TEMPLATE_LABEL), u"Eigener Zitatkopf:");
        EXPECT_EQ(dialog.Text(IDC_QHS_STYLE_LABEL), u"Stil:");
        EXPECT_EQ(dialog.Text(IDCANCEL), u"Abbrechen");
        EXPECT_EQ(dialog.Text(IDOK), u"OK");
        EXPECT_EQ(dialog.Text(IDC_QHS_LEGEND),
                  u"%n = Name des Absenders\r\n%m = E-Mail-Adresse\r\n\\n = Zeilenumbruch\r\n%t = "
                  u"Zeit (nur E-Mail)\r\n%l = Verweis (nur News)");
        EXPECT_EQ(dialog.Items(IDC_QHS_STYLE),
                  (std::vector<String>{u"Outlook Express", u"kurz", u"kurz mit E-Mail", u"keiner",
                                       u"eigener"}));
        EXPECT_EQ(dialog.Selection(IDC_QHS_STYLE), 1);
    });
    Options().Click(IDC_OPT_QUOTE_HEADER_STYLES);
    EXPECT_EQ(desktop.dialogs.ModalRuns(), std::vector<int>{IDD_QUOTE_HEADER_STYLES});
}

TEST_F(TranslatedHeaderStylesTest, AnEmptyLegendReplacesTheBuiltInOne) {
    UseLanguageFile("#Custom Header Instructions\r\n#Header Styles\r\na\r\nb\r\n#End\r\n");
    StartOptionsDialog();
    ShowOptions();
    desktop.dialogs.WhenModal(IDD_QUOTE_HEADER_STYLES, [](SimDialog& dialog) {
        EXPECT_EQ(dialog.Text(IDC_QHS_LEGEND), u"");
        EXPECT_EQ(dialog.Items(IDC_QHS_STYLE).size(), 5u);  // two items are not five
    });
    Options().Click(IDC_OPT_QUOTE_HEADER_STYLES);
}

}  // namespace
}  // namespace nimbrel
