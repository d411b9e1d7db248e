#pragma once
// The blank weight record sheet, in twips from the top-left corner of the printable area:
// twelve boxes (three columns, four rows), each with a date frame and ten entry lines.
#include <string>
#include <string_view>
#include <vector>

#include "core/text/dates.h"

namespace pairly::printing {

struct SheetLine {
    int x1, y1, x2, y2;
    bool operator==(const SheetLine&) const = default;
};

// A text with its top-left corner at (x, y). It must not run wider than maxWidth, or it
// would cross into the next box.
struct SheetText {
    int x, y;
    std::string text;
    int maxWidth;
    bool operator==(const SheetText&) const = default;
};

struct RecordSheet {
    std::vector<SheetLine> lines;
    std::vector<SheetText> texts;
    double fontPoints = 11;
};

inline constexpr int kSheetBoxWidth = 3770;
inline constexpr int kSheetBoxHeight = 4050;
inline constexpr const char* kSheetDateFrame = "＜　　　／　　　＞";
inline constexpr const char* kSheetEntryLine = "（　　　  　　　　　　　　　　　　  　　　　　）";

RecordSheet buildRecordSheet();

// Name of the PDF a print goes into when no printer is set up, e.g.
// "用紙印刷_20261207_070509.pdf"; a second file of the same second gets "_2" and so on.
std::string printFileName(std::string_view kind, const text::Date& day, int secondsSinceMidnight,
                          int copy = 1);

}  // namespace pairly::printing
