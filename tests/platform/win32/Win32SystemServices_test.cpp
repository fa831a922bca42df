// The Win32 code page conversion and current directory (run under Wine):
// whole texts, embedded NULs included, and the buffer-size conventions.
#ifdef _WIN32

#include "platform/win32/Win32SystemServices.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace nimbrel {
namespace {

TEST(Win32SystemServices, ConvertsWholeTextsInTheThreadCodePage) {
    Win32SystemServices system;
    const String withNul(u"before\0after", 12);
    const std::string bytes = system.WideCharToMultiByte(withNul);
    EXPECT_EQ(bytes, std::string("before\0after", 12));
    EXPECT_EQ(system.MultiByteToWideChar(bytes), withNul);
    EXPECT_EQ(system.MultiByteToWideChar(""), u"");
    EXPECT_EQ(system.WideCharToMultiByte(u""), "");
    if (::GetACP() == CP_UTF8) return;
    // A character no single-byte code page has becomes the replacement.
    EXPECT_EQ(system.WideCharToMultiByte(u"a\u4E00b").front(), 'a');
    EXPECT_EQ(system.WideCharToMultiByte(u"a\u4E00b").back(), 'b');
    EXPECT_EQ(system.WideCharToMultiByte(u"a\u4E00b").find('?'), 1u);
}

TEST(Win32SystemServices, CurrentDirectoryFollowsTheBufferConvention) {
    Win32SystemServices system;
    char path[MAX_PATH] = {};
    const std::uint32_t length = system.GetCurrentDirectoryA(MAX_PATH, path);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::string(path).size(), length);
    char tiny[2] = {};
    EXPECT_EQ(system.GetCurrentDirectoryA(2, tiny), length + 1);

    EXPECT_FALSE(system.SetCurrentDirectoryA("Z:\\no\\such\\directory\\here"));
    EXPECT_TRUE(system.SetCurrentDirectoryA(path));
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
