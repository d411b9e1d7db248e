// Every operation that rewrites a file is run with each of its file operations failing in
// turn: every file must end old or new as a whole, matching what the operation reported,
// with no temporary file left behind. Every step of these operations matters, so a fault
// is never silent: the rule for each injected fault is
//   - a failure status (WriteFailed, ReadFailed, …) and every file old, or
//   - Unsynced (the disk did not confirm the change) and every file new;
// never Ok, and never new bytes with a failure or old bytes with a success.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "core/disk/change_set.h"
#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::disk {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Files = std::map<std::string, std::string>;  // name -> bytes
using Op = fileops::Op;

store::MeasurementRecord rec(const std::string& date, const std::string& situation) {
    return {date, situation, 60.5f, 21.3f, 1180, 4, 38.4f, 5, 2.3f, "", ""};
}

Files snapshot(const TempFolder& folder) {
    Files files;
    for (const auto& name : folder.fileNames()) files[name] = folder.readBytes(name);
    return files;
}

void lay(const TempFolder& folder, const Files& files) {
    for (const auto& [name, bytes] : files) folder.writeBytes(name, bytes);
}

// Runs `operation` on a fresh copy of `before` with file operation n (of the given kinds)
// failing, for n = 1, 2, … until no operation fails any more. `fromN`: every operation
// from n on fails, as when a disk goes away for good. `unsyncedSteps`: how many steps come
// after the change is in place (fsyncs of the folder, the removal of an intent file).
void sweep(const Files& before, const std::function<WriteStatus(const TempFolder&)>& operation,
           int unsyncedSteps, const std::set<Op>& ops = {}, bool fromN = false) {
    Files after;
    {
        TempFolder folder;
        lay(folder, before);
        ASSERT_EQ(operation(folder), WriteStatus::Ok);
        after = snapshot(folder);
        ASSERT_NE(after, before);
    }
    int unsynced = 0;
    for (long n = 1;; ++n) {
        TempFolder folder;
        lay(folder, before);
        WriteStatus status;
        long seen;
        {
            auto faults = fromN ? InjectFaults::from(n, ops) : InjectFaults::once(n, ops);
            status = operation(folder);
            seen = faults.seen();
        }
        if (seen < n) {
            EXPECT_EQ(status, WriteStatus::Ok);
            EXPECT_EQ(snapshot(folder), after);
            break;
        }
        EXPECT_NE(status, WriteStatus::Ok) << "fault at operation " << n << " went untold";
        if (status == WriteStatus::Unsynced) ++unsynced;
        EXPECT_EQ(snapshot(folder), isWritten(status) ? after : before)
            << "fault at operation " << n;
    }
    if (ops.empty() && !fromN) {
        EXPECT_EQ(unsynced, unsyncedSteps);
    }
}

Files diaryFiles() {
    TempFolder folder;
    EXPECT_TRUE(pairly::testing::rewriteLog(
        folder.path(), 1,
        {rec("2026/12/01", "朝食前"), rec("2026/12/03", "夕食後"), rec("2026/12/05", "朝食前")}));
    EXPECT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/02", "朝食前")}));
    EXPECT_TRUE(pairly::testing::rewriteSituationList(folder.path(), {"朝食前", "夕食後"}));
    folder.writeBytes("体重計刻み.txt", "0.2\r\n0.5\r\n");
    return snapshot(folder);
}

TEST(RewriteFaults, InsertionIsAllOrNothing) {
    const Files diary = diaryFiles();
    sweep(
        diary,
        [](const TempFolder& f) {
            return store::insertRecordInDateOrder(f.path(), 1, rec("2026/12/02", "朝食前"));
        },
        1);
}

TEST(RewriteFaults, AppendIsAllOrNothing) {
    const Files diary = diaryFiles();
    sweep(
        diary,
        [](const TempFolder& f) {
            return pairly::testing::appendRecord(f.path(), 1, rec("2026/12/06", "朝食前"))
                       ? WriteStatus::Ok
                       : WriteStatus::WriteFailed;
        },
        0);
}

TEST(RewriteFaults, ListRewriteIsAllOrNothing) {
    const Files diary = diaryFiles();
    const FileStamp shown = FileStamp::of(diary.at("状況リスト.txt"));
    sweep(
        diary,
        [&shown](const TempFolder& f) {
            return store::rewriteSituationList(f.path(), {"夕食後", "朝食前"}, shown).status;
        },
        1);
}

TEST(RewriteFaults, ScaleStepKeepsTheOtherStepOrChangesNothing) {
    const Files diary = diaryFiles();
    const FileStamp shown = FileStamp::of(diary.at("体重計刻み.txt"));
    sweep(
        diary,
        [&shown](const TempFolder& f) {
            const store::ScaleStepUpdate update =
                store::updateScaleStep(f.path(), store::ScaleStepKind::Weight, "0.1", shown);
            if (update.status == WriteStatus::ReadFailed) return update.status;
            // What the screen takes as the setting in force is what the file holds.
            EXPECT_EQ(update.steps.bodyFatStep, "0.5");
            EXPECT_EQ(update.steps.weightStep, isWritten(update.status) ? "0.1" : "0.2");
            EXPECT_EQ(update.stamp, FileStamp::of(f.readBytes("体重計刻み.txt")));
            return update.status;
        },
        1);
}

// The rename changes two files: both renamed, or both as they were, for one failing
// operation; and for every operation failing from some point on, where the change may
// stop half way (then the outcome says so, and the next start finishes it or takes it
// back: both files new, or both old).
TEST(RewriteFaults, RenameChangesBothFilesOrNeither) {
    const Files diary = diaryFiles();
    const FileStamp shown = FileStamp::of(diary.at("状況リスト.txt"));
    const auto rename = [&shown](const TempFolder& f) {
        return store::renameSituation(f.path(), 1, "朝食前", "朝ごはん前", shown).status;
    };
    sweep(diary, rename, 1);

    Files renamed;
    {
        TempFolder folder;
        lay(folder, diary);
        ASSERT_TRUE(store::renameSituation(folder.path(), 1, "朝食前", "朝ごはん前", shown).ok());
        renamed = snapshot(folder);
    }
    int halfWay = 0;
    for (long n = 1;; ++n) {
        TempFolder folder;
        lay(folder, diary);
        store::RenameOutcome outcome;
        long seen;
        {
            auto faults = InjectFaults::from(n);
            outcome = store::renameSituation(folder.path(), 1, "朝食前", "朝ごはん前", shown);
            seen = faults.seen();
        }
        if (seen < n) break;
        EXPECT_FALSE(outcome.ok()) << n;
        if (isWritten(outcome.status)) {
            EXPECT_EQ(snapshot(folder), renamed) << n;
        } else if (outcome.pending != PendingChange::None) {
            ++halfWay;
            EXPECT_TRUE(folder.exists(kIntentFile)) << n;
            // The next start, on a disk that works again.
            const auto recovery = finishInterruptedChange(folder.path());
            ASSERT_TRUE(recovery) << n;
            EXPECT_EQ(snapshot(folder), outcome.pending == PendingChange::Undo ? diary : renamed)
                << n;
        } else {
            EXPECT_EQ(snapshot(folder), diary) << n;
        }
    }
    EXPECT_GT(halfWay, 0);  // the case is reached and told
}

// Another window changed the list (or the log) since it was read: nothing is written.
TEST(RewriteFaults, ChangedFilesAreNotOverwritten) {
    const Files diary = diaryFiles();
    const FileStamp shown = FileStamp::of(diary.at("状況リスト.txt"));
    const struct {
        const char* file;
        std::string otherBytes;  // what the other window wrote
    } cases[] = {
        {"状況リスト.txt", "朝食前\r\n夕食後\r\n散歩後\r\n"},
        {"状況リスト.txt", ""},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        lay(folder, diary);
        folder.writeBytes(c.file, c.otherBytes);
        const Files changed = snapshot(folder);
        const store::RenameOutcome outcome =
            store::renameSituation(folder.path(), 1, "朝食前", "朝ごはん前", shown);
        EXPECT_EQ(outcome.status, WriteStatus::Stale) << c.otherBytes;
        EXPECT_EQ(outcome.unreadFile, c.file);
        EXPECT_EQ(snapshot(folder), changed);
        const WriteResult list = store::rewriteSituationList(folder.path(), {"夕食後"}, shown);
        EXPECT_EQ(list.status, WriteStatus::Stale);
        const store::ScaleStepUpdate step = store::updateScaleStep(
            folder.path(), store::ScaleStepKind::Weight, "0.5", FileStamp::of("0.1\r\n0.2\r\n"));
        EXPECT_EQ(step.status, WriteStatus::Stale);
        // What the file holds, for the screen to show.
        EXPECT_EQ(step.steps.weightStep, "0.2");
        EXPECT_EQ(step.stamp, FileStamp::of(diary.at("体重計刻み.txt")));
        EXPECT_EQ(snapshot(folder), changed);
    }
}

// A read that fails anywhere in the file refuses the rewrite and names the file.
TEST(RewriteFaults, FailedReadsWriteNothingAndAreReported) {
    const Files diary = diaryFiles();
    const FileStamp shown = FileStamp::of(diary.at("状況リスト.txt"));
    struct Case {
        Op op;
        long n;
        const char* unreadFile;
    } cases[] = {
        {Op::Open, 1, "データ1.txt"},     {Op::Read, 1, "データ1.txt"},
        {Op::Read, 2, "データ1.txt"},     {Op::Close, 1, "データ1.txt"},
        {Op::Open, 2, "状況リスト.txt"},  {Op::Read, 3, "状況リスト.txt"},
        {Op::Close, 2, "状況リスト.txt"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        lay(folder, diary);
        store::RenameOutcome outcome;
        {
            auto faults = InjectFaults::once(c.n, {c.op});
            outcome = store::renameSituation(folder.path(), 1, "朝食前", "朝ごはん前", shown);
        }
        EXPECT_EQ(outcome.status, WriteStatus::ReadFailed) << c.unreadFile << c.n;
        EXPECT_EQ(outcome.unreadFile, c.unreadFile);
        EXPECT_EQ(snapshot(folder), diary);
    }
    for (const Op op : {Op::Open, Op::Read, Op::Close}) {
        TempFolder folder;
        lay(folder, diary);
        {
            auto faults = InjectFaults::once(1, {op});
            EXPECT_EQ(store::updateScaleStep(folder.path(), store::ScaleStepKind::BodyFat, "0.1",
                                             FileStamp::of(diary.at("体重計刻み.txt")))
                          .status,
                      WriteStatus::ReadFailed);
        }
        EXPECT_EQ(snapshot(folder), diary);
    }
}

TEST(RewriteFaults, PuttingTheLogBackRestoresItsExactBytes) {
    TempFolder folder;
    // Two byte forms of one character (NEC-selected and IBM extension): decoding and
    // encoding again would not give the first back.
    const std::string log = "\"2026/12/01\",\"朝食前\",60,20,1,2,3,4,5,\"\xed\x40\",\"\"\r\n";
    folder.writeBytes("データ1.txt", log);
    folder.writeBytes("状況リスト.txt", "朝食前\r\n");
    {
        auto faults = InjectFaults::once(3, {Op::Rename});  // the list's rename
        const store::RenameOutcome outcome =
            store::renameSituation(folder.path(), 1, "朝食前", "朝", FileStamp::of("朝食前\r\n"));
        EXPECT_EQ(outcome.status, WriteStatus::WriteFailed);
        EXPECT_EQ(outcome.pending, PendingChange::None);
    }
    EXPECT_EQ(folder.readBytes("データ1.txt"), log);
    EXPECT_EQ(folder.readBytes("状況リスト.txt"), "朝食前\r\n");
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"データ1.txt", "状況リスト.txt"}));
}

}  // namespace
}  // namespace pairly::disk
