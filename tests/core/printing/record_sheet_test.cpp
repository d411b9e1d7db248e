#include "core/printing/record_sheet.h"

#include <gtest/gtest.h>

#include <map>

namespace pairly::printing {
namespace {

TEST(RecordSheet, TwelveBoxesEachWithADateFrameAndTenEntryLines) {
    const RecordSheet sheet = buildRecordSheet();
    const std::vector<SheetLine> lines = {{3770, 0, 3770, 17000},
                                          {7540, 0, 7540, 17000},
                                          {0, 4050, 12000, 4050},
                                          {0, 8100, 12000, 8100},
                                          {0, 12150, 12000, 12150}};
    EXPECT_EQ(sheet.lines, lines);
    EXPECT_EQ(sheet.fontPoints, 11);
    ASSERT_EQ(sheet.texts.size(), 12u + 120u);

    // Count what lies in each box, and that nothing may run into the next box.
    std::map<std::pair<int, int>, std::pair<int, int>> perBox;  // (c, r) -> (frames, lines)
    for (const SheetText& t : sheet.texts) {
        const int c = t.x / kSheetBoxWidth, r = t.y / kSheetBoxHeight;
        EXPECT_LE(t.x + t.maxWidth, (c + 1) * kSheetBoxWidth);
        if (t.text == kSheetDateFrame) ++perBox[{c, r}].first;
        if (t.text == kSheetEntryLine) ++perBox[{c, r}].second;
    }
    ASSERT_EQ(perBox.size(), 12u);
    for (const auto& [box, counts] : perBox) {
        EXPECT_EQ(counts.first, 1) << box.first << "," << box.second;
        EXPECT_EQ(counts.second, 10) << box.first << "," << box.second;
    }
    // Columns outer: the frames go down the first column first; entry lines 300 twips apart.
    EXPECT_EQ(sheet.texts[1], (SheetText{100, 4150, kSheetDateFrame, 3570}));
    EXPECT_EQ(sheet.texts[4], (SheetText{3870, 100, kSheetDateFrame, 3570}));
    EXPECT_EQ(sheet.texts[12], (SheetText{100, 500, kSheetEntryLine, 3570}));
    EXPECT_EQ(sheet.texts[13], (SheetText{100, 800, kSheetEntryLine, 3570}));
    EXPECT_EQ(sheet.texts.back(), (SheetText{7640, 15350, kSheetEntryLine, 3570}));
    // The texts themselves: full-width brackets, ideographic and ordinary spaces.
    const auto blanks = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "\u3000";
        return s;
    };
    EXPECT_EQ(std::string(kSheetDateFrame), "＜" + blanks(3) + "／" + blanks(3) + "＞");
    EXPECT_EQ(std::string(kSheetEntryLine),
              "（" + blanks(3) + "  " + blanks(12) + "  " + blanks(5) + "）");
}

TEST(RecordSheet, PdfNamesCarryDateAndTime) {
    const struct {
        const char* kind;
        text::Date day;
        int seconds, copy;
        const char* name;
    } cases[] = {
        {"用紙印刷", {2026, 12, 7}, 7 * 3600 + 5 * 60 + 9, 1, "用紙印刷_20261207_070509.pdf"},
        {"画面印刷", {2027, 1, 31}, 23 * 3600 + 59 * 60 + 59, 1, "画面印刷_20270131_235959.pdf"},
        {"画面印刷", {2027, 1, 31}, 0, 3, "画面印刷_20270131_000000_3.pdf"},
    };
    for (const auto& c : cases) EXPECT_EQ(printFileName(c.kind, c.day, c.seconds, c.copy), c.name);
}

}  // namespace
}  // namespace pairly::printing
