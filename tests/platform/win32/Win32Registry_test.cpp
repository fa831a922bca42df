// The Win32 registry reading on a value of our own in HKEY_CURRENT_USER
// (run under Wine). The predefined roots must reach the real ones on 64-bit
// Windows too, where they are sign-extended.
#ifdef _WIN32

#include "platform/win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace nimbrel {
namespace {

constexpr const char* kTestKey = "Software\\NimbrelTest\\Win32Registry";

class Win32RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        // Stored without a NUL, as a value written by hand may be.
        const char path[] = "C:\\Programs\\Nimbrel\\uninstall.exe";
        ::RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                         sizeof path - 1);
        ::RegCloseKey(key);
    }
    void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

    Win32Registry registry;
};

TEST_F(Win32RegistryTest, ReadsAValueThroughThePredefinedRoot) {
    RegistryKey key = kNoKey;
    ASSERT_EQ(registry.RegOpenKeyExA(kHkeyCurrentUser, kTestKey, 0, reg::kQueryValue, key),
              reg::kSuccess);
    ASSERT_NE(key, kNoKey);

    std::uint8_t data[260] = {};
    std::uint32_t size = sizeof data;
    std::uint32_t type = reg::kTypeNone;
    ASSERT_EQ(registry.RegQueryValueExA(key, "UninstallString", &type, data, &size), reg::kSuccess);
    EXPECT_EQ(type, reg::kTypeString);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data)),
              "C:\\Programs\\Nimbrel\\uninstall.exe");

    std::uint32_t needed = 0;
    EXPECT_EQ(registry.RegQueryValueExA(key, "UninstallString", nullptr, nullptr, &needed),
              reg::kSuccess);
    EXPECT_GE(needed, 33u);
    std::uint8_t small[4];
    std::uint32_t smallSize = sizeof small;
    EXPECT_EQ(registry.RegQueryValueExA(key, "UninstallString", nullptr, small, &smallSize),
              reg::kMoreData);
    EXPECT_EQ(smallSize, needed);

    std::uint32_t missingSize = sizeof data;
    EXPECT_EQ(registry.RegQueryValueExA(key, "Missing", nullptr, data, &missingSize),
              reg::kFileNotFound);
    EXPECT_EQ(registry.RegCloseKey(key), reg::kSuccess);
}

TEST_F(Win32RegistryTest, AMissingKeyIsReported) {
    RegistryKey key = kNoKey;
    EXPECT_EQ(registry.RegOpenKeyExA(kHkeyLocalMachine, "Software\\NimbrelTest\\Does\\Not\\Exist",
                                     0, reg::kQueryValue, key),
              reg::kFileNotFound);
    EXPECT_EQ(key, kNoKey);
}

}  // namespace
}  // namespace nimbrel

#endif  // _WIN32
