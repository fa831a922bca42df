#include "shell/SettingsFields.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/GoldenCase.h"

namespace nimbrel {
namespace {

TEST(SettingsFields, CoverEveryByteOfTheRecordButThePadding) {
    // Each field's size, by kind; together with the padding they must tile
    // the record exactly, so a field missing from the table shows up here.
    std::size_t covered = 2;  // padding
    for (const SettingsField& field : AllSettingsFields()) {
        covered += field.kind == FieldKind::Template    ? 512
                   : field.kind == FieldKind::QuoteChar ? 2
                                                        : 4;
        EXPECT_EQ(FindSettingsField(field.name), &field);
    }
    EXPECT_EQ(covered, sizeof(Settings));
}

TEST(SettingsFields, AcceptsOnlyWhatTheFieldCanTake) {
    for (const std::vector<String>& c : LoadTable("settings_assignments")) {
        const std::string assignment = Utf8(c.at(0));
        const bool ok = c.at(1) != u"refused";
        Settings record = Settings::Defaults();
        const Settings before = record;
        const std::string error = ApplySettingsAssignment(record, assignment);
        EXPECT_EQ(error.empty(), ok) << assignment << ": " << error;
        if (ok) {
            const std::string name = assignment.substr(0, assignment.find('='));
            EXPECT_EQ(FormatSettingsField(record, *FindSettingsField(name)), Utf8(c[1]));
        } else {
            EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << assignment;
            EXPECT_NE(error.find('\n'), 0u);
        }
    }
}

TEST(SettingsFields, TemplateLimitIs255UnitsAndClearsTheRest) {
    Settings record = Settings::Defaults();
    EXPECT_EQ(SetSettingsField(record, "newsHeader.text", std::string(255, 'x')), "");
    EXPECT_EQ(record.newsHeader.text[254], u'x');
    EXPECT_EQ(record.newsHeader.text[255], 0);
    EXPECT_NE(SetSettingsField(record, "newsHeader.text", std::string(256, 'x')), "");
    EXPECT_EQ(SetSettingsField(record, "newsHeader.text", "short"), "");
    for (int i = 5; i < kTemplateUnits; ++i)
        ASSERT_EQ(record.newsHeader.text[i], 0) << i;
}

TEST(GoldenCase, ReadsHeaderSettingsParamsAndSections) {
    const auto cases = LoadGoldenCases("support");
    ASSERT_EQ(cases.size(), 1u);
    const GoldenCase& golden = cases[0];
    EXPECT_EQ(golden.settings.wrapColumn, 60);
    EXPECT_EQ(golden.settings.quoteChar, u'|');
    EXPECT_EQ(golden.IntParam("result"), 4);
    EXPECT_EQ(golden.Section("input"), "line one\n\nline three");
    EXPECT_EQ(golden.Section("expected"), "");
    EXPECT_EQ(golden.Section("last"), "x\n");
    EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace nimbrel
