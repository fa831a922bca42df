#include "shell/CrtRandom.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

TEST(CrtRandom, SequenceOfTheCRuntime) {
    // The sequence every C runtime of this family gives for srand(1) / srand(0).
    CrtRandom random;
    for (const int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(random.Next(), expected);
    random.Seed(0);
    EXPECT_EQ(random.Next(), 38);
    EXPECT_EQ(random.Next(), 7719);
}

}  // namespace
}  // namespace nimbrel
