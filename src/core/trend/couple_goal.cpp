#include "core/trend/couple_goal.h"

#include <algorithm>

#include "core/text/dates.h"

namespace pairly::trend {

namespace {

using trend::ForecastKind;

std::string dateText(int dayNumber) { return text::formatDate(text::dateFromDayNumber(dayNumber)); }

bool hasTarget(const PartnerGoal& p) {
    return p.targetWeight > 0 && p.forecast.kind != ForecastKind::NoTarget;
}
bool reached(const PartnerGoal& p) { return p.forecast.kind == ForecastKind::Reached; }
bool dated(const PartnerGoal& p) { return p.forecast.kind == ForecastKind::Dated; }

// "nicknameさんは" and why the partner has no date.
std::string withoutDate(const PartnerGoal& p) {
    return p.nickname + "さんは" + trend::forecastWords(p.forecast.kind);
}

std::string alone(const PartnerGoal& p) {
    if (reached(p)) return p.nickname + "さんは目標達成！";
    const std::string head = p.nickname + "さんが目標に届く見込み：";
    if (dated(p)) return head + dateText(p.forecast.likelyDay) + "頃";
    return head + trend::forecastWords(p.forecast.kind);
}

}  // namespace

std::string coupleGoalText(const PartnerGoal& partner1, const PartnerGoal& partner2) {
    if (!hasTarget(partner1) && !hasTarget(partner2)) return "";
    if (!hasTarget(partner1)) return alone(partner2);
    if (!hasTarget(partner2)) return alone(partner1);

    if (reached(partner1) && reached(partner2)) return "ふたりとも目標達成！";
    for (const PartnerGoal* p : {&partner1, &partner2})
        if (reached(*p)) return p->nickname + "さんは目標達成！ もう一人を応援しましょう";

    const std::string head = "ふたりそろって目標に届く見込み：";
    if (dated(partner1) && dated(partner2)) {
        const int day1 = partner1.forecast.likelyDay, day2 = partner2.forecast.likelyDay;
        const std::string both = head + dateText(std::max(day1, day2)) + "頃。";
        if (day1 == day2) return both + "ふたり同時に到達しそうです";
        return both + (day1 < day2 ? partner1 : partner2).nickname + "さんが先に到達しそうです";
    }
    std::string reasons;
    for (const PartnerGoal* p : {&partner1, &partner2}) {
        if (dated(*p)) continue;
        if (!reasons.empty()) reasons += "、";
        reasons += withoutDate(*p);
    }
    return head + reasons;
}

}  // namespace pairly::trend
