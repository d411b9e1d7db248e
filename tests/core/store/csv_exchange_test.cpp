#include <gtest/gtest.h>

#include "core/store/codec.h"
#include "core/store/csv_export.h"
#include "core/store/csv_import.h"
#include "core/store/partner_profile.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

MeasurementRecord rec(const std::string& date, const std::string& situation, float weight,
                      const std::string& comment = "") {
    return {date, situation, weight, 0, 0, 0, 0, 0, 0, comment, ""};
}

std::vector<std::string> names(const std::vector<MeasurementRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.date + " " + r.situation + " " + std::to_string(r.weight) + " " +
                      r.comment);
    return out;
}

TEST(CsvExport, AHandMadePairIsWrittenByteForByte) {
    TempFolder folder;
    ASSERT_TRUE(saveProfile(folder.path(), 1, {"はなこ", 158, 50}));
    ASSERT_TRUE(saveProfile(folder.path(), 2, {"Taro, Jr.", 172, 65}));
    ASSERT_TRUE(rewriteLog(folder.path(), 1,
                           {{"2026/12/07", "朝食前", 65.3f, 22.5f, 1523, 9, 48.2f, -1, 3.0f,
                             "7:05:09, 少し増えた", "予備"},
                            {"2026/12/08", "夕食後", 0.1f, 0, 0, 0, 0, 0, 0, "", ""}}));
    ASSERT_TRUE(
        rewriteLog(folder.path(), 2,
                   {{"2026/12/07", "起床後", 72.75f, 18, 1700, 12, 55.5f, 3, 3.2f, "", ""}}));
    // A damaged line is no record and is not exported.
    folder.writeBytes("データ2.txt", folder.readBytes("データ2.txt") + "\"2026/12/08\",\"x\r\n");
    const ExportResult result = exportCsv(folder.path(), folder.path() / "out.csv");
    ASSERT_EQ(result.status, WriteStatus::Ok);
    EXPECT_EQ(result.weighings, 3u);
    EXPECT_EQ(result.damagedLines, 1u);
    EXPECT_EQ(folder.readBytes("out.csv"),
              "\xEF\xBB\xBF"
              "partner,nickname,date,situation,weight,bodyFat,basalMetabolism,visceralFat,"
              "muscleMass,muscleScore,boneMass,comment\r\n"
              "1,はなこ,2026-12-07,朝食前,65.3,22.5,1523,9,48.2,-1,3,\"7:05:09, 少し増えた\"\r\n"
              "1,はなこ,2026-12-08,夕食後,0.1,0,0,0,0,0,0,\r\n"
              "2,\"Taro, Jr.\",2026-12-07,起床後,72.75,18,1700,12,55.5,3,3.2,\r\n");
    // Quotes are doubled, line breaks quoted; nothing else is.
    const std::pair<const char*, const char*> fields[] = {
        {"", ""},
        {"a b", "a b"},
        {"say \"hi\", then", "\"say \"\"hi\"\", then\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"'single'", "'single'"},
    };
    for (const auto& [text, field] : fields) EXPECT_EQ(csvField(text), field) << text;
}

TEST(CsvExport, ALogThatCannotBeReadWholeExportsNothing) {
    TempFolder folder;
    ASSERT_TRUE(rewriteLog(folder.path(), 1, {rec("2026/12/07", "朝食前", 65)}));
    std::filesystem::create_directory(folder.path() / "データ2.txt");  // not a regular file
    const ExportResult result = exportCsv(folder.path(), folder.path() / "out.csv");
    EXPECT_EQ(result.status, WriteStatus::ReadFailed);
    EXPECT_EQ(result.file, "データ2.txt");
    EXPECT_FALSE(folder.exists("out.csv"));
}

TEST(CsvExport, NeverReplacesADataFile) {
    TempFolder folder;
    ASSERT_TRUE(rewriteLog(folder.path(), 1, {rec("2026/12/07", "朝食前", 65)}));
    folder.writeBytes("気付きメモ.TXT", "memo");
    const std::string log = folder.readBytes("データ1.txt");
    for (const char* name : {"データ1.txt", "データ1.TXT", "気付きメモ.txt"}) {
        const ExportResult result = exportCsv(folder.path(), folder.path() / name);
        EXPECT_EQ(result.status, WriteStatus::Refused) << name;
        EXPECT_EQ(result.weighings, 0u);
    }
    EXPECT_EQ(folder.readBytes("データ1.txt"), log);
    EXPECT_EQ(folder.readBytes("気付きメモ.TXT"), "memo");
    // A name the program does not keep is fine, also beside the data files.
    EXPECT_EQ(exportCsv(folder.path(), folder.path() / "データ3.txt").status, WriteStatus::Ok);
}

TEST(CsvImport, ExportThenImportIntoAnEmptyPartnerGivesTheSameRecords) {
    TempFolder from, to;
    const std::vector<MeasurementRecord> records = {
        {"2026/12/07", "朝食前", 65.3f, 22.5f, 1523, 9, 48.2f, -1, 3.0f, "7:05:09, 少し, 増えた",
         ""},
        {"2026/12/07", "夕食後", 1e-3f, 100, -32768, 32767, 600, 0, 0.05f, "", ""},
        {"2026/12/09", "就寝前", 66.125f, 0, 0, 0, 0, 0, 0, "ｶﾀｶﾅ①髙", ""},
    };
    ASSERT_TRUE(rewriteLog(from.path(), 1, records));
    ASSERT_TRUE(rewriteLog(from.path(), 2, {rec("2026/12/01", "朝食前", 80)}));
    ASSERT_EQ(exportCsv(from.path(), to.path() / "both.csv").status, WriteStatus::Ok);

    const ImportRead read = readImport(to.path() / "both.csv", 1);
    EXPECT_EQ(read.format, ImportFormat::OwnCsv);
    EXPECT_TRUE(read.usable());
    EXPECT_EQ(read.otherPartnerRows, 1u);
    EXPECT_EQ(read.rows, records);
    const MergeResult merged = mergeImport(to.path(), 2, read.rows, FileStamp::missing());
    EXPECT_EQ(merged.status, WriteStatus::Ok);
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 0u);
    EXPECT_EQ(to.readBytes("データ2.txt"), from.readBytes("データ1.txt"));
    EXPECT_EQ(merged.stamp, FileStamp::of(to.readBytes("データ2.txt")));
    // The second time everything is there already: nothing is written.
    const MergeResult again =
        mergeImport(to.path(), 2, read.rows, FileStamp::of(to.readBytes("データ2.txt")));
    EXPECT_EQ(again.status, WriteStatus::Ok);
    EXPECT_EQ(again.taken, 0u);
    EXPECT_EQ(again.skipped, 3u);
    EXPECT_FALSE(to.exists("バックアップ"));
}

TEST(CsvImport, OpenScaleColumnsAreFoundByNameAndABadDateStopsTheImport) {
    const std::string file =
        "\"id\",\"comment\",\"muscle\",\"weight\",\"dateTime\",\"fat\",\"bone\",\"water\"\n"
        "1,\"\",\"40.0\",\"70.5\",\"01.12.2026 07:05\",\"22.1\",\"3.1\",\"55\"\n"
        "2,\"after a run, \"\"tired\"\"\",35,64.0,02.12.2026 19:30,,,\n"
        "3,,40,70.5,01.12.2026 07:05,22.1,3.1,55\n"
        "4,,40,70.5,31.11.2026 07:05,22.1,3.1,55\n"
        "5,\"two\nlines\",,71,03.12.2026 21:00:15,,,\n"
        "6,,,,04.12.2026 07:00,,,\n";
    const ImportRead bad = readImportBytes(file, 1);
    EXPECT_EQ(bad.format, ImportFormat::OpenScale);
    EXPECT_EQ(bad.badLines, (std::vector<std::size_t>{5, 8}));
    EXPECT_FALSE(bad.usable());
    EXPECT_NE(importProblemText(bad).find("5、8 行目"), std::string::npos);

    // Without the bad rows: the duplicate row is skipped at the merge.
    std::string good = file;
    good.erase(good.find("4,,40"), good.find("5,\"two") - good.find("4,,40"));
    good.erase(good.find("6,,,"));
    const ImportRead read = readImportBytes(good, 2);
    ASSERT_TRUE(read.usable()) << importProblemText(read);
    ASSERT_EQ(read.rows.size(), 4u);
    EXPECT_EQ(read.rows[0], (MeasurementRecord{"2026/12/01", "インポート", 70.5f, 22.1f, 0, 0,
                                               28.2f, 0, 3.1f, "7:05:00", ""}));
    EXPECT_EQ(read.rows[1], (MeasurementRecord{"2026/12/02", "インポート", 64.0f, 0, 0, 0, 22.4f, 0,
                                               0, "after a run, ”tired”", ""}));
    EXPECT_EQ(read.rows[3].comment, "two lines");

    TempFolder folder;
    ASSERT_TRUE(rewriteLog(folder.path(), 2, {rec("2026/12/02", "朝食前", 64.5f)}));
    const std::string old = folder.readBytes("データ2.txt");
    const MergeResult merged = mergeImport(folder.path(), 2, read.rows, FileStamp::of(old));
    EXPECT_EQ(merged.status, WriteStatus::Ok);
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 1u);
    EXPECT_EQ(
        names(loadLog(folder.path(), 2).records),
        names({read.rows[0], rec("2026/12/02", "朝食前", 64.5f), read.rows[1], read.rows[3]}));
    // The old log is kept before the rewrite.
    EXPECT_EQ(merged.backupName, "データ2_インポート前.txt");
    EXPECT_EQ(folder.readBytes("バックアップ/データ2_インポート前.txt"), old);
}

TEST(CsvImport, FilesAreKnownByTheirContent) {
    struct Case {
        std::string bytes;
        ImportFormat format;
        std::size_t rows;
    };
    const Case cases[] = {
        {std::string(kUtf8Bom) + kCsvHeader + "\r\n1,a,2026-12-01,朝,60,,,,,,,\r\n",
         ImportFormat::OwnCsv, 1},
        {std::string(kCsvHeader) + "\n2,a,2026-12-01,朝,60,,,,,,,\n", ImportFormat::OwnCsv, 0},
        // Saved again by a spreadsheet in Shift-JIS, the date rewritten with slashes.
        {*toCp932(std::string(kCsvHeader) + "\r\n1,はなこ,2026/12/01,朝食前,60,,,,,,,\r\n"),
         ImportFormat::OwnCsv, 1},
        {"dateTime,weight\n01.12.2026 07:00,60\n", ImportFormat::OpenScale, 1},
        {*toCp932(recordLine(rec("2026/12/01", "朝食前", 60)) +
                  recordLine(rec("2026/12/02", "朝食前", 61))),
         ImportFormat::Log, 2},
        {"date,weight\n2026-12-01,60\n", ImportFormat::Unknown, 0},
        {"\"2026/12/01\",\"朝\",60,1,2,3\r\n", ImportFormat::Unknown, 0},  // an old layout
        {"", ImportFormat::Unknown, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const ImportRead read = readImportBytes(c.bytes, 1);
        EXPECT_EQ(read.format, c.format);
        EXPECT_EQ(read.rows.size(), c.rows);
        EXPECT_EQ(read.usable(), c.rows > 0);
        EXPECT_EQ(importProblemText(read).empty(), c.rows > 0);
    }
    TempFolder folder;
    EXPECT_EQ(readImport(folder.path() / "none.csv", 1).status, ReadStatus::Missing);
    EXPECT_FALSE(importProblemText(readImport(folder.path() / "none.csv", 1)).empty());
}

TEST(CsvImport, OwnCsvRowsThatDoNotReadAreToldByLine) {
    const std::string file = std::string(kCsvHeader) +
                             "\r\n1,a,2026-12-01,朝,60,,,,,,,\r\n"
                             "1,a,2026-13-01,朝,60,,,,,,,\r\n"
                             "1,a,2026-12-02,朝,,,,,,,,\r\n"
                             "1,a,2026-12-02,朝,abc,,,,,,,\r\n"
                             "1,a,2026-12-02,朝,60,x,,,,,,\r\n"
                             "1,a,2026-12-02,朝,60,,99999,,,,,\r\n"
                             "3,a,2026-12-02,朝,60,,,,,,,\r\n"
                             "1,a,2026-12-02,\"朝\"\"\",60,,,,,,,\r\n"
                             "1,a,2026-12-02,朝,60,,,,,,,\"a\r\nb\"\r\n"
                             "1,a,2026/12/03,朝,60,,,,,,,\"open\r\n";
    const ImportRead read = readImportBytes(file, 1);
    EXPECT_EQ(read.badLines, (std::vector<std::size_t>{3, 4, 5, 6, 7, 8, 9, 10, 12}));
    EXPECT_EQ(read.rows.size(), 1u);
}

TEST(CsvImport, CsvRowsFollowRfc4180) {
    const auto rows = csvRows("a,\"b,c\",\"d\"\"e\"\r\n\r\n\"f\ng\",h\nlast,\"x\"y , z");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fields, (std::vector<std::string>{"a", "b,c", "d\"e"}));
    EXPECT_EQ(rows[0].lineNumber, 1u);
    EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"f\ng", "h"}));
    EXPECT_EQ(rows[1].lineNumber, 3u);
    EXPECT_EQ(rows[2].fields, (std::vector<std::string>{"last", "xy ", " z"}));
    EXPECT_EQ(rows[2].lineNumber, 5u);
    EXPECT_FALSE(rows[2].unclosed);
    EXPECT_TRUE(csvRows("a,\"open")[0].unclosed);
}

TEST(CsvImport, AConflictCopyIsMergedWithTheLogNoRecordTwice) {
    TempFolder folder;
    const MeasurementRecord a = rec("2026/12/01", "朝食前", 60),
                            b = rec("2026/12/02", "朝食前", 61),
                            c = rec("2026/12/03", "朝食前", 62),
                            d = rec("2026/12/03", "夕食後", 62),
                            e = rec("2026/11/30", "朝食前", 59),
                            f = rec("2026/12/02", "朝食前", 61.5f);
    ASSERT_TRUE(rewriteLog(folder.path(), 1, {a, b, c}));
    folder.writeBytes("データ1.sync-conflict-20261203-101010-ABCDEFG.txt",
                      *toCp932(recordsText({e, a, b, f, d})));
    const ImportRead read =
        readImport(folder.path() / "データ1.sync-conflict-20261203-101010-ABCDEFG.txt", 1);
    ASSERT_EQ(read.format, ImportFormat::Log);
    const MergeResult merged =
        mergeImport(folder.path(), 1, read.rows, FileStamp::of(folder.readBytes("データ1.txt")));
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 2u);
    EXPECT_EQ(names(loadLog(folder.path(), 1).records), names({e, a, b, f, c, d}));
}

TEST(CsvImport, MergeOrderKeepsTheLogAndPutsRowsAfterTheirDay) {
    // Log and rows by date; a damaged line stays before the record it preceded.
    const auto r = [](const char* date, const char* what) { return rec(date, what, 60); };
    LoadedLog log;
    log.records = {r("2026/12/01", "L1"), r("2026/12/02", "L2"), r("2026/12/02", "L3"),
                   r("2026/12/04", "L4")};
    log.damaged = {{3, 9, "damaged\r\n"}};
    MergeResult counts;
    const LoadedLog merged =
        mergedLog(log,
                  {r("2026/12/05", "R1"), r("2026/12/02", "R2"), r("2026/12/03", "R3"),
                   r("2026/11/30", "R4"), r("2026/12/02", "R5"), r("2026/12/02", "L2")},
                  counts);
    std::vector<std::string> order;
    for (const auto& rec : merged.records) order.push_back(rec.situation);
    EXPECT_EQ(order,
              (std::vector<std::string>{"R4", "L1", "L2", "L3", "R2", "R5", "R3", "L4", "R1"}));
    ASSERT_EQ(merged.damaged.size(), 1u);
    EXPECT_EQ(merged.damaged[0].before, 7u);  // still right before L4
    EXPECT_EQ(counts.taken, 5u);
    EXPECT_EQ(counts.skipped, 1u);
}

TEST(CsvImport, TheRecordLimitHoldsAndAChangedLogIsNotWritten) {
    TempFolder folder;
    std::vector<MeasurementRecord> full(kMaxRecords - 1, rec("2026/01/01", "朝食前", 60));
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i].weight = 40 + 0.01f * static_cast<float>(i);
    ASSERT_TRUE(rewriteLog(folder.path(), 1, full));
    const std::string old = folder.readBytes("データ1.txt");
    const std::vector<MeasurementRecord> two = {rec("2026/12/01", "朝食前", 60),
                                                rec("2026/12/02", "朝食前", 60)};
    MergeResult result = mergeImport(folder.path(), 1, two, FileStamp::of(old));
    EXPECT_EQ(result.status, WriteStatus::Refused);
    EXPECT_TRUE(result.tooMany);
    EXPECT_EQ(folder.readBytes("データ1.txt"), old);
    result = mergeImport(folder.path(), 1, {two[0]}, FileStamp::missing());
    EXPECT_EQ(result.status, WriteStatus::Stale);
    EXPECT_EQ(folder.readBytes("データ1.txt"), old);
    result = mergeImport(folder.path(), 1, {two[0]}, FileStamp::of(old));
    EXPECT_EQ(result.status, WriteStatus::Ok);
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), static_cast<std::size_t>(kMaxRecords));
}

}  // namespace
}  // namespace pairly::store
