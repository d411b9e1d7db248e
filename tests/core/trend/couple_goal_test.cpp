#include "core/trend/couple_goal.h"

#include <gtest/gtest.h>

namespace pairly::trend {
namespace {

using K = trend::ForecastKind;

TEST(CoupleGoal, EveryCaseOfTheTwoForecasts) {
    const trend::GoalForecast none{K::NoTarget}, done{K::Reached}, few{K::TooFewDays},
        flat{K::NotApproaching}, vague{K::NoOutlook},
        march{.kind = K::Dated, .likelyDay = text::dayNumber({2027, 3, 1})},
        feb{.kind = K::Dated, .likelyDay = text::dayNumber({2027, 2, 10})};
    const std::string both = "ふたりそろって目標に届く見込み：";
    const struct {
        const trend::GoalForecast &taro, &hanako;
        std::string line;
    } cases[] = {
        {march, feb, both + "2027/03/01頃。はなこさんが先に到達しそうです"},
        {march, march, both + "2027/03/01頃。ふたり同時に到達しそうです"},
        {march, vague,
         both + "はなこさんは見通しが立ちません（この2週間の変化がまだ小さく、ばらついています）"},
        {few, flat,
         both + "たろうさんはデータ不足（この2週間の測定が4日未満）、はなこさんは今のペースでは目標"
                "に近づいていません"},
        {flat, done, "はなこさんは目標達成！ もう一人を応援しましょう"},
        {done, done, "ふたりとも目標達成！"},
        {none, feb, "はなこさんが目標に届く見込み：2027/02/10頃"},
        {flat, none, "たろうさんが目標に届く見込み：今のペースでは目標に近づいていません"},
        {done, none, "たろうさんは目標達成！"},
        {none, none, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(coupleGoalText({"たろう", 60.0f, c.taro}, {"はなこ", 60.0f, c.hanako}), c.line);
}

}  // namespace
}  // namespace pairly::trend
