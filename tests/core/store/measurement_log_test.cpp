#include "core/store/measurement_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/file_ops.h"
#include "core/store/situation_list.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

MeasurementRecord rec(const std::string& date, const std::string& situation = "朝食前",
                      float weight = 65.0f, const std::string& comment = "") {
    return MeasurementRecord{date, situation, weight, 22.5f, 1500, 9, 48.2f, 5, 2.9f, comment, ""};
}

std::vector<std::string> dates(const std::vector<MeasurementRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records) out.push_back(r.date + " " + r.comment);
    return out;
}

TEST(MeasurementLog, LineIsWrittenByteExactInCp932) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1,
                                              {"2026/12/07", "朝食前", 65.0f, 22.5f, 1523, 9, 48.2f,
                                               -1, 3.0f, "7:05:09, 少し増えた", ""}));
    const std::string expected =
        "\"2026/12/07\",\"\x92\xa9\x90\x48\x91\x4f\",65,22.5,1523,9,48.2,-1,3,"
        "\"7:05:09, \x8f\xad\x82\xb5\x91\x9d\x82\xa6\x82\xbd\",\"\"\r\n";
    EXPECT_EQ(folder.readBytes("データ1.txt"), expected);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
}

TEST(MeasurementLog, ReadingRuleOnHandWrittenLines) {
    // Blanks, text after a closing quote, empty numbers, halves to even, a fraction in an
    // integer column, a comment with commas, and a last record cut short.
    const std::string content =
        "\"2026/08/01\",\"起床後\",70.25,25,1350.5,10.5,50,1351.5,3.1,\"\",\"旧\"\r\n"
        " \"2026/08/02\" , \"朝食前\"x , 69.9 ,,  ,11.5,,,,\"a, b, c\",\"\"\r\n"
        "\"2026/08/03\",\"夕食後\",70,24.1,1400\r\n";
    const auto records = parseRecords(content);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (MeasurementRecord{"2026/08/01", "起床後", 70.25f, 25.0f, 1350, 10, 50.0f,
                                             1352, 3.1f, "", "旧"}));
    EXPECT_EQ(records[1], (MeasurementRecord{"2026/08/02", "朝食前", 69.9f, 0.0f, 0, 12, 0.0f, 0,
                                             0.0f, "a, b, c", ""}));
    // The rewrite writes the values read, rounded.
    EXPECT_EQ(recordLine(records[0]),
              "\"2026/08/01\",\"起床後\",70.25,25,1350,10,50,1352,3.1,\"\",\"旧\"\r\n");
}

TEST(MeasurementLog, BytesOnDiskReadAsTheirDecodedText) {
    // A log is parsed from its CP932 bytes; every record must be what the decoded text
    // gives, also around bytes that are not valid CP932.
    const std::string valid = *disk::toCp932(
        "\"2026/08/01\",\"起床後\",70.25,25,1350.5,10.5,50,1351.5,3.1,\"ｱｲｳ, ①\",\"旧\"\r\n"
        " \"2026/08/02\" , \"朝食前\"x , 69.9 ,,  ,11.5,,,,\"ソ表能\",\"\"\r\n");
    const char* cases[] = {
        "",
        "\"2026/08/03\",\"\x83\",1,2,3,4,5,6,7,\"\x83,\x83\",\"\"\r\n",  // a lead byte before a
                                                                         // quote
        "\"2026/08/03\",\"a\",\x81\x40 65.5,\x82\x60,3,4,5,6,7,\"\",\"\"\n",  // ideographic space
        "\"2026/08/03\",\"\xA0\x80\xFD\",1\x83,2,3,4,5,6,7,\"\",\"\"\r",
        "\"2026/08/03\",\"\x93\xfa\",1,2,3,4,5,6,7,\"\",\"\x83",  // torn in a character
        "\"2026/\x83/03\",\"a\",1,2,3,4,5,6,7,\"\",\"\"\r\n\"2026/08/04\",\"b\"",
    };
    std::vector<std::string> contents = {valid};
    for (const char* c : cases) contents.push_back(valid + c);
    for (const std::string& bytes : contents) {
        const auto records = parseCp932Records(bytes);
        EXPECT_EQ(records, parseRecords(disk::fromCp932(bytes))) << bytes;
        EXPECT_GE(records.size(), 2u);
    }
    EXPECT_EQ(parseCp932Records(valid)[0].comment, "ｱｲｳ, ①");
    EXPECT_EQ(parseCp932Records(valid)[1].comment, "ソ表能");

    // Many distinct texts in a row (more than are remembered) keep their own values.
    std::vector<MeasurementRecord> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(rec("2026/08/01", "状況" + std::to_string(i % 40), 60.0f + i * 0.1f,
                           i % 3 ? "" : "コメント" + std::to_string(i)));
    const auto back = parseCp932Records(*disk::toCp932(recordsText(many)));
    ASSERT_EQ(back.size(), many.size());
    for (std::size_t i = 0; i < many.size(); ++i) {
        EXPECT_EQ(back[i].situation, many[i].situation) << i;
        EXPECT_EQ(back[i].comment, many[i].comment) << i;
        EXPECT_EQ(back[i].weight, many[i].weight) << i;
    }
}

TEST(MeasurementLog, MissingEmptyAndTornLogs) {
    TempFolder folder;
    EXPECT_TRUE(loadLog(folder.path(), 1).records.empty());
    EXPECT_EQ(lastRecordDate(folder.path(), 1), std::nullopt);
    folder.writeBytes("データ1.txt", "");
    EXPECT_TRUE(loadLog(folder.path(), 1).records.empty());

    const std::string good = recordLine(rec("2026/12/01")) + recordLine(rec("2026/12/02"));
    // Torn inside the reserved field: eleven fields, but the last quote never closed.
    folder.writeCp932("データ1.txt",
                      good + "\"2026/12/03\",\"昼食前\",65,22,1500,9,48,5,3,\"\",\"x");
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), 2u);
    folder.writeCp932("データ1.txt", good + "\"2026/12/03\",\"昼食");
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), 2u);
    EXPECT_EQ(lastRecordDate(folder.path(), 1), "2026/12/02");

    // The next append drops the unreadable fragment, so it cannot shift later records;
    // the log as it was is kept beside.
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/04")));
    EXPECT_EQ(folder.readCp932("データ1.txt"), good + recordLine(rec("2026/12/04")));
    EXPECT_EQ(folder.readCp932("バックアップ/データ1_修復前.txt"), good + "\"2026/12/03\",\"昼食");
}

TEST(MeasurementLog, InsertionInDateOrder) {
    struct Case {
        const char* name;
        std::string date;
        std::vector<std::string> expected;
    } cases[] = {
        {"before the start record",
         "2026/11/30",
         {"2026/11/30 new", "2026/12/01 a", "2026/12/03 b", "2026/12/03 c", "2026/12/05 d"}},
        {"between days, after equal days",
         "2026/12/03",
         {"2026/12/01 a", "2026/12/03 b", "2026/12/03 c", "2026/12/03 new", "2026/12/05 d"}},
        {"a day with no records",
         "2026/12/04",
         {"2026/12/01 a", "2026/12/03 b", "2026/12/03 c", "2026/12/04 new", "2026/12/05 d"}},
        {"same day as the last",
         "2026/12/05",
         {"2026/12/01 a", "2026/12/03 b", "2026/12/03 c", "2026/12/05 d", "2026/12/05 new"}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        ASSERT_TRUE(pairly::testing::rewriteLog(
            folder.path(), 2,
            {rec("2026/12/01", "起床後", 70, "a"), rec("2026/12/03", "朝食前", 69, "b"),
             rec("2026/12/03", "夕食後", 69.5f, "c"), rec("2026/12/05", "就寝前", 68.75f, "d")}));
        ASSERT_EQ(insertRecordInDateOrder(folder.path(), 2, rec(c.date, "運動後", 60, "new")),
                  disk::WriteStatus::Ok)
            << c.name;
        EXPECT_EQ(dates(loadLog(folder.path(), 2).records), c.expected) << c.name;
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ2.txt"}) << c.name;
    }
}

TEST(MeasurementLog, IdenticalRecordsAndRoundTripOfRewrittenLines) {
    TempFolder folder;
    const auto r = rec("2026/12/01", "入浴後", 64.9f, "同じ");
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, r));
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, r));
    ASSERT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/01")), disk::WriteStatus::Ok);
    const auto records = loadLog(folder.path(), 1).records;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], r);
    EXPECT_EQ(records[2], r);
}

TEST(MeasurementLog, WritersRefuseUnstorableTextsAndFailedWritesKeepTheLog) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/01")));
    const std::string before = folder.readBytes("データ1.txt");
    EXPECT_FALSE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/02", "朝\"食")));
    EXPECT_FALSE(pairly::testing::appendRecord(folder.path(), 1,
                                               rec("2026/12/02", "朝食", 60, "line\r\nbreak")));
    EXPECT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/02", "😀")),
              disk::WriteStatus::Refused);
    EXPECT_FALSE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/02", "x\"")}));

    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Write});
        EXPECT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/02")),
                  disk::WriteStatus::WriteFailed);
        EXPECT_FALSE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/02")));
    }

    EXPECT_EQ(folder.readBytes("データ1.txt"), before);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
}

TEST(MeasurementLog, AFailedReadIsToldFromAMissingFileAndStopsEveryRewrite) {
    TempFolder folder;
    EXPECT_EQ(loadLog(folder.path(), 1).status, disk::ReadStatus::Missing);
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/01")));
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/03")));
    EXPECT_EQ(loadLog(folder.path(), 1).status, disk::ReadStatus::Ok);
    const std::string before = folder.readBytes("データ1.txt");

    using Op = disk::fileops::Op;
    for (const disk::fileops::Op op : {Op::Open, Op::Read, Op::Close}) {
        auto fail = testing::InjectFaults::once(1, {op});
        // Only a complete read may be written back: the insertion refuses.
        EXPECT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/12/02")),
                  disk::WriteStatus::ReadFailed);
        EXPECT_EQ(folder.readBytes("データ1.txt"), before);
    }
    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Read});
        const LoadedLog log = loadLog(folder.path(), 1);
        EXPECT_TRUE(log.failed());
        EXPECT_TRUE(log.records.empty());
    }
    // An append needs the whole log too: a torn last line it cannot see would take the
    // new line's fields as its own.
    folder.writeBytes("データ1.txt", before + "\"2026/12/03\",\"x\",6");
    const std::string torn = folder.readBytes("データ1.txt");
    for (const disk::fileops::Op op : {Op::Open, Op::Read, Op::Close}) {
        auto fail = testing::InjectFaults::once(1, {op});
        EXPECT_FALSE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/04")));
        EXPECT_EQ(folder.readBytes("データ1.txt"), torn);
    }
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/04")));
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), 3u);
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"データ1.txt", "バックアップ"}));

    // A name that is not a regular file cannot be read either.
    TempFolder other;
    std::filesystem::create_directory(other.path() / "データ2.txt");
    EXPECT_TRUE(loadLog(other.path(), 2).failed());
    EXPECT_EQ(insertRecordInDateOrder(other.path(), 2, rec("2026/12/02")),
              disk::WriteStatus::Unusable);
}

TEST(MeasurementLog, AnAppendAfterATornOrDamagedTailKeepsEveryWholeRecord) {
    const std::string whole = recordLine(rec("2026/12/01")) + recordLine(rec("2026/12/02"));
    const MeasurementRecord added = rec("2026/12/03", "夕食後", 61.2f, "新");
    struct Case {
        const char* name;
        std::string content;  // UTF-8, written in CP932
        std::string kept;     // the part of the old content the log keeps, as it was
        bool torn;            // the old log is kept whole in バックアップ/ first
    } cases[] = {
        {"ends with a line end", whole, whole, false},
        {"last line without its line end", whole.substr(0, whole.size() - 2),
         whole.substr(0, whole.size() - 2) + "\r\n", false},
        {"torn in a number", whole + "\"2026/12/03\",\"昼食前\",65", whole, true},
        {"torn in the last text", whole + "\"2026/12/03\",\"昼食前\",65,22,1500,9,48,5,3,\"\",\"x",
         whole, true},
        {"blank lines around", "\r\n" + whole + "\r\n\r\n", "\r\n" + whole + "\r\n\r\n", false},
        {"a blank line first", "\n", "\n", false},
        // A line that has its line end is a damaged line, not a torn one: an append keeps
        // it where it is.
        {"a short line with its line end", whole + "\"2026/12/03\",\"x\"\r\n",
         whole + "\"2026/12/03\",\"x\"\r\n", false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeCp932("データ1.txt", c.content);
        const auto before = loadLog(folder.path(), 1).records;
        ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, added)) << c.name;
        auto after = loadLog(folder.path(), 1).records;
        ASSERT_EQ(after.size(), before.size() + 1) << c.name;
        EXPECT_EQ(after.back(), added) << c.name;
        after.pop_back();
        EXPECT_EQ(after, before) << c.name;
        EXPECT_EQ(folder.readCp932("データ1.txt"), c.kept + recordLine(added)) << c.name;
        if (c.torn) {
            EXPECT_EQ(folder.readCp932("バックアップ/データ1_修復前.txt"), c.content) << c.name;
        } else {
            EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"}) << c.name;
        }
    }

    // A damaged byte in a whole record is kept as it was.
    TempFolder folder;
    const std::string damaged = "\"2026/12/01\",\"\x83\",65,20,1500,8,50,5,3,\"\",\"\"\r\n";
    folder.writeBytes("データ1.txt", damaged + "\"2026/12/02\",\"x");
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, added));
    EXPECT_EQ(folder.readBytes("データ1.txt"), damaged + *disk::toCp932(recordLine(added)));
    ASSERT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/30")), disk::WriteStatus::Ok);
    EXPECT_NE(folder.readBytes("データ1.txt").find(damaged), std::string::npos);
}

// Bytes that are no CP932 in the texts of a record go back as they were through every
// operation that writes the log anew, whatever byte follows them in the text.
TEST(MeasurementLog, DamagedBytesInTextsSurviveEveryRewrite) {
    const char* texts[] = {"\x83",       // a lead byte before the closing quote
                           "a\x81 b",    // a lead byte before a byte that is no trail
                           "\x85\x40x",  // a pair CP932 does not map
                           "\xFF\x80\xA0", "\xFD"};
    const std::function<bool(const TempFolder&)> rewrites[] = {
        [](const TempFolder& f) {
            return insertRecordInDateOrder(f.path(), 1, rec("2026/11/30")) == disk::WriteStatus::Ok;
        },
        [](const TempFolder& f) {
            return pairly::testing::rewriteLog(f.path(), 1, loadLog(f.path(), 1).records);
        },
        [](const TempFolder& f) {
            f.writeCp932("状況リスト.txt", "\"朝食前\"\r\n");
            return renameSituation(f.path(), 1, "朝食前", "朝ごはん前",
                                   loadSituations(f.path()).stamp)
                .ok();
        },
    };
    for (const char* text : texts) {
        const std::string t(text);
        const std::string line =
            "\"2026/12/01\",\"" + t + "\",65,20,1500,8,50,5,3,\"" + t + "\",\"" + t + "\"\r\n";
        for (std::size_t i = 0; i < std::size(rewrites); ++i) {
            TempFolder folder;
            folder.writeBytes("データ1.txt", line + *disk::toCp932(recordLine(rec("2026/12/02"))));
            ASSERT_TRUE(rewrites[i](folder)) << i;
            EXPECT_NE(folder.readBytes("データ1.txt").find(line), std::string::npos)
                << "rewrite " << i << " of " << ::testing::PrintToString(t);
        }
    }
}

// Every change that writes the log anew drops the fields of a torn last line: the log as
// it was goes to バックアップ/ first, under a name no copy has yet, and without that copy
// nothing is written.
TEST(MeasurementLog, EveryRewriteKeepsATornLogInTheBackupFolderFirst) {
    const std::string whole = recordLine(rec("2026/12/01")) + recordLine(rec("2026/12/03"));
    const std::string torn = whole + "\"2026/12/04\",\"昼食前\",65.2,2";
    using Write = std::function<bool(const std::filesystem::path&)>;
    const std::pair<const char*, Write> writes[] = {
        {"append",
         [](const auto& f) { return pairly::testing::appendRecord(f, 1, rec("2026/12/05")); }},
        {"insert",
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/12/02")) == disk::WriteStatus::Ok;
         }},
        {"rewrite",
         [](const auto& f) { return pairly::testing::rewriteLog(f, 1, loadLog(f, 1).records); }},
        {"rename",
         [](const auto& f) {
             return renameSituation(f, 1, "朝食前", "朝", loadSituations(f).stamp).ok();
         }},
    };
    for (const auto& [name, write] : writes) {
        TempFolder folder;
        folder.writeCp932("状況リスト.txt", "朝食前\r\n");
        for (const char* copy : {"データ1_修復前.txt", "データ1_修復前_2.txt"}) {
            folder.writeCp932("データ1.txt", torn);
            ASSERT_TRUE(write(folder.path())) << name;
            EXPECT_EQ(folder.readCp932(std::string("バックアップ/") + copy), torn) << name;
            const std::string log = folder.readCp932("データ1.txt");
            EXPECT_EQ(log.find("65.2,2"), std::string::npos) << name;
            EXPECT_FALSE(scanLog(folder.readBytes("データ1.txt")).torn) << name;
        }
        folder.writeCp932("データ1.txt", torn);
        {
            auto fail = testing::InjectFaults::always({disk::fileops::Op::MakeFolder});
            EXPECT_FALSE(write(folder.path())) << name;
        }
        EXPECT_EQ(folder.readCp932("データ1.txt"), torn) << name;
        EXPECT_FALSE(folder.exists("バックアップ/データ1_修復前_3.txt")) << name;
    }
}

TEST(MeasurementLog, FindsTheUpperCaseSpelling) {
    TempFolder folder;
    folder.writeCp932("データ1.TXT", recordLine(rec("2026/12/01")));
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), 1u);
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/02")));
    ASSERT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/30")), disk::WriteStatus::Ok);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.TXT"});
    EXPECT_EQ(loadLog(folder.path(), 1).records.size(), 3u);
}

// A save adds its record from the one read it made; the file changed since is left alone.
TEST(MeasurementLog, AddRecordWritesFromItsReadOnlyWhileTheFileHoldsThoseBytes) {
    const std::string whole = recordLine(rec("2026/12/01")) + recordLine(rec("2026/12/05"));
    const std::string damaged = "\"2026/12/03\",\"x\"\r\n";
    struct Case {
        const char* name;
        std::string content;
        const char* date;
    } cases[] = {
        {"an append", whole, "2026/12/06"},
        {"an insertion before a damaged line",
         recordLine(rec("2026/12/01")) + damaged + recordLine(rec("2026/12/05")), "2026/12/02"},
        {"an append after a torn line", whole + "\"2026/12/06\",\"昼", "2026/12/07"},
        {"the first record", "", "2026/12/06"},
    };
    for (const auto& c : cases) {
        for (const bool changed : {false, true}) {
            TempFolder folder;
            folder.writeCp932("データ1.txt", c.content);
            LogRead read = readLogForChange(folder.path(), 1);
            const std::vector<MeasurementRecord> before = read.log.records;
            const std::string other = whole + recordLine(rec("2026/12/09", "夕食後"));
            if (changed) folder.writeCp932("データ1.txt", other);
            const disk::WriteStatus status = addRecord(folder.path(), 1, read, rec(c.date));
            const LoadedLog now = loadLog(folder.path(), 1);
            if (changed) {
                EXPECT_EQ(status, disk::WriteStatus::Stale) << c.name;
                EXPECT_EQ(folder.readCp932("データ1.txt"), other) << c.name;
                EXPECT_EQ(read.log.records, before) << c.name;
            } else {
                // The log the day view is built from is the log the file holds.
                EXPECT_EQ(status, disk::WriteStatus::Ok) << c.name;
                EXPECT_EQ(read.log.records, now.records) << c.name;
                EXPECT_EQ(read.log.stamp, now.stamp) << c.name;
                EXPECT_EQ(now.records.size(), before.size() + 1) << c.name;
            }
            EXPECT_FALSE(folder.exists("データコピー.txt")) << c.name;
        }
    }
}

}  // namespace
}  // namespace pairly::store
