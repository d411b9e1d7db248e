#include "core/printing/record_sheet.h"

#include <cstdio>

namespace pairly::printing {

RecordSheet buildRecordSheet() {
    RecordSheet sheet;
    for (int x : {3770, 7540}) sheet.lines.push_back({x, 0, x, 17000});
    for (int y : {4050, 8100, 12150}) sheet.lines.push_back({0, y, 12000, y});
    // A text keeps 100 twips from both sides of its box.
    constexpr int kInset = 100;
    constexpr int kTextWidth = kSheetBoxWidth - 2 * kInset;
    for (int c = 0; c <= 2; ++c)
        for (int r = 0; r <= 3; ++r)
            sheet.texts.push_back({c * kSheetBoxWidth + kInset, r * kSheetBoxHeight + kInset,
                                   kSheetDateFrame, kTextWidth});
    for (int c = 0; c <= 2; ++c)
        for (int r = 0; r <= 3; ++r)
            for (int n = 0; n <= 9; ++n)
                sheet.texts.push_back({c * kSheetBoxWidth + kInset,
                                       r * kSheetBoxHeight + n * 300 + 500, kSheetEntryLine,
                                       kTextWidth});
    return sheet;
}

std::string printFileName(std::string_view kind, const text::Date& day, int secondsSinceMidnight,
                          int copy) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d_%02d%02d%02d", day.year, day.month, day.day,
                  secondsSinceMidnight / 3600, secondsSinceMidnight / 60 % 60,
                  secondsSinceMidnight % 60);
    std::string name(kind);
    name += stamp;
    if (copy > 1) {
        name += '_';
        name += std::to_string(copy);
    }
    return name + ".pdf";
}

}  // namespace pairly::printing
