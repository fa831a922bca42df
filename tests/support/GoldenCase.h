// Golden case files for parameterised tests.
//
// A case file (UTF-8, LF line ends, extension .case):
//   # comment
//   wrapColumn = 60        a settings field: applied to `settings`
//   result = 4             any other key: kept in `params`
//   === input
//   ...
//   === expected
//   ...
// Lines before the first "=== " line are comments, blank, or `key = value`.
// Each "=== NAME" line starts a section that runs to the next "=== " line or
// the end of the file; the line break before the next marker (or the final
// line break of the file) is not part of the section.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Settings.h"
#include "shell/Text.h"
#include "support/TempDirectory.h"

namespace nimbrel {

struct GoldenCase {
    std::string name;  // file name without .case
    std::string file;  // full path, for messages
    Settings settings = Settings::Defaults();
    std::map<std::string, std::string> params;
    std::map<std::string, std::string> sections;

    // The section's content; fails the test (and returns "") when missing.
    const std::string& Section(const std::string& section) const;
    // A parameter as a number; fails the test when missing or not a number.
    int IntParam(const std::string& key) const;
};

// Every NIMBREL_TEST_DATA_DIR/<subdir>/*.case, sorted by name. A malformed
// file (bad header line, unknown setting, bad value) fails the test program
// at load time with the file name and line.
std::vector<GoldenCase> LoadGoldenCases(const std::string& subdir);

// The rows of the table file NIMBREL_TEST_DATA_DIR/tables/<name>.tsv (UTF-8):
// one case per line, fields separated by tabs, blank lines and lines starting
// with "# " skipped. In a field, \n \r \t \v \f \s (space) \\ stand for themselves,
// \e for nothing (an empty field), \xHH and \uHHHH for that unit and \<N>c for N times
// the character c.
std::vector<std::vector<String>> LoadTable(const std::string& name);
int ToInt(StringView field, int base = 10);
// A field of units below 256 as bytes (a file's contents).
std::string Bytes(StringView field);

// Name for INSTANTIATE_TEST_SUITE_P: the file name with non-alphanumerics as '_'.
std::string GoldenCaseName(const testing::TestParamInfo<GoldenCase>& info);

// Test helpers for text: UTF-8 <-> UTF-16 (bad UTF-8 fails the test), LF ->
// CR LF, and CR LF -> LF (a CR on its own stays).
String Utf16(std::string_view utf8);
std::string Utf8(StringView text);
std::string ToCrLf(std::string_view lf);
std::string FromCrLf(std::string_view crlf);
String FromCrLf(StringView crlf);
// `piece` written `times` times over (the long inputs of the pathological tests).
String Repeat(StringView piece, std::size_t times);
std::string Repeat(std::string_view piece, std::size_t times);

// Where test data lives (tests/data) and the repository's data/.
std::string TestDataDir();
std::string RepoDataDir();

void PrintTo(const GoldenCase& golden, std::ostream* os);

}  // namespace nimbrel
