#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nimbrel {
namespace {

TEST(Settings, DefaultTemplatesAreTerminatedAndZeroFilled) {
    const Settings s = Settings::Defaults();
    const std::u16string email(s.emailHeader.text);
    EXPECT_EQ(email.size(), 36u);
    for (int i = 36; i < kTemplateUnits; ++i)
        EXPECT_EQ(s.emailHeader.text[i], 0) << i;
    unsigned char bytes[sizeof(Settings)];
    std::memcpy(bytes, &s, sizeof s);
    EXPECT_EQ(bytes[0], 0x48);
    EXPECT_EQ(bytes[4], 0x3E);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 0);
}

TEST(Settings, WrapColumnClamp) {
    const struct {
        int in, out;
    } cases[] = {{40, 60}, {59, 60}, {60, 60}, {72, 72}, {132, 132}, {133, 132}, {200, 132}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampWrapColumn(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace nimbrel
