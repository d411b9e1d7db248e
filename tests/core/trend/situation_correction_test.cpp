#include "core/trend/situation_correction.h"

#include <gtest/gtest.h>

namespace pairly::trend {
namespace {

using store::MeasurementRecord;

const text::Date kToday{2026, 12, 7};

MeasurementRecord at(int offset, const char* situation, float weight) {
    MeasurementRecord r;
    r.date = text::formatDate(text::addDays(kToday, offset));
    r.situation = situation;
    r.weight = weight;
    return r;
}

// 朝食前 and 起床後 are first on three days of the last 90 each, 朝食前 once more 90 days back;
// with 起床後 夕食後 has +0.7 +1.1 +0.8 +0.5 +1.0 +1.2 (firsts of a day), 就寝前 four days.
const std::vector<MeasurementRecord> kLog = {
    at(-200, "夕食後", 61.0f), at(-90, "朝食前", 60.0f), at(-90, "起床後", 59.0f),
    at(-90, "就寝前", 60.0f),  at(-80, "朝食前", 60.3f), at(-80, "起床後", 60.0f),
    at(-80, "夕食後", 60.7f),  at(-80, "就寝前", 61.0f), at(-79, "朝食前", 60.1f),
    at(-79, "起床後", 60.0f),  at(-79, "夕食後", 61.1f), at(-78, "朝食前", 60.2f),
    at(-70, "起床後", 60.0f),  at(-70, "夕食後", 60.8f), at(-70, "夕食後", 61.5f),
    at(-70, "就寝前", 61.3f),  at(-60, "起床後", 60.0f), at(-60, "起床後", 59.0f),
    at(-60, "夕食後", 60.5f),  at(-50, "起床後", 60.0f), at(-50, "夕食後", 61.0f),
    at(-50, "就寝前", 61.2f),  at(-50, "散歩後", 60.4f), at(-40, "夕食後", 61.0f),
    at(-10, "夕食後", 61.2f),  at(-10, "起床後", 60.0f), at(-10, "就寝前", 61.4f)};

TEST(SituationCorrection, ReferenceTieMediansAndTheFiveDayMinimum) {
    const auto c = situationCorrection(kLog, {"起床後", "就寝前", "夕食後", "朝食前"}, kToday);
    std::string table;
    for (const CorrectionRow& row : correctionTable(c)) table += row.line() + "/";
    EXPECT_EQ(
        table,
        "起床後  基準/就寝前  データ不足/夕食後  +0.9kg/朝食前  データ不足/散歩後  データ不足/");
    // The tie goes to the earlier of the list; a diary without weighings in 90 days has none.
    EXPECT_EQ(situationCorrection(kLog, {"朝食前", "起床後"}, kToday).reference, "朝食前");
    EXPECT_TRUE(situationCorrection(kLog, {}, {2027, 6, 1}).reference.empty());

    // Every 夕食後 weighs 0.9 less, also before the 90 days; nothing else moves.
    const auto corrected = correctedLog(kLog, c);
    ASSERT_EQ(corrected.size(), kLog.size());
    for (std::size_t i = 0; i < kLog.size(); ++i) {
        const double moved = kLog[i].situation == "夕食後" ? 0.9 : 0;
        EXPECT_NEAR(corrected[i].weight, kLog[i].weight - moved, 1e-4) << i;
    }
}

}  // namespace
}  // namespace pairly::trend
