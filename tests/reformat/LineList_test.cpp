// The line list against a plain vector: the same random erases and inserts,
// at the front, the back and in between, give the same lines.
#include "reformat/LineList.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace nimbrel {
namespace {

std::vector<std::int32_t> Levels(const LineList& lines) {
    std::vector<std::int32_t> levels;
    for (const QuoteLine& line : lines)
        levels.push_back(line.level);
    return levels;
}

TEST(LineList, EditsLikeAVector) {
    std::mt19937 random(11);
    for (std::size_t room : {0u, 4u}) {
        LineList lines;
        lines.Reset(room);
        std::vector<std::int32_t> model;
        std::int32_t next = 0;
        for (int step = 0; step < 3000; ++step) {
            SCOPED_TRACE(testing::Message() << "room " << room << ", step " << step);
            const auto size = static_cast<std::ptrdiff_t>(model.size());
            // Positions near the front are drawn as often as any other.
            const std::ptrdiff_t at = random() % 2 == 0 ? random() % 3 : random() % (size + 1);
            const std::ptrdiff_t position = std::min(at, size);
            const auto count = static_cast<std::ptrdiff_t>(random() % 4);
            switch (random() % 4) {
                case 0: {
                    const std::ptrdiff_t last = std::min(position + count, size);
                    const auto it = lines.erase(lines.begin() + position, lines.begin() + last);
                    model.erase(model.begin() + position, model.begin() + last);
                    EXPECT_EQ(it - lines.begin(), position);
                    break;
                }
                case 1: {
                    const auto it =
                        lines.insert(lines.begin() + position, static_cast<std::size_t>(count),
                                     QuoteLine{u"", next});
                    model.insert(model.begin() + position, static_cast<std::size_t>(count), next++);
                    EXPECT_EQ(it - lines.begin(), position);
                    break;
                }
                case 2: {
                    // A stretch of the list's own lines, put back at the end.
                    const std::ptrdiff_t last = std::min(position + count, size);
                    lines.insert(lines.end(), lines.begin() + position, lines.begin() + last);
                    const std::vector<std::int32_t> copied(model.begin() + position,
                                                           model.begin() + last);
                    model.insert(model.end(), copied.begin(), copied.end());
                    break;
                }
                default:
                    lines.push_back(QuoteLine{u"", next});
                    model.push_back(next++);
                    break;
            }
            ASSERT_EQ(Levels(lines), model);
            ASSERT_EQ(lines.size(), model.size());
        }
    }
}

}  // namespace
}  // namespace nimbrel
