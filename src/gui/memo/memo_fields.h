#pragma once
// What the comment screen's two source files share: the correction panel's fields and the
// texts of a record's values as the panel shows them.
#include <QString>
#include <string>

#include "core/text/numbers.h"
#include "gui/widgets/text.h"

namespace pairly::gui::memo::memo_detail {

using widgets::q;

// The correction panel's fields, captioned as on the entry screen: the date, the
// situation, then the seven values in entry order.
struct CorrectionField {
    const char* name;
    const char* caption;
};
inline constexpr CorrectionField kCorrectionFields[9] = {
    {"txtSyuDate", "日付"}, {"txtSyuJyou", "状況"},   {"txtSyuTai", "体重"},
    {"txtSyuShi", "体脂"},  {"txtSyuTaisya", "代謝"}, {"txtSyuNaizo", "内脂"},
    {"txtSyuKinr", "筋量"}, {"txtSyuKins", "筋ス"},   {"txtSyuKotu", "骨量"},
};
inline constexpr int kCorrectionDate = 0;
inline constexpr int kCorrectionSituation = 1;
inline constexpr int kCorrectionFirstValue = 2;

inline QString integerText(int value) { return QString::number(value); }
inline QString valueText(float value) { return q(text::floatText(value)); }

}  // namespace pairly::gui::memo::memo_detail
