#include <gtest/gtest.h>

#include <map>
#include <span>

#include "core/disk/codec.h"
#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"
#include "core/store/partner_profile.h"
#include "core/text/dates.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::exchange {
namespace {

using pairly::testing::TempFolder;
const text::Date kToday{2026, 12, 31};

store::MeasurementRecord rec(const std::string& date, const std::string& situation, float weight,
                             const std::string& comment = "") {
    return {date, situation, weight, 0, 0, 0, 0, 0, 0, comment, ""};
}

std::vector<std::string> names(const std::vector<store::MeasurementRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.date + " " + r.situation + " " + std::to_string(r.weight) + " " +
                      r.comment);
    return out;
}

TEST(CsvExport, AHandMadePairIsWrittenByteForByte) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::saveProfile(folder.path(), 1, {"はなこ", 158, 50}));
    ASSERT_TRUE(pairly::testing::saveProfile(folder.path(), 2, {"Taro, Jr.", 172, 65}));
    ASSERT_TRUE(
        pairly::testing::rewriteLog(folder.path(), 1,
                                    {{"2026/12/07", "朝食前", 65.3f, 22.5f, 1523, 9, 48.2f, -1,
                                      3.0f, "7:05:09, 少し増えた", "予備"},
                                     {"2026/12/08", "夕食後", 0.1f, 0, 0, 0, 0, 0, 0, "", ""}}));
    ASSERT_TRUE(pairly::testing::rewriteLog(
        folder.path(), 2,
        {{"2026/12/07", "起床後", 72.75f, 18, 1700, 12, 55.5f, 3, 3.2f, "", ""}}));
    // A damaged line is no record and is not exported.
    folder.writeBytes("データ2.txt", folder.readBytes("データ2.txt") + "\"2026/12/08\",\"x\r\n");
    const ExportResult result = exportCsv(folder.path(), folder.path() / "out.csv");
    ASSERT_EQ(result.status, disk::WriteStatus::Ok);
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
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/07", "朝食前", 65)}));
    std::filesystem::create_directory(folder.path() / "データ2.txt");  // not a regular file
    const ExportResult result = exportCsv(folder.path(), folder.path() / "out.csv");
    EXPECT_EQ(result.status, disk::WriteStatus::ReadFailed);
    EXPECT_EQ(result.file, "データ2.txt");
    EXPECT_FALSE(folder.exists("out.csv"));
}

TEST(CsvExport, NeverReplacesADataFile) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/07", "朝食前", 65)}));
    folder.writeBytes("気付きメモ.TXT", "memo");
    const std::string log = folder.readBytes("データ1.txt");
    for (const char* name : {"データ1.txt", "データ1.TXT", "気付きメモ.txt"}) {
        const ExportResult result = exportCsv(folder.path(), folder.path() / name);
        EXPECT_EQ(result.status, disk::WriteStatus::Refused) << name;
        EXPECT_EQ(result.weighings, 0u);
    }
    EXPECT_EQ(folder.readBytes("データ1.txt"), log);
    EXPECT_EQ(folder.readBytes("気付きメモ.TXT"), "memo");
    // A name the program does not keep is fine, also beside the data files.
    EXPECT_EQ(exportCsv(folder.path(), folder.path() / "データ3.txt").status,
              disk::WriteStatus::Ok);
}

// Every file the program reads or writes, found by where the path leads and not by how it
// is typed, and a link at the target's name: refused, and every file as it was.
TEST(CsvExport, NeverWritesOverAFileOfTheProgramNorThroughALink) {
    TempFolder folder, elsewhere;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/07", "朝食前", 65)}));
    std::filesystem::create_directories(folder.path() / "バックアップ" / "20261201");
    std::filesystem::create_directory_symlink(folder.path(), elsewhere.path() / "link");
    std::filesystem::create_symlink(folder.path() / "データ1.txt", elsewhere.path() / "l.csv");
    const auto files = [&] {
        std::map<std::filesystem::path, std::string> all;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder.path()))
            all[e.path()] = e.is_regular_file() ? folder.readBytes(e.path().string()) : "";
        return all;
    };
    const auto before = files();
    // The target, and the program's file it names ("" for a link).
    std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {"バックアップ/../バックアップ/x.csv", "バックアップ/x.csv"},
        {elsewhere.path() / "link/バックアップ/x.csv", "バックアップ/x.csv"},
        {elsewhere.path() / "l.csv", ""}};
    for (const char* name : {"書き換え途中.txt", ".pairlylog.lock", "データ1.txt.TMP",
                             "データコピー.txt", "連続体重.TXT", "データbak2.txt", "データ1.TXT",
                             "バックアップ", "バックアップ/20261201/データ1.txt"})
        cases.emplace_back(name, name);
    for (const char* name : disk::kDataFileNames)
        cases.emplace_back(elsewhere.path() / "link" / name, name);
    for (const auto& [target, file] : cases) {
        SCOPED_TRACE(target);
        const ExportResult result = exportCsv(folder.path(), folder.path() / target);
        EXPECT_EQ(result.status,
                  file.empty() ? disk::WriteStatus::Unusable : disk::WriteStatus::Refused);
        EXPECT_EQ(result.file, file);
        EXPECT_NE(exportRefusalText("x", result).find(file.empty() ? "リンク" : file),
                  std::string::npos);
    }
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(std::filesystem::is_symlink(elsewhere.path() / "l.csv"));
}

TEST(CsvImport, ExportThenImportIntoAnEmptyPartnerGivesTheSameRecords) {
    TempFolder from, to;
    const std::vector<store::MeasurementRecord> records = {
        {"2026/12/07", "朝食前", 65.3f, 22.5f, 1523, 9, 48.2f, -1, 3.0f, "7:05:09, 少し, 増えた",
         ""},
        {"2026/12/07", "夕食後", 1e-3f, 100, -32768, 32767, 600, 0, 0.05f, "", ""},
        {"2026/12/09", "就寝前", 66.125f, 0, 0, 0, 0, 0, 0, "ｶﾀｶﾅ①髙", ""},
    };
    ASSERT_TRUE(pairly::testing::rewriteLog(from.path(), 1, records));
    ASSERT_TRUE(pairly::testing::rewriteLog(from.path(), 2, {rec("2026/12/01", "朝食前", 80)}));
    ASSERT_EQ(exportCsv(from.path(), to.path() / "both.csv").status, disk::WriteStatus::Ok);

    const ImportRead read = readImport(to.path() / "both.csv", kToday, 1);
    EXPECT_EQ(read.format, ImportFormat::OwnCsv);
    EXPECT_TRUE(read.usable());
    EXPECT_EQ(read.otherPartnerRows, 1u);
    EXPECT_EQ(read.rows, records);
    const MergeResult merged = mergeImport(to.path(), 2, read.rows, disk::FileStamp::missing());
    EXPECT_EQ(merged.status, disk::WriteStatus::Ok);
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 0u);
    EXPECT_EQ(to.readBytes("データ2.txt"), from.readBytes("データ1.txt"));
    EXPECT_EQ(merged.stamp, disk::FileStamp::of(to.readBytes("データ2.txt")));
    // The second time everything is there already: nothing is written.
    const MergeResult again =
        mergeImport(to.path(), 2, read.rows, disk::FileStamp::of(to.readBytes("データ2.txt")));
    EXPECT_EQ(again.status, disk::WriteStatus::Ok);
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
    const ImportRead bad = readImportBytes(file, kToday, 1);
    EXPECT_EQ(bad.format, ImportFormat::OpenScale);
    EXPECT_EQ(bad.badLines, (std::vector<std::size_t>{5, 8}));
    EXPECT_FALSE(bad.usable());
    EXPECT_NE(importProblemText(bad).find("5、8 行目"), std::string::npos);

    // Without the bad rows: the duplicate row is skipped at the merge.
    std::string good = file;
    good.erase(good.find("4,,40"), good.find("5,\"two") - good.find("4,,40"));
    good.erase(good.find("6,,,"));
    const ImportRead read = readImportBytes(good, kToday, 2);
    ASSERT_TRUE(read.usable()) << importProblemText(read);
    ASSERT_EQ(read.rows.size(), 4u);
    EXPECT_EQ(read.rows[0], (store::MeasurementRecord{"2026/12/01", "インポート", 70.5f, 22.1f, 0,
                                                      0, 28.2f, 0, 3.1f, "7:05:00", ""}));
    EXPECT_EQ(read.rows[1], (store::MeasurementRecord{"2026/12/02", "インポート", 64.0f, 0, 0, 0,
                                                      22.4f, 0, 0, "after a run, ”tired”", ""}));
    EXPECT_EQ(read.rows[3].comment, "two lines");

    TempFolder folder;
    ASSERT_TRUE(
        pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/02", "朝食前", 64.5f)}));
    const std::string old = folder.readBytes("データ2.txt");
    const MergeResult merged = mergeImport(folder.path(), 2, read.rows, disk::FileStamp::of(old));
    EXPECT_EQ(merged.status, disk::WriteStatus::Ok);
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 1u);
    EXPECT_EQ(
        names(store::loadLog(folder.path(), 2).records),
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
        {*disk::toCp932(std::string(kCsvHeader) + "\r\n1,はなこ,2026/12/01,朝食前,60,,,,,,,\r\n"),
         ImportFormat::OwnCsv, 1},
        {"dateTime,weight\n01.12.2026 07:00,60\n", ImportFormat::OpenScale, 1},
        {*disk::toCp932(store::recordLine(rec("2026/12/01", "朝食前", 60)) +
                        recordLine(rec("2026/12/02", "朝食前", 61))),
         ImportFormat::Log, 2},
        {"date,weight\n2026-12-01,60\n", ImportFormat::PlainCsv, 1},
        {*disk::toCp932("メモ,日付,体重（kg）\r\nx,2026/1/5 7:30,60.5\r\n"), ImportFormat::PlainCsv,
         1},
        {"Date,Weight (kg)\n2026-12-1T07:30:15,60\n", ImportFormat::PlainCsv, 1},
        {"day,weight\n2026-12-01,60\n", ImportFormat::Unknown, 0},
        {"\"2026/12/01\",\"朝\",60,1,2,3\r\n", ImportFormat::Unknown, 0},  // an old layout
        {"", ImportFormat::Unknown, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const ImportRead read = readImportBytes(c.bytes, kToday, 1);
        EXPECT_EQ(read.format, c.format);
        EXPECT_EQ(read.rows.size(), c.rows);
        EXPECT_EQ(read.usable(), c.rows > 0);
        EXPECT_EQ(importProblemText(read).empty(), c.rows > 0);
    }
    const ImportRead plain = readImportBytes(cases[6].bytes, kToday);
    EXPECT_EQ(plain.rows.at(0), (store::MeasurementRecord{"2026/01/05", "インポート", 60.5f, 0, 0,
                                                          0, 0, 0, 0, "7:30:00", ""}));
    EXPECT_NE(importProblemText(readImportBytes(cases[8].bytes, kToday)).find("date"),
              std::string::npos);
    TempFolder folder;
    EXPECT_EQ(readImport(folder.path() / "none.csv", kToday, 1).status, disk::ReadStatus::Missing);
    EXPECT_FALSE(importProblemText(readImport(folder.path() / "none.csv", kToday, 1)).empty());
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
    const ImportRead read = readImportBytes(file, kToday, 1);
    EXPECT_EQ(read.badLines, (std::vector<std::size_t>{3, 4, 5, 6, 7, 8, 9, 10, 12}));
    EXPECT_EQ(read.rows.size(), 1u);
}

// Every value by the entry screen's rule and range, every day from 1900/01/01 to today.
TEST(CsvImport, ValuesAndDaysTheEntryScreenWouldRefuseMakeBadRows) {
    const std::string today = text::formatDate(kToday);
    const auto w = [&](const char* weight) { return today + ",朝," + weight + ",,,,,,"; };
    const auto v = [&](const char* others) { return today + ",朝,60," + others; };
    const auto d = [&](const std::string& day) { return day + ",朝,60,,,,,,"; };
    const std::string tomorrow = text::formatDate(text::addDays(kToday, 1));
    const std::string bad[] = {w("7O.1"),       w("1e308"),      w("65abc"),      w("7 0"),
                               w("601"),        w("0"),          v("-20,,,,,"),   v("100.1,,,,,"),
                               v(",,,,,-2.5"),  v(",,,600.1,,"), v(",32768,,,,"), v(",,-32769,,,"),
                               d("9999-12-31"), d("3000-01-01"), d("0001-01-01"), d("1899-12-31"),
                               d(tomorrow)};
    const std::string good[] = {
        w("600"),       w("６０．５"), v("100,,,,,"), v("0,,,600,,600"), v(",-32768,32767,,32767,"),
        d("1900-01-01")};
    std::string file = std::string(kCsvHeader) + "\r\n";
    for (const auto& rows : {std::span<const std::string>(bad), std::span<const std::string>(good)})
        for (const std::string& row : rows) file += "2,a," + row + ",\r\n";
    const ImportRead read = readImportBytes(file, kToday);
    EXPECT_EQ(read.badLines.size(), std::size(bad));
    EXPECT_EQ(read.badLines.back(), std::size(bad) + 1);
    EXPECT_EQ(read.rows.size(), std::size(good));
    EXPECT_NE(importProblemText(read).find("範囲外の行が 17 行あるため、読み込みを中止しました（"
                                           "2、3、4、5、6、7、8、9、10、11 行目ほか）"),
              std::string::npos)
        << importProblemText(read);
}

// With a byte-order mark a stray byte spoils its row only; without one the whole file is
// UTF-8 or CP932, and a file that is neither is refused.
TEST(CsvImport, TheEncodingIsTheMarksOrThatOfTheWholeFile) {
    const std::string head = std::string(kCsvHeader) + "\r\n";
    const std::string row = "1,a,2026-12-01,起床後,60,,,,,,,\r\n";
    // The bytes, and what the refusal says ("" for none).
    const std::pair<std::string, std::string> cases[] = {
        {kUtf8Bom + head + row + "1,a,2026-12-02,起床後,60,,,,,,,x\xFF\r\n", "（3 行目）"},
        {head + row, ""},
        {*disk::toCp932(head + row), ""},
        {*disk::toCp932(head + row) + "1,a,2026-12-02,\x81 ,60,,,,,,,\r\n", "文字コード"}};
    for (const auto& [bytes, says] : cases) {
        const ImportRead read = readImportBytes(bytes, kToday);
        const std::string told = importProblemText(read);
        EXPECT_TRUE(says.empty() ? told.empty() : told.find(says) != std::string::npos) << told;
        if (says != "文字コード") {
            EXPECT_EQ(read.rows.at(0).situation, "起床後");
        }
    }
}

// A text a spreadsheet would run as a formula is exported behind an apostrophe, and comes
// back as it was typed.
TEST(CsvImport, FormulasAreExportedAsTextAndReadBackAsTyped) {
    // The text as typed, then its field in the file.
    const std::string cases[] = {"=1+1",      "'=1+1", "+1+1", "'+1+1", "-2+3", "'-2+3", "@SUM(A1)",
                                 "'@SUM(A1)", "\tx",   "'\tx", "'=x",   "''=x", "''+x",  "'''+x",
                                 "'abc",      "'abc",  "a=b",  "a=b",   "'",    "'"};
    for (std::size_t i = 0; i < std::size(cases); i += 2) {
        const std::string& typed = cases[i];
        const std::string& field = cases[i + 1];
        SCOPED_TRACE(typed);
        const std::string bytes = csvBytes({typed, {rec("2026/12/01", typed, 60, typed)}}, {});
        EXPECT_NE(bytes.find("\r\n1," + field + ",2026-12-01," + field + ",60,0,0,0,0,0,0," +
                             field + "\r\n"),
                  std::string::npos);
        const ImportRead read = readImportBytes(bytes, kToday, 1);
        ASSERT_EQ(read.rows.size(), 1u);
        EXPECT_EQ(read.rows[0], rec("2026/12/01", typed, 60, typed));
    }
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
    const store::MeasurementRecord a = rec("2026/12/01", "朝食前", 60),
                                   b = rec("2026/12/02", "朝食前", 61),
                                   c = rec("2026/12/03", "朝食前", 62),
                                   d = rec("2026/12/03", "夕食後", 62),
                                   e = rec("2026/11/30", "朝食前", 59),
                                   f = rec("2026/12/02", "朝食前", 61.5f);
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {a, b, c}));
    folder.writeBytes("データ1.sync-conflict-20261203-101010-ABCDEFG.txt",
                      *disk::toCp932(store::recordsText({e, a, b, f, d})));
    const ImportRead read =
        readImport(folder.path() / "データ1.sync-conflict-20261203-101010-ABCDEFG.txt", kToday, 1);
    ASSERT_EQ(read.format, ImportFormat::Log);
    const MergeResult merged = mergeImport(folder.path(), 1, read.rows,
                                           disk::FileStamp::of(folder.readBytes("データ1.txt")));
    EXPECT_EQ(merged.taken, 3u);
    EXPECT_EQ(merged.skipped, 2u);
    EXPECT_EQ(names(store::loadLog(folder.path(), 1).records), names({e, a, b, f, c, d}));
}

TEST(CsvImport, MergeOrderKeepsTheLogAndPutsRowsAfterTheirDay) {
    // Log and rows by date; a damaged line stays before the record it preceded.
    const auto r = [](const char* date, const char* what) { return rec(date, what, 60); };
    store::LoadedLog log;
    log.records = {r("2026/12/01", "L1"), r("2026/12/02", "L2"), r("2026/12/02", "L3"),
                   r("2026/12/04", "L4")};
    log.damaged = {{3, 9, "damaged\r\n"}};
    MergeResult counts;
    const store::LoadedLog merged =
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
    std::vector<store::MeasurementRecord> full(store::kMaxRecords - 1,
                                               rec("2026/01/01", "朝食前", 60));
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i].weight = 40 + 0.01f * static_cast<float>(i);
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, full));
    const std::string old = folder.readBytes("データ1.txt");
    const std::vector<store::MeasurementRecord> two = {rec("2026/12/01", "朝食前", 60),
                                                       rec("2026/12/02", "朝食前", 60)};
    MergeResult result = mergeImport(folder.path(), 1, two, disk::FileStamp::of(old));
    EXPECT_EQ(result.status, disk::WriteStatus::Refused);
    EXPECT_TRUE(result.tooMany);
    EXPECT_EQ(folder.readBytes("データ1.txt"), old);
    result = mergeImport(folder.path(), 1, {two[0]}, disk::FileStamp::missing());
    EXPECT_EQ(result.status, disk::WriteStatus::Stale);
    EXPECT_EQ(folder.readBytes("データ1.txt"), old);
    result = mergeImport(folder.path(), 1, {two[0]}, disk::FileStamp::of(old));
    EXPECT_EQ(result.status, disk::WriteStatus::Ok);
    EXPECT_EQ(store::loadLog(folder.path(), 1).records.size(),
              static_cast<std::size_t>(store::kMaxRecords));
}

}  // namespace
}  // namespace pairly::exchange
