// The block searches against the plain ones of the standard library, on
// every start position of texts of every length around the block size,
// made of a few units so that matches fall everywhere in a block.
#include "shell/TextSearch.h"

#include <gtest/gtest.h>

#include <random>

namespace nimbrel {
namespace {

TEST(TextSearch, FindsWhatTheStandardSearchesFind) {
    std::mt19937 random(7);
    const StringView alphabet = u"ab<w. \n";
    for (std::size_t length = 0; length <= 70; ++length) {
        for (int round = 0; round < 20; ++round) {
            String text;
            // Some texts hold few matches, others many.
            const std::size_t spread = round % 2 == 0 ? alphabet.size() : 2;
            for (std::size_t i = 0; i < length; ++i)
                text += alphabet[random() % spread == 0 ? random() % alphabet.size() : 0];
            const StringView view = text;
            for (std::size_t from = 0; from <= length + 1; ++from) {
                SCOPED_TRACE(testing::Message()
                             << "text \"" << std::string(text.begin(), text.end()) << "\" from "
                             << from);
                EXPECT_EQ(FindUnit(view, from, u'<'), view.find(u'<', from));
                EXPECT_EQ(FindAnyUnit(view, from, std::array<char16_t, 3>{u'w', u'\n', u'.'}),
                          view.find_first_of(u"w\n.", from));
                EXPECT_EQ(FindUnitPair(view, from, u'w', u'w'), view.find(u"ww", from));
                EXPECT_EQ(FindText(view, from, u"www."), view.find(u"www.", from));
                EXPECT_EQ(FindText(view, from, u"b"), view.find(u"b", from));
            }
        }
    }
}

}  // namespace
}  // namespace nimbrel
