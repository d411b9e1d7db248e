#include "core/trend/forecast.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "core/text/dates.h"

namespace pairly::trend {

namespace {

constexpr int kWindowDays = 14;
constexpr int kWindowMinimumDays = 4;
constexpr double kFlatSlope = -0.005;  // kg per day: slower than this is no progress
// Half the width of an 80 % range in standard errors.
constexpr double kRangeZ = 1.28;
constexpr int kStallDays = 21;
// Beyond this many days a date says nothing (and would leave the calendar's range).
constexpr double kLongestForecastDays = 99999;

// A forecast sentence of the rules that speak of the goal's date.
std::string dated(std::string_view words) { return "目標到達予定：" + std::string(words); }

std::string dateText(int dayNumber) { return text::formatDate(text::dateFromDayNumber(dayNumber)); }

}  // namespace

std::vector<TrendDay> dailyTrend(const std::vector<store::MeasurementRecord>& log) {
    struct Weighing {
        int day;
        double weight;
    };
    std::vector<Weighing> weighings;
    weighings.reserve(log.size());
    for (const store::MeasurementRecord& r : log) {
        const auto date = text::parseDate(r.date);
        if (!date || !std::isfinite(r.weight) || r.weight <= 0) continue;
        weighings.push_back({text::dayNumber(*date), static_cast<double>(r.weight)});
    }
    // Stable: a day's weights keep their log order (the mean does not care, but it keeps the
    // sum the same whatever the order of other days).
    if (!std::is_sorted(weighings.begin(), weighings.end(),
                        [](const Weighing& a, const Weighing& b) { return a.day < b.day; }))
        std::stable_sort(weighings.begin(), weighings.end(),
                         [](const Weighing& a, const Weighing& b) { return a.day < b.day; });

    std::vector<TrendDay> days;
    for (std::size_t i = 0; i < weighings.size();) {
        const int day = weighings[i].day;
        double sum = 0;
        std::size_t n = 0;
        for (; i < weighings.size() && weighings[i].day == day; ++i, ++n)
            sum += weighings[i].weight;
        const double mean = sum / static_cast<double>(n);
        double trend = mean;
        if (!days.empty()) {
            const int gap = day - days.back().dayNumber;
            const double alpha = 1.0 - std::pow(0.9, gap);
            trend = days.back().trend + alpha * (mean - days.back().trend);
        }
        days.push_back({day, mean, trend});
    }
    return days;
}

chart::Series trendPerWeighing(const std::vector<store::MeasurementRecord>& log,
                               const std::vector<TrendDay>& days) {
    chart::Series out(log.size(), std::numeric_limits<double>::quiet_NaN());
    // Logs are in date order as a rule: the day of the previous record is tried first, so a
    // long log is one pass; out of order, a binary search finds the day.
    std::size_t at = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const store::MeasurementRecord& r = log[i];
        const auto date = text::parseDate(r.date);
        if (!date || !std::isfinite(r.weight) || r.weight <= 0) continue;
        const int day = text::dayNumber(*date);
        if (at >= days.size() || days[at].dayNumber != day) {
            if (at + 1 < days.size() && days[at + 1].dayNumber == day) {
                ++at;
            } else {
                const auto found =
                    std::lower_bound(days.begin(), days.end(), day,
                                     [](const TrendDay& d, int n) { return d.dayNumber < n; });
                if (found == days.end() || found->dayNumber != day) continue;
                at = static_cast<std::size_t>(found - days.begin());
            }
        }
        out[i] = days[at].trend;
    }
    return out;
}

namespace {

// The days of the trend up to today, newest first: [rbegin, end of the days before today).
auto lastDayUpTo(const std::vector<TrendDay>& days, int today) {
    auto it = days.rbegin();
    while (it != days.rend() && it->dayNumber > today) ++it;
    return it;
}

// Whole days to cover `gap` kilos at `perDay` (< 0) a day. A quotient that is a whole
// number but for the last bits of the division does not make a day more.
double daysToCover(double gap, double perDay) { return std::ceil(gap / -perDay - 1e-9); }

int oneYearAfter(const text::Date& today) {
    text::Date next{today.year + 1, today.month, today.day};
    if (!text::isValidDate(next)) next.day = text::daysInMonth(next.year, next.month);
    return text::dayNumber(next);
}

// The fan line from `from` toward (day, target), ending at `cut` when it would go further.
FanPoint fanEnd(const FanPoint& from, int day, double target, int cut) {
    if (day <= cut || day <= from.dayNumber) return {day, target};
    const double share = static_cast<double>(cut - from.dayNumber) / (day - from.dayNumber);
    return {cut, from.weight + (target - from.weight) * share};
}

}  // namespace

std::optional<WindowFit> fitWindow(const std::vector<TrendDay>& days, const text::Date& today) {
    const int last = text::dayNumber(today);
    const int first = last - (kWindowDays - 1);
    const auto newest = lastDayUpTo(days, last);
    // Days relative to today keep the sums small.
    double st = 0, sy = 0;
    int n = 0;
    for (auto it = newest; it != days.rend() && it->dayNumber >= first; ++it, ++n) {
        st += it->dayNumber - last;
        sy += it->mean;
    }
    if (n < kWindowMinimumDays) return std::nullopt;
    const double mt = st / n, my = sy / n;
    double stt = 0, sty = 0;
    for (auto it = newest; it != days.rend() && it->dayNumber >= first; ++it) {
        const double dt = (it->dayNumber - last) - mt;
        stt += dt * dt;
        sty += dt * (it->mean - my);
    }
    WindowFit fit;
    fit.days = n;
    fit.slope = sty / stt;  // n >= 4 distinct days: stt > 0
    double sse = 0;
    for (auto it = newest; it != days.rend() && it->dayNumber >= first; ++it) {
        const double residual = it->mean - (my + fit.slope * ((it->dayNumber - last) - mt));
        sse += residual * residual;
    }
    fit.residualSd = std::sqrt(sse / (n - 2));
    fit.standardError = fit.residualSd / std::sqrt(stt);
    return fit;
}

const char* forecastWords(ForecastKind kind) {
    switch (kind) {
        case ForecastKind::TooFewDays:
            return "データ不足（この2週間の測定が4日未満）";
        case ForecastKind::NotApproaching:
            return "今のペースでは目標に近づいていません";
        case ForecastKind::NoOutlook:
            return "見通しが立ちません（この2週間の変化がまだ小さく、ばらついています）";
        default:
            return "";
    }
}

namespace {

void forecastTexts(GoalForecast& out, const std::vector<TrendDay>& days, double goal,
                   const text::Date& today) {
    if (!(goal > 0)) return;
    const int todayNumber = text::dayNumber(today);
    const std::optional<WindowFit> fit = fitWindow(days, today);
    auto say = [&out](ForecastKind kind, std::string sentence) {
        out.kind = kind;
        out.forecast = std::move(sentence);
    };
    if (!fit) return say(ForecastKind::TooFewDays, dated(forecastWords(ForecastKind::TooFewDays)));
    const TrendDay& last = *lastDayUpTo(days, todayNumber);  // the window holds a day
    if (last.trend <= goal) return say(ForecastKind::Reached, "目標体重を達成しています！");
    if (fit->slope >= kFlatSlope)
        return say(ForecastKind::NotApproaching, forecastWords(ForecastKind::NotApproaching));
    const double margin = kRangeZ * fit->standardError;
    const double slowest = fit->slope + margin;
    const double gap = last.trend - goal;
    const double likely = daysToCover(gap, fit->slope);
    const double early = daysToCover(gap, fit->slope - margin);
    const double late = slowest < kFlatSlope ? daysToCover(gap, slowest) : 0;
    // A late end centuries away says no more than no end at all.
    if (slowest >= kFlatSlope || !(late <= kLongestForecastDays))
        return say(ForecastKind::NoOutlook, dated(forecastWords(ForecastKind::NoOutlook)));

    out.likelyDay = last.dayNumber + static_cast<int>(likely);
    out.earlyDay = last.dayNumber + static_cast<int>(early);
    out.lateDay = last.dayNumber + static_cast<int>(late);
    out.daysLeft = out.likelyDay - todayNumber;
    const std::string range =
        "早ければ " + dateText(out.earlyDay) + "、遅ければ " + dateText(out.lateDay) + "）";
    const std::string left = out.daysLeft > 0 ? "あと約" + std::to_string(out.daysLeft) + "日。"
                                              : std::string("もう届いているころです。");
    say(ForecastKind::Dated, dated(dateText(out.likelyDay) + "頃（" + left + range));

    const FanPoint from{last.dayNumber, last.trend};
    const int cut = oneYearAfter(today);
    out.fan =
        ForecastFan{from,
                    {fanEnd(from, out.likelyDay, goal, cut), fanEnd(from, out.earlyDay, goal, cut),
                     fanEnd(from, out.lateDay, goal, cut)}};
}

}  // namespace

GoalForecast forecastGoal(const std::vector<TrendDay>& days, float targetWeight,
                          const text::Date& today) {
    GoalForecast out;
    const double goal = targetWeight;
    forecastTexts(out, days, goal, today);
    if (days.empty()) return out;

    const double last = days.back().trend;
    const int lastDay = days.back().dayNumber;
    if (last > goal) {
        // The latest day of the lowest trend: reaching the low again is no stall.
        const TrendDay* lowest = &days.front();
        for (const TrendDay& d : days)
            if (d.trend <= lowest->trend) lowest = &d;
        const int since = lastDay - lowest->dayNumber;
        if (since >= kStallDays)
            out.stall = "停滞中：トレンド最低値（" + dateText(lowest->dayNumber) + "）から" +
                        std::to_string(since) + "日";
    }
    return out;
}

}  // namespace pairly::trend
