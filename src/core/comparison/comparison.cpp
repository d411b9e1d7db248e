#include "core/comparison/comparison.h"

#include <algorithm>
#include <cmath>

#include "core/comparison/fair_comparison.h"
#include "core/text/numbers.h"

namespace pairly::comparison {

const std::array<const char*, 8> kStatisticsCaptions = {
    "",
    "トータル測定回数",
    "開始日→経過日数",
    "一日平均測定回数",
    "初日からの最高記録",
    "今現在（最終記録）",
    "目標までの残",
    "減量率（スタート比）",
};

const char* const kLossShareExplanation =
    "体格の違う二人でも公平に比べられるよう、スタート時の体重の何％を減らしたかで比べます。";

namespace {

using text::formatNumber;
using text::kg;

void markLarger(StatisticsRow& row, double a, double b) {
    row.mark1 = a >= b;
    row.mark2 = b >= a;
}

// The differences are compared as single-precision values.
void markSmaller(StatisticsRow& row, double a, double b) {
    const float fa = static_cast<float>(a);
    const float fb = static_cast<float>(b);
    row.mark1 = fa <= fb;
    row.mark2 = fb <= fa;
}

struct Figures {
    int days = 0;     // last date − first date
    float rate = 0;   // measurements per day
    double best = 0;  // minimum − first weight
    double now = 0;   // last − first weight
    double toGo = 0;  // last − target weight
};

Figures figuresOf(const PartnerSummary& s, float target) {
    Figures f;
    f.days = text::daysBetween(s.firstDate, s.lastDate);
    // A log out of date order can end before it starts; count at least the one day.
    const int spanDays = std::max(f.days + 1, 1);
    f.rate = static_cast<float>(s.count) / static_cast<float>(spanDays);
    f.best = static_cast<double>(s.minimumWeight) - static_cast<double>(s.firstWeight);
    f.now = static_cast<double>(s.lastWeight) - static_cast<double>(s.firstWeight);
    f.toGo = static_cast<double>(s.lastWeight) - static_cast<double>(target);
    return f;
}

std::string countText(int count, float share) {
    return std::to_string(count) + " 回" + "  ( " + formatNumber(share, "0.0") + "% )";
}

void fillTexts(std::array<StatisticsRow, 8>& rows, std::string StatisticsRow::*column,
               const PartnerSummary& s, const Figures& f, float target) {
    if (!s.hasRecords) {
        for (int i = 2; i <= 6; ++i) rows[static_cast<std::size_t>(i)].*column = kNoFigure;
        return;
    }
    rows[2].*column =
        text::formatDate(s.firstDate, "YY/MM/DD") + " → " + std::to_string(f.days) + "日";
    rows[3].*column = formatNumber(f.rate, "0.00") + " 回 / 日";
    rows[4].*column = kg(s.minimumWeight) + " ( " + kg(f.best) + " )";
    rows[5].*column = kg(s.lastWeight) + " ( " + kg(f.now) + " )";
    rows[6].*column = formatNumber(target, "0.0Kgまで") + " ( " + kg(f.toGo) + " )";
}

}  // namespace

ComparisonModel buildComparison(const ComparisonInput& input) {
    ComparisonModel m;
    const std::vector<DatedWeight> log1 = datedWeights(input.log1);
    const std::vector<DatedWeight> log2 = datedWeights(input.log2);
    const PartnerSummary s1 = summarizePartner(log1);
    const PartnerSummary s2 = summarizePartner(log2);

    m.rows[0].text1 = input.name1;
    m.rows[0].text2 = input.name2;
    m.daily = buildDailyAverages(log1, log2);

    if (!s1.hasRecords && !s2.hasRecords) {
        for (std::size_t i = 1; i < m.rows.size(); ++i) {
            m.rows[i].text1 = kNoFigure;
            m.rows[i].text2 = kNoFigure;
        }
        return m;
    }

    const int total = s1.count + s2.count;
    m.share1 = static_cast<float>(static_cast<double>(s1.count) / total * 100);
    m.share2 = static_cast<float>(100 - static_cast<double>(m.share1));
    m.rows[1].text1 = countText(s1.count, m.share1);
    m.rows[1].text2 = countText(s2.count, m.share2);
    markLarger(m.rows[1], s1.count, s2.count);

    const Figures f1 = figuresOf(s1, input.target1);
    const Figures f2 = figuresOf(s2, input.target2);
    fillTexts(m.rows, &StatisticsRow::text1, s1, f1, input.target1);
    fillTexts(m.rows, &StatisticsRow::text2, s2, f2, input.target2);

    // The same kilograms are more of a lighter body: the share of the start weight.
    const std::optional<double> loss1 = lossShare(input.log1), loss2 = lossShare(input.log2);
    m.rows[7].text1 = lossShareText(loss1);
    m.rows[7].text2 = lossShareText(loss2);
    const ShareMarks lossMarks = lossShareMarks(loss1, loss2);
    m.rows[7].mark1 = lossMarks.mark1;
    m.rows[7].mark2 = lossMarks.mark2;

    // With one partner alone there is nothing to win beyond the count.
    if (s1.hasRecords && s2.hasRecords) {
        markLarger(m.rows[2], f1.days, f2.days);
        markLarger(m.rows[3], f1.rate, f2.rate);
        markSmaller(m.rows[4], f1.best, f2.best);
        markSmaller(m.rows[5], f1.now, f2.now);
        markSmaller(m.rows[6], f1.toGo, f2.toGo);
    }
    return m;
}

int shareBarWidth(int referenceWidth, float share1) {
    if (!std::isfinite(share1) || referenceWidth <= 0) return 0;
    const double width = text::intFloor(referenceWidth * static_cast<double>(share1) / 100.0);
    if (width < 0) return 0;
    if (width > referenceWidth) return referenceWidth;
    return static_cast<int>(width);
}

}  // namespace pairly::comparison
