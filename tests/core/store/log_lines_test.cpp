// A log read one record per line: lines that are no records are kept byte for byte at
// their places through every rewrite, the log is copied into バックアップ/ once before it is
// first rewritten, and partner 1's log in the predecessor's layout is neither read nor
// written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "core/disk/change_set.h"
#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/file_ops.h"
#include "core/store/measurement_log.h"
#include "core/store/situation_list.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Names = std::vector<std::string>;

// A line as the program writes it, in CP932.
std::string line(const std::string& date, const std::string& situation = "朝食前",
                 const std::string& comment = "") {
    return *disk::toCp932(recordLine(
        MeasurementRecord{date, situation, 65.5f, 22.5f, 1500, 9, 48.2f, 5, 2.9f, comment, ""}));
}

MeasurementRecord rec(const std::string& date, const std::string& situation = "夕食後") {
    return {date, situation, 60.25f, 20.5f, 1400, 7, 45.5f, 4, 2.75f, "", ""};
}

std::vector<std::size_t> lineNumbers(const LoadedLog& log) {
    std::vector<std::size_t> out;
    for (const DamagedLine& d : log.damaged) out.push_back(d.lineNumber);
    return out;
}

TEST(LogLines, EachLineIsARecordOrADamagedLine) {
    const std::string head = "\"2026/12/02\",\"朝食前\",";
    const auto values = [&](const std::string& numbers, const std::string& texts = ",\"\",\"\"") {
        return *disk::toCp932(head) + numbers + texts + "\r\n";
    };
    const auto record = [](float weight, std::int16_t basal) {
        return MeasurementRecord{"2026/12/02", "朝食前", weight, 22.5f, basal, 9,
                                 48.2f,        5,        2.9f,   "",    ""};
    };
    struct Case {
        const char* name;
        std::string bytes;  // the second line(s) of the log
        std::optional<MeasurementRecord> expected;
        std::vector<std::size_t> damaged;  // line numbers
    } cases[] = {
        {"as written", values("65,22.5,1500,9,48.2,5,2.9"), record(65, 1500), {}},
        {"a field short", values("65,22.5,1500,9,48.2,5,2.9", ",\"\""), std::nullopt, {2}},
        {"a bare comma in a comment",
         values("65,22.5,1500,9,48.2,5,2.9", ",\"a\",b,\"\""),
         std::nullopt,
         {2}},
        {"a weight of forty digits",
         values(std::string(40, '7') + ",22.5,1500,9,48.2,5,2.9"),
         std::nullopt,
         {2}},
        {"the largest weight the program writes",
         values("340282300000000000000000000000000000000,22.5,1500,9,48.2,5,2.9"),
         record(3.402823e38f, 1500),
         {}},
        {"an integer beyond 16 bits", values("65,22.5,32768,9,48.2,5,2.9"), std::nullopt, {2}},
        {"a fraction that rounds beyond 16 bits",
         values("65,22.5,32767.5,9,48.2,5,2.9"),
         std::nullopt,
         {2}},
        {"a fraction rounds, halves to even",
         values("65,22.5,1350.5,9,48.2,5,2.9"),
         record(65, 1350),
         {}},
        {"the lowest integer from a fraction",
         values("65,22.5,-32768.5,9,48.2,5,2.9"),
         record(65, -32768),
         {}},
        {"text without a number", values("abc,22.5,1500,9,48.2,5,2.9"), std::nullopt, {2}},
        {"full-width digits", values("\x82\x55\x82\x54,22.5,1500,9,48.2,5,2.9"), std::nullopt, {2}},
        {"an empty number reads as 0", values(",22.5,1500,9,48.2,5,2.9"), record(0, 1500), {}},
        {"a number with its unit", values("65kg,22.5,1500,9,48.2,5,2.9"), record(65, 1500), {}},
        {"an ideographic space first",
         values("\x81\x40 65,22.5,1500,9,48.2,5,2.9"),
         record(65, 1500),
         {}},
        {"a quote that does not close on its line",
         *disk::toCp932("\"2026/12/02\",\"朝食前,65,22.5,1500,9,48.2,5,2.9,\"\"\r\n"),
         std::nullopt,
         {2}},
        {"a bare text holding a quote",
         *disk::toCp932("\"2026/12/02\",朝\"食前,65,22.5,1500,9,48.2,5,2.9,\"\",\"\"\r\n"),
         std::nullopt,
         {2}},
        {"a record broken over two lines",
         *disk::toCp932("\"2026/12/02\",\"朝食前\",65,22.5,1500,9\r\n48.2,5,2.9,\"\",\"\"\r\n"),
         std::nullopt,
         {2, 3}},
        {"a blank line is no line of the log", "  \r\n\r\n", std::nullopt, {}},
    };
    const std::string first = line("2026/12/01"), last = line("2026/12/03");
    for (const Case& c : cases) {
        const std::string bytes = first + c.bytes + last;
        const LoadedLog log = parseLog(bytes);
        EXPECT_EQ(parseCp932Records(bytes), parseRecords(disk::fromCp932(bytes))) << c.name;
        EXPECT_EQ(lineNumbers(log), c.damaged) << c.name;
        ASSERT_EQ(log.records.size(), c.expected ? 3u : 2u) << c.name;
        EXPECT_EQ(log.records.back().date, "2026/12/03") << c.name;
        if (c.expected) {
            EXPECT_EQ(log.records[1], *c.expected) << c.name;
        }
        if (c.damaged.size() == 1) {
            EXPECT_EQ(log.damaged[0].bytes, c.bytes) << c.name;
            EXPECT_EQ(log.damaged[0].before, 1u) << c.name;
        }
        const LogScan scan = scanLog(bytes);
        EXPECT_EQ(scan.records, log.records.size()) << c.name;
        EXPECT_FALSE(scan.torn) << c.name;
    }
}

// The log of a hand edit: line 2 a field short, line 5 a field long. Read as a stream of
// fields, every record between them would take its neighbour's fields.
const std::string kShort = "\"2026/12/02\",\"朝食前\",65,22.5,1500,9,48.2,5,2.9,\"\"\r\n";
const std::string kLong = "\"2026/12/05\",\"朝食前\",65,22.5,1500,9,48.2,5,2.9,\"a\",b,\"\"\r\n";
std::string handEdited() {
    return line("2026/12/01") + *disk::toCp932(kShort) + line("2026/12/03", "昼食後") +
           line("2026/12/04", "就寝前") + *disk::toCp932(kLong) + line("2026/12/06");
}

TEST(LogLines, AShortLineAndALongLineShiftNothingAndStayThroughAnInsertion) {
    TempFolder folder;
    folder.writeBytes("データ1.txt", handEdited());
    const LoadedLog log = loadLog(folder.path(), 1);
    ASSERT_EQ(log.records.size(), 4u);
    const std::string situations[] = {"朝食前", "昼食後", "就寝前", "朝食前"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(log.records[i].situation, situations[i]) << i;
        EXPECT_EQ(log.records[i].boneMass, 2.9f) << i;
        EXPECT_EQ(log.records[i].muscleScore, 5) << i;
    }
    EXPECT_EQ(lineNumbers(log), (std::vector<std::size_t>{2, 5}));

    // A weighing of an earlier day: the damaged lines stay where they were, byte for byte,
    // and the log as it was is kept.
    ASSERT_EQ(insertRecordInDateOrder(folder.path(), 1, rec("2026/11/30")), disk::WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("データ1.txt"),
              *disk::toCp932(recordLine(rec("2026/11/30"))) + handEdited());
    EXPECT_EQ(folder.readBytes("バックアップ/データ1_修復前.txt"), handEdited());
}

// Every change that writes the log anew keeps the damaged lines at their places, and the
// first one keeps the log in バックアップ/; a line damaged later is kept by the next.
TEST(LogLines, EveryRewriteKeepsTheDamagedLinesAndCopiesTheLogOnce) {
    using Write = std::function<bool(const std::filesystem::path&)>;
    const std::string commented =
        line("2026/12/01") + *disk::toCp932(kShort) + line("2026/12/03", "昼食後", "よし") +
        line("2026/12/04", "就寝前") + *disk::toCp932(kLong) + line("2026/12/06");
    const std::string renamed = line("2026/12/01", "朝") + *disk::toCp932(kShort) +
                                line("2026/12/03", "昼食後") + line("2026/12/04", "就寝前") +
                                *disk::toCp932(kLong) + line("2026/12/06", "朝");
    const std::string inserted = line("2026/12/01") + *disk::toCp932(kShort) +
                                 line("2026/12/03", "昼食後") + line("2026/12/04", "就寝前") +
                                 *disk::toCp932(kLong) +
                                 *disk::toCp932(recordLine(rec("2026/12/05"))) + line("2026/12/06");
    const struct {
        const char* name;
        Write write;
        std::string after;  // from handEdited()
    } cases[] = {
        {"comment",
         [](const auto& f) {
             LoadedLog log = loadLog(f, 1);
             log.records[1].comment = "よし";
             return writeBackLog(f, 1, log).status == disk::WriteStatus::Ok;
         },
         commented},
        {"situation rename",
         [](const auto& f) {
             return renameSituation(f, 1, "朝食前", "朝", loadSituations(f).stamp).ok();
         },
         renamed},
        {"insertion",
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/12/05")) == disk::WriteStatus::Ok;
         },
         inserted},
        {"unchanged",
         [](const auto& f) {
             return writeBackLog(f, 1, loadLog(f, 1)).status == disk::WriteStatus::Ok;
         },
         handEdited()},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeCp932("状況リスト.txt", "朝食前\r\n");
        folder.writeBytes("データ1.txt", handEdited());
        ASSERT_TRUE(c.write(folder.path())) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
        EXPECT_EQ(folder.readBytes("バックアップ/データ1_修復前.txt"), handEdited()) << c.name;

        // Once more on the same lines: no second copy.
        folder.writeBytes("データ1.txt", handEdited());
        ASSERT_TRUE(c.write(folder.path())) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
        EXPECT_FALSE(folder.exists("バックアップ/データ1_修復前_2.txt")) << c.name;

        // A line damaged since is not in the copy: the next rewrite keeps the log again.
        const std::string edited = handEdited() + "\"2026/12/07\",\"x\"\r\n";
        folder.writeBytes("データ1.txt", edited);
        ASSERT_TRUE(c.write(folder.path())) << c.name;
        EXPECT_EQ(folder.readBytes("バックアップ/データ1_修復前_2.txt"), edited) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt").substr(0, c.after.size()), c.after) << c.name;
    }

    // An append rewrites nothing, and copies nothing.
    TempFolder folder;
    folder.writeBytes("データ1.txt", handEdited());
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/07")));
    EXPECT_EQ(folder.readBytes("データ1.txt"),
              handEdited() + *disk::toCp932(recordLine(rec("2026/12/07"))));
    EXPECT_EQ(folder.fileNames(), Names{"データ1.txt"});
}

TEST(LogLines, ADamagedLastLineKeepsItsPlaceAndStartsNoRecordOfItsOwn) {
    const std::string longLine =
        disk::toCp932(kLong)->substr(0, disk::toCp932(kLong)->size() - 2);  // no line end
    const std::string openQuote = "\"2026/12/05\",\"abc\r\n";
    const std::string added = *disk::toCp932(recordLine(rec("2026/12/07")));
    struct Case {
        const char* name;
        std::string content;
        std::function<bool(const std::filesystem::path&)> write;
        std::string after;
    } cases[] = {
        {"append after a line without its line end", line("2026/12/01") + longLine,
         [](const auto& f) { return pairly::testing::appendRecord(f, 1, rec("2026/12/07")); },
         line("2026/12/01") + longLine + "\r\n" + added},
        {"insertion after it", line("2026/12/01") + longLine,
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/12/07")) == disk::WriteStatus::Ok;
         },
         line("2026/12/01") + longLine + "\r\n" + added},
        {"insertion before it", line("2026/12/01") + longLine,
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/11/07")) == disk::WriteStatus::Ok;
         },
         *disk::toCp932(recordLine(rec("2026/11/07"))) + line("2026/12/01") + longLine},
        // The field stream would close its quote first, which would add a line.
        {"append after a quote left open", line("2026/12/01") + openQuote,
         [](const auto& f) { return pairly::testing::appendRecord(f, 1, rec("2026/12/07")); },
         line("2026/12/01") + openQuote + added},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.writeBytes("データ1.txt", c.content);
        const LoadedLog before = loadLog(folder.path(), 1);
        ASSERT_EQ(before.records.size(), 1u) << c.name;
        ASSERT_EQ(before.damaged.size(), 1u) << c.name;
        ASSERT_TRUE(c.write(folder.path())) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
        const LoadedLog after = loadLog(folder.path(), 1);
        EXPECT_EQ(after.records.size(), 2u) << c.name;
        ASSERT_EQ(after.damaged.size(), 1u) << c.name;
        EXPECT_EQ(after.damaged[0].bytes.substr(0, before.damaged[0].bytes.size()),
                  before.damaged[0].bytes)
            << c.name;
    }
}

// At the content's end a comma opens no field, before a line break it does: an append
// after a last line that ends in a comma reads every earlier line as before.
TEST(LogLines, AnAppendAfterALastLineEndedByACommaChangesNoEarlierLine) {
    const std::string first = line("2026/12/01");
    const std::string last =
        line("2026/12/02").substr(0, line("2026/12/02").size() - 2);  // no line end
    const std::string badNumber =
        *disk::toCp932("\"2026/12/02\",\"朝食前\",abc,22.5,1500,9,48.2,5,2.9,\"\",\"\"");
    const std::string added = *disk::toCp932(recordLine(rec("2026/12/07")));
    const struct {
        const char* name;
        std::string content;
        std::size_t records, damaged;  // before the append
        std::string after;
    } cases[] = {
        // A record: it loses the comma that would make it a damaged line.
        {"a record and a comma", first + last + ",", 2, 0, first + last + "\r\n" + added},
        // Damaged lines either way: their bytes stay.
        {"a record and two commas", first + last + ",,", 1, 1, first + last + ",,\r\n" + added},
        {"a damaged line and a comma", first + badNumber + ",", 1, 1,
         first + badNumber + ",\r\n" + added},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeBytes("データ1.txt", c.content);
        const LoadedLog before = loadLog(folder.path(), 1);
        ASSERT_EQ(before.records.size(), c.records) << c.name;
        ASSERT_EQ(before.damaged.size(), c.damaged) << c.name;
        ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/07"))) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
        const LoadedLog after = loadLog(folder.path(), 1);
        ASSERT_EQ(after.records.size(), c.records + 1) << c.name;
        EXPECT_TRUE(std::equal(before.records.begin(), before.records.end(), after.records.begin()))
            << c.name;
        EXPECT_EQ(after.records.back(), rec("2026/12/07")) << c.name;
        ASSERT_EQ(after.damaged.size(), c.damaged) << c.name;
        for (std::size_t i = 0; i < c.damaged; ++i)
            EXPECT_EQ(after.damaged[i].bytes.substr(0, before.damaged[i].bytes.size()),
                      before.damaged[i].bytes)
                << c.name;
    }
}

// A damaged line of six fields never becomes the first line of a rewritten log: the log
// would then read as predecessor data, neither shown nor saved.
TEST(LogLines, ARewriteNeverTurnsTheLogIntoTheOldLayout) {
    const std::string six = "1,2,3,4,5,6\r\n";
    const std::string sixQuoted = "\"2026/12/01\",\"a\",1,2,\"b\",3\r\n";
    const struct {
        const char* name;
        std::string content;
        bool dropFirstRecord;  // as a deletion of the only weighing before it would
        std::string after;
    } cases[] = {
        {"a blank line before it", "\r\n" + six + line("2026/12/02"), false,
         "\r\n" + six + line("2026/12/02")},
        {"the weighing before it deleted", line("2026/12/01") + six, true, "\r\n" + six},
        {"a quoted fifth field", line("2026/12/01") + sixQuoted, true, "\r\n" + sixQuoted},
        {"behind a weighing it stays as it is", line("2026/12/01") + six, false,
         line("2026/12/01") + six},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeBytes("データ1.txt", c.content);
        LoadedLog log = loadLog(folder.path(), 1);
        ASSERT_FALSE(log.oldLayout) << c.name;
        ASSERT_EQ(log.damaged.size(), 1u) << c.name;
        if (c.dropFirstRecord) {
            log.records.erase(log.records.begin());
            log.damaged[0].before = 0;
        }
        ASSERT_EQ(writeBackLog(folder.path(), 1, log).status, disk::WriteStatus::Ok) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
        const LoadedLog again = loadLog(folder.path(), 1);
        EXPECT_FALSE(again.oldLayout) << c.name;
        EXPECT_EQ(again.records, log.records) << c.name;
        ASSERT_EQ(again.damaged.size(), 1u) << c.name;
        // Written back once more, not a byte changes.
        ASSERT_EQ(writeBackLog(folder.path(), 1, again).status, disk::WriteStatus::Ok) << c.name;
        EXPECT_EQ(folder.readBytes("データ1.txt"), c.after) << c.name;
    }
}

// Partner 1's log in the predecessor's six-field layout waits for its conversion: no screen
// reads it as weighings and no save writes it.
TEST(LogLines, AnOldLayoutLogIsNeitherReadNorWritten) {
    const std::string editions[] = {
        "\"2004/03/01\",\"朝食前\",60.5,\"晴れ\",\"x\",\"予備\"\r\n"
        "\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n",
        "\"2005/07/10\",\"起床後\",58.3,\"メモ\",22.5,\"r\"\r\n",
    };
    using Write = std::function<disk::WriteStatus(const std::filesystem::path&)>;
    const std::pair<const char*, Write> writes[] = {
        {"append", [](const auto& f) { return appendRecordWithStatus(f, 1, rec("2026/12/07")); }},
        {"insertion",
         [](const auto& f) { return insertRecordInDateOrder(f, 1, rec("2000/01/01")); }},
        {"write back", [](const auto& f) { return writeBackLog(f, 1, LoadedLog{}).status; }},
        {"rewrite",
         [](const auto& f) {
             return pairly::testing::rewriteLog(f, 1, {rec("2026/12/07")})
                        ? disk::WriteStatus::Ok
                        : disk::WriteStatus::WriteFailed;
         }},
        {"situation rename",
         [](const auto& f) {
             return renameSituation(f, 1, "朝食前", "朝", loadSituations(f).stamp).status;
         }},
    };
    for (const std::string& old : editions) {
        TempFolder folder;
        folder.writeCp932("データ1.txt", old);
        folder.writeCp932("データ2.txt", old);
        folder.writeCp932("状況リスト.txt", "朝食前\r\n");
        const LoadedLog log = loadLog(folder.path(), 1);
        EXPECT_TRUE(log.oldLayout);
        EXPECT_TRUE(log.records.empty());
        EXPECT_TRUE(log.damaged.empty());
        EXPECT_EQ(lastRecordDate(folder.path(), 1), std::nullopt);
        // Only partner 1's log is converted: in partner 2's the lines are damaged lines.
        EXPECT_FALSE(loadLog(folder.path(), 2).oldLayout);
        EXPECT_EQ(loadLog(folder.path(), 2).damaged.size(),
                  parseLog(*disk::toCp932(old)).damaged.size());

        for (const auto& [name, write] : writes) {
            const disk::WriteStatus status = write(folder.path());
            if (std::string(name) == "rewrite") {
                EXPECT_NE(status, disk::WriteStatus::Ok) << name;
            } else {
                EXPECT_EQ(status, disk::WriteStatus::OldLayout) << name;
            }
            EXPECT_EQ(folder.readCp932("データ1.txt"), old) << name;
            EXPECT_EQ(folder.readCp932("状況リスト.txt"), "朝食前\r\n") << name;
            EXPECT_EQ(folder.fileNames(), (Names{"データ1.txt", "データ2.txt", "状況リスト.txt"}))
                << name;
        }
    }
    EXPECT_NE(oldLayoutRefusal().find("データ1.txt"), std::string::npos);
    EXPECT_NE(oldLayoutRefusal().find("変換"), std::string::npos);
}

TEST(LogLines, TheStartUpMessageNamesTheFilesAndTheLines) {
    std::vector<std::size_t> many;
    for (std::size_t n = 3; n <= 36; n += 3) many.push_back(n);  // twelve lines
    const struct {
        std::vector<DamagedLinesOfFile> files;
        const char* list;  // nullptr: no message
    } cases[] = {
        {{}, nullptr},
        {{{"データ1.txt", {}}, {"データ2.txt", {}}}, nullptr},
        {{{"データ1.txt", {2, 5}}, {"データ2.txt", {}}}, "データ1.txt：2、5 行目\n"},
        {{{"データ1.txt", {7}}, {"データ2.txt", {1, 40000}}},
         "データ1.txt：7 行目\nデータ2.txt：1、40000 行目\n"},
        {{{"データ2.txt", many}},
         "データ2.txt：3、6、9、12、15、18、21、24、27、30 行目ほか 2 行\n"},
    };
    for (const auto& c : cases) {
        const auto notice = damagedLinesNotice(c.files);
        if (!c.list) {
            EXPECT_EQ(notice.has_value(), false);
            continue;
        }
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice->title, "データ確認");
        EXPECT_EQ(notice->text, std::string("次の行は記録として読み取れないため、画面には表示して"
                                            "いません。\n") +
                                    c.list + "\nこれらの行は変更せず、そのままの位置に残します。");
    }

    // From the folder: lines counted as an editor counts them, blank ones included; a log
    // in an old layout is the import's to tell.
    TempFolder folder;
    folder.writeBytes("データ1.txt", line("2026/12/01") + "\r\n" + *disk::toCp932(kShort) +
                                         line("2026/12/03") + *disk::toCp932(kLong));
    folder.writeBytes("データ2.txt", line("2026/12/01"));
    auto notice = damagedLinesNotice(folder.path());
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->text.find("データ1.txt：3、5 行目\n"), std::string::npos) << notice->text;
    EXPECT_EQ(notice->text.find("データ2.txt"), std::string::npos);
    folder.writeCp932("データ1.txt", "\"2004/03/01\",\"朝食前\",60.5,\"\",\"\",\"\"\r\n");
    EXPECT_FALSE(damagedLinesNotice(folder.path()));
    folder.writeBytes("データ2.txt", line("2026/12/01") + "x\r");
    notice = damagedLinesNotice(folder.path());
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->text.find("データ2.txt：2 行目"), std::string::npos);
}

using Files = std::map<std::string, std::string>;

Files everyFile(const TempFolder& folder) {
    Files files;
    for (const auto& name : folder.fileNames())
        if (name != "バックアップ") files[name] = folder.readBytes(name);
    if (folder.exists("バックアップ"))
        for (const auto& e : std::filesystem::directory_iterator(folder.path() / "バックアップ"))
            files["バックアップ/" + e.path().filename().string()] =
                folder.readBytes("バックアップ/" + e.path().filename().string());
    return files;
}

// Each file operation of a rewrite of a log with damaged lines failing in turn, once and
// for good: the log is old or new as reported, the copy in バックアップ/ whole or not
// there, and nothing else is left.
TEST(LogLines, FailuresAroundTheBackupCopyLeaveTheLogOldOrNew) {
    using Write = std::function<disk::WriteStatus(const std::filesystem::path&)>;
    const std::pair<const char*, Write> writes[] = {
        {"insertion",
         [](const auto& f) { return insertRecordInDateOrder(f, 1, rec("2026/12/05")); }},
        {"write back",
         [](const auto& f) {
             LoadedLog log = loadLog(f, 1);
             if (log.failed() || log.records.empty()) return disk::WriteStatus::ReadFailed;
             log.records[0].comment = "x";
             return writeBackLog(f, 1, log).status;
         }},
        {"situation rename",
         [](const auto& f) {
             const RenameOutcome outcome =
                 renameSituation(f, 1, "朝食前", "朝", loadSituations(f).stamp);
             // Stopped half way: the next start ends it; told here as the change not made.
             return outcome.pending != disk::PendingChange::None ? disk::WriteStatus::WriteFailed
                                                                 : outcome.status;
         }},
        {"append after a quote left open",
         [](const auto& f) { return appendRecordWithStatus(f, 1, rec("2026/12/07")); }},
    };
    for (const auto& [name, write] : writes) {
        const bool open = std::string(name).starts_with("append");
        const std::string old = handEdited() + (open ? "\"2026/12/07\",\"abc\r\n" : "");
        const auto lay = [&](const TempFolder& folder) {
            folder.writeBytes("データ1.txt", old);
            folder.writeCp932("状況リスト.txt", "朝食前\r\n");
        };
        Files before, after;
        {
            TempFolder folder;
            lay(folder);
            before = everyFile(folder);
            ASSERT_EQ(write(folder.path()), disk::WriteStatus::Ok) << name;
            after = everyFile(folder);
            ASSERT_EQ(after.at("バックアップ/データ1_修復前.txt"), old) << name;
        }
        for (const bool forGood : {false, true}) {
            for (long n = 1;; ++n) {
                TempFolder folder;
                lay(folder);
                disk::WriteStatus status;
                long seen;
                {
                    auto faults = forGood ? InjectFaults::from(n) : InjectFaults::once(n);
                    status = write(folder.path());
                    seen = faults.seen();
                }
                // A change stopped half way is ended by the next start, old or new.
                std::optional<disk::Recovery> recovery;
                if (folder.exists(disk::kIntentFile)) {
                    recovery = disk::finishInterruptedChange(folder.path());
                    ASSERT_TRUE(recovery) << name << " fault " << n;
                }
                Files now = everyFile(folder);
                const std::string where = std::string(name) + " fault " + std::to_string(n);
                if (recovery && recovery->result == disk::Recovery::Result::Completed) {
                    EXPECT_EQ(now, after) << where;
                    continue;
                }
                if (seen < n) {
                    EXPECT_EQ(now, after) << where;
                    break;
                }
                // Written, also when the disk did not confirm it (which is told).
                if (disk::isWritten(status)) {
                    EXPECT_EQ(now, after) << where;
                    continue;
                }
                EXPECT_EQ(now.at("データ1.txt"),
                          status == disk::WriteStatus::Refused ? after.at("データ1.txt") : old)
                    << where;
                EXPECT_EQ(now.at("状況リスト.txt"), before.at("状況リスト.txt")) << where;
                // The copy made before a write that failed is whole; nothing else is left.
                now.erase("データ1.txt");
                now.erase("状況リスト.txt");
                if (now.count("バックアップ/データ1_修復前.txt")) {
                    EXPECT_EQ(now.at("バックアップ/データ1_修復前.txt"), old) << where;
                    now.erase("バックアップ/データ1_修復前.txt");
                }
                EXPECT_TRUE(now.empty()) << where << ": " << now.begin()->first;
            }
        }
    }
}

}  // namespace
}  // namespace pairly::store
