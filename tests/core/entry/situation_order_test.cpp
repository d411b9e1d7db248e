#include "core/entry/situation_order.h"

#include <gtest/gtest.h>

namespace pairly::entry {
namespace {

TEST(SituationOrder, DragPlacesTheEntryBeforeTheReleaseTarget) {
    using List = std::vector<std::string>;
    struct Case {
        int press, release;
        List expected;
        bool changed;
    } cases[] = {
        {0, 2, {"B", "A", "C", "D"}, true},   // A onto C
        {3, 1, {"A", "D", "B", "C"}, true},   // D onto B
        {0, 3, {"B", "C", "A", "D"}, true},   // A onto D
        {3, 0, {"D", "A", "B", "C"}, true},   // D onto A
        {2, 1, {"A", "C", "B", "D"}, true},   // C onto B
        {0, 1, {"A", "B", "C", "D"}, false},  // onto its own successor
        {2, 2, {"A", "B", "C", "D"}, false},  // onto itself
        {-1, 2, {"A", "B", "C", "D"}, false}, {1, 4, {"A", "B", "C", "D"}, false},
    };
    for (const Case& c : cases) {
        List items{"A", "B", "C", "D"};
        EXPECT_EQ(moveSituationByDrag(items, c.press, c.release), c.changed)
            << c.press << "->" << c.release;
        EXPECT_EQ(items, c.expected) << c.press << "->" << c.release;
    }
    List empty;
    EXPECT_FALSE(moveSituationByDrag(empty, 0, 0));
}

}  // namespace
}  // namespace pairly::entry
