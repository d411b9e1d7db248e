// Every operation that writes, driven through the real main window as a user drives it,
// with each file operation it makes failing in turn (the n-th one once, which over all n
// is every operation of every kind), and with each kind failing for good. After each:
// every file holds its old bytes or its new ones as a whole, no temporary file is left,
// the next attempt succeeds, and what the user was told matches the files:
//   - old files: a failure was told (a warning box that is no read warning);
//   - new files: no failure was told; and when a fault was injected, it was told all the
//     same: the change is in the files but the disk did not confirm it (書き込み確認エラー),
//     or a read that failed afterwards (読み込みエラー). A fault never goes untold.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <climits>
#include <filesystem>
#include <functional>

#include "core/disk/change_set.h"
#include "gui/widgets/chart.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

using Op = disk::fileops::Op;

struct Operation {
    const char* id;  // test name
    // The diary before the start (writeDiary when not set).
    std::function<void(const ShellFixture&)> lay = nullptr;
    // Scripted answers and the way to the screen; before the start when the start-up is
    // the operation itself.
    std::function<void(ShellFixture&)> prepare = nullptr;
    // What the user does; empty: the start-up is the operation.
    std::function<void(ShellFixture&)> act = nullptr;
    // The next attempt after a failure (act when not set).
    std::function<void(ShellFixture&)> retry = nullptr;
    // A start-up step that a failed read skips without a word; it runs at the next start.
    bool mayBeSkipped = false;
};

void PrintTo(const Operation& op, std::ostream* os) { *os << op.id; }

void importAnswers(ShellFixture& f, int count) {
    const char* answers[] = {"25.5", "1350", "9", "44.8", "4", "2.7"};
    f.dialogs.inputs.clear();
    for (int i = 6 - count; i < 6; ++i) f.dialogs.inputs.push_back(qs(answers[i]));
}

void fillNewStart(const ShellFixture& f, const char* nickname) {
    const char* fields[] = {"txtPriData1", "txtSincyou1",  "txtMokuTai1", "txtNowTai",
                            "txtNowShi",   "txtNowTaisya", "txtNowNaizo", "txtNowKinr",
                            "txtNowKins",  "txtNowKotu",   "txtNowJyou"};
    const char* values[] = {nickname, "160", "52", "58.5", "27",      "1300",
                            "6",      "38",  "3",  "2.4",  "スタート"};
    for (int i = 0; i < 11; ++i) typeInto(f, fields[i], values[i]);
}

void layTornLog(const ShellFixture& f) {
    writeDiary(f);
    f.folder.writeCp932("データ1.txt", diaryLog1() + "\"2026/12/06\",\"朝食前\",60.3,2");
}

// A hand edit left a line a field short and one a field long: kept by every rewrite, which
// first copies the log into バックアップ/.
void layDamagedLog(const ShellFixture& f) {
    writeDiary(f);
    f.folder.writeCp932(
        "データ1.txt",
        diaryLog1() + "\"2026/12/06\",\"朝食前\",60.3,25,1400,8,45.3,5,2.8,\"\"\r\n" +
            diaryLine("2026/12/07", "起床後", "60,25,1400,8,45.3,5,2.8", "a\",b,\""));
}

// A hand edit left a comma after the last record and no line end: the record still reads,
// and the next weighing's save rewrites the log without that comma.
void layLogEndedByAComma(const ShellFixture& f) {
    writeDiary(f);
    std::string last = diaryLine("2026/12/06", "朝食前", "60.3,25,1400,8,45.3,5,2.8", "");
    last.resize(last.size() - 2);
    f.folder.writeCp932("データ1.txt", diaryLog1() + last + ",");
}

void saveWeighing(ShellFixture& f) {
    clickEntry(f.find<QListWidget>("lstAct"), 1);
    f.click("cmdTaiHozon");
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> list = {
        {"TodaysWeighing", nullptr, [](ShellFixture& f) { f.click("cmdMain"); }, saveWeighing,
         [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"EarlierDaysWeighing", nullptr,
         [](ShellFixture& f) {
             f.click("cmdMain");
             selectDay(f, 2026, 12, 3);
         },
         saveWeighing, [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"WeighingAfterATornLine", layTornLog, [](ShellFixture& f) { f.click("cmdMain"); },
         saveWeighing, [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"WeighingAfterALastLineEndedByAComma", layLogEndedByAComma,
         [](ShellFixture& f) { f.click("cmdMain"); }, saveWeighing,
         [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"FreeSituationAddedToTheList", nullptr, [](ShellFixture& f) { f.click("cmdMain"); },
         [](ShellFixture& f) {
             f.dialogs.inputs = {qs("散歩後")};
             f.dialogs.answers = {gui::widgets::Answer::Yes};
             f.click("cmdFree");
         }},
        {"FreeSituationAddedToAQuotedList",
         [](const ShellFixture& f) {
             writeDiary(f);
             f.folder.writeCp932("状況リスト.txt", "\"起床後\"\r\n\"朝食前\"\r\n");
         },
         [](ShellFixture& f) { f.click("cmdMain"); },
         [](ShellFixture& f) {
             f.dialogs.inputs = {qs("散歩後")};
             f.dialogs.answers = {gui::widgets::Answer::Yes};
             f.click("cmdFree");
         }},
        {"SituationAdded", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             f.dialogs.inputs = {qs("散歩後")};
             f.click("cmdNew2");
         }},
        {"SituationOrder", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             dragEntry(f.find<QListWidget>("lstKoumoku"), 2, 0);
             f.click("cmdSort");
         },
         [](ShellFixture& f) { f.click("cmdSort"); }},
        {"SituationDeleted", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             clickEntry(f.find<QListWidget>("lstKoumoku"), 1);
             f.click("cmdDel");
         }},
        {"EverySituationDeleted", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) { f.click("cmdDel2"); }},
        {"SituationRenamed", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             clickEntry(f.find<QListWidget>("lstKoumoku"), 1);
             typeInto(f, "txtChg", "朝ごはん前");
             f.click("cmdChg");
         }},
        {"ProfileEdited", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             typeInto(f, "txtPriData", "はな");
             typeInto(f, "txtMokuTai", "49.5");
             f.click("cmdPHozon1");
         }},
        {"ScaleStepChosen", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) { f.find<QRadioButton>("optKizami_3")->click(); }},
        {"ScaleStepTyped", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             typeInto(f, "txtKizami2", "0.3");
             pressEnter(f.find<QLineEdit>("txtKizami2"));
         }},
        {"WeightStepTyped", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) {
             typeInto(f, "txtKizami", "0.3");
             pressEnter(f.find<QLineEdit>("txtKizami"));
         }},
        {"BodyFatStepChosen", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) { f.find<QRadioButton>("optKizami1_3")->click(); }},
        {"AutomaticTime", nullptr, [](ShellFixture& f) { f.click("cmdSettei"); },
         [](ShellFixture& f) { f.find<QCheckBox>("chkJikan")->click(); }},
        {"MarkerMode", nullptr, [](ShellFixture& f) { f.click("cmdMain"); },
         [](ShellFixture& f) {
             sendMouseTo(f.find<gui::widgets::Chart>("mcrMain")->viewport(),
                         QEvent::MouseButtonPress, QPoint(50, 50));
         }},
        // A failed write keeps the tour on for this run only: the next try switches it
        // off and on again.
        {"HelpTourSwitch", nullptr, nullptr,
         [](ShellFixture& f) { f.find<QCheckBox>("chkHelp")->click(); },
         [](ShellFixture& f) {
             f.find<QCheckBox>("chkHelp")->click();
             f.find<QCheckBox>("chkHelp")->click();
         }},
        {"MovingAverage", nullptr, [](ShellFixture& f) { f.click("cmdRentai"); },
         [](ShellFixture& f) {
             auto* combo = f.find<QComboBox>("cboIdou");
             combo->lineEdit()->setText("5");
             pressEnter(combo->lineEdit());
             QApplication::processEvents();
         }},
        {"SituationCorrection", nullptr, [](ShellFixture& f) { f.click("cmdRentai"); },
         [](ShellFixture& f) { f.find<QCheckBox>("chkHosei")->click(); }},
        {"Comment", nullptr, [](ShellFixture& f) { f.click("cmdMemo"); },
         [](ShellFixture& f) {
             clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 2);
             typeInto(f, "txtMemo", "よく歩いた");
             f.click("cmdMemoHozon");
         },
         [](ShellFixture& f) { f.click("cmdMemoHozon"); }},
        // A log with a torn last line is kept in バックアップ/ before it is rewritten.
        {"CommentOnATornLog", layTornLog, [](ShellFixture& f) { f.click("cmdMemo"); },
         [](ShellFixture& f) {
             clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 2);
             typeInto(f, "txtMemo", "よく歩いた");
             f.click("cmdMemoHozon");
         },
         [](ShellFixture& f) { f.click("cmdMemoHozon"); }},
        {"EarlierDaysWeighingOnATornLog", layTornLog,
         [](ShellFixture& f) {
             f.click("cmdMain");
             selectDay(f, 2026, 12, 3);
         },
         saveWeighing, [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"CommentOnADamagedLog", layDamagedLog, [](ShellFixture& f) { f.click("cmdMemo"); },
         [](ShellFixture& f) {
             clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 2);
             typeInto(f, "txtMemo", "よく歩いた");
             f.click("cmdMemoHozon");
         },
         [](ShellFixture& f) { f.click("cmdMemoHozon"); }},
        {"EarlierDaysWeighingOnADamagedLog", layDamagedLog,
         [](ShellFixture& f) {
             f.click("cmdMain");
             selectDay(f, 2026, 12, 3);
         },
         saveWeighing, [](ShellFixture& f) { f.click("cmdTaiHozon"); }},
        {"NotesMemo", nullptr, [](ShellFixture& f) { f.click("cmdMemo"); },
         [](ShellFixture& f) {
             auto* memo = f.find<QPlainTextEdit>("txtKizuki");
             memo->selectAll();
             memo->insertPlainText(qs("新しいメモ\n\n二行目"));
             f.click("cmdKizukiHozon");
         },
         [](ShellFixture& f) { f.click("cmdKizukiHozon"); }},
        {"NewStartPartnerOne", nullptr,
         [](ShellFixture& f) {
             f.click("cmdSettei");
             f.click("cmdNew1");
         },
         [](ShellFixture& f) {
             fillNewStart(f, "はな");
             f.click("cmdStHozon");
         },
         [](ShellFixture& f) { f.click("cmdStHozon"); }},
        {"NewStartPartnerTwo", nullptr,
         [](ShellFixture& f) {
             f.click("cmdSettei");
             f.click("cmdNew1");
             fillNewStart(f, "はな");
             f.click("cmdStHozon");
         },
         [](ShellFixture& f) {
             fillNewStart(f, "たろ");
             f.click("cmdStHozon");
         },
         [](ShellFixture& f) { f.click("cmdStHozon"); }},
        {"ImportOfAWeightOnlyFile",
         [](const ShellFixture& f) {
             writeDiary(f);
             f.folder.writeCp932(
                 "連続体重.txt",
                 "\"2026/11/05\",\"起床後\",62.4\r\n\"2026/11/06\",\"夕食後\",62\r\n");
         },
         [](ShellFixture& f) { importAnswers(f, 6); }, nullptr, nullptr, true},
        {"ImportOfTheFirstEdition",
         [](const ShellFixture& f) {
             writeDiary(f);
             f.folder.writeCp932("データ1.txt",
                                 "\"2026/11/01\",\"朝食前\",60.5,\"晴れ, 快調\",\"x\",\"予備\"\r\n"
                                 "\"2026/11/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n");
         },
         [](ShellFixture& f) { importAnswers(f, 6); }, nullptr, nullptr, true},
        {"ImportOfTheSecondEdition",
         [](const ShellFixture& f) {
             writeDiary(f);
             f.folder.writeCp932("データ1.txt",
                                 "\"2026/11/10\",\"起床後\",58.3,\"メモ\",22.5,\"r\"\r\n"
                                 "\"2026/11/11\",\"起床後\",58.1,\"\",22.4,\"\"\r\n");
         },
         [](ShellFixture& f) { importAnswers(f, 5); }, nullptr, nullptr, true},
        {"FirstRunSituationList", [](const ShellFixture&) {}, nullptr, nullptr, nullptr, true},
    };
    return list;
}

class WritingFaults : public ::testing::TestWithParam<Operation> {
protected:
    // A fresh diary with the window on the operation's screen (or, for a start-up
    // operation, with its answers scripted and no window yet).
    void begin(ShellFixture& f) const {
        const Operation& op = GetParam();
        if (op.lay) {
            op.lay(f);
        } else {
            writeDiary(f);
        }
        if (op.act) f.start();
        if (op.prepare) op.prepare(f);
        f.dialogs.shown.clear();
    }
    void act(ShellFixture& f) const {
        const Operation& op = GetParam();
        if (op.act) {
            op.act(f);
        } else {
            f.start();
        }
    }
    // The operation without faults: the files before and after it, how many file
    // operations it makes, and the boxes it showed.
    struct Baseline {
        FolderFiles before, after;
        long count = 0;
        bool told = false;
        std::string shown;
    };
    Baseline baseline() const;

    void retry(ShellFixture& f) const {
        const Operation& op = GetParam();
        if (!op.act) {
            f.window.reset();
            if (op.prepare) op.prepare(f);
            f.start();
        } else if (op.retry) {
            op.retry(f);
        } else {
            op.act(f);
        }
    }
};

bool isBackup(const std::string& path) { return path.rfind("バックアップ/", 0) == 0; }

FolderFiles outsideBackups(const FolderFiles& files) {
    FolderFiles out;
    for (const auto& [name, bytes] : files)
        if (!isBackup(name)) out[name] = bytes;
    return out;
}

// A copy kept in バックアップ/ holds the bytes some file had before.
void expectBackupsAreOldFiles(const FolderFiles& now, const FolderFiles& before,
                              const std::string& what) {
    for (const auto& [name, bytes] : now) {
        if (!isBackup(name) || before.count(name)) continue;
        bool copy = false;
        for (const auto& [old, oldBytes] : before)
            copy = copy || (!isBackup(old) && oldBytes == bytes);
        EXPECT_TRUE(copy) << what << ": " << name << " is no copy of an old file";
    }
}

// A warning box that is no question, no read warning of a screen and no word of a change
// made but not confirmed: the operation reported a failure.
bool failureTold(const ShellFixture& f) {
    for (const auto& box : f.dialogs.shown)
        if (box.icon == gui::widgets::Icon::Warning && box.buttons == gui::widgets::Buttons::Ok &&
            !box.isInput && box.title != qs("読み込みエラー") &&
            box.title != qs("書き込み確認エラー"))
            return true;
    return false;
}

bool shownTitled(const ShellFixture& f, const char* title) {
    for (const auto& box : f.dialogs.shown)
        if (box.title == qs(title)) return true;
    return false;
}

QString boxes(const ShellFixture& f) {
    QString out;
    for (const auto& box : f.dialogs.shown) out += "[" + box.title + ": " + box.text + "] ";
    return out;
}

WritingFaults::Baseline WritingFaults::baseline() const {
    Baseline b;
    ShellFixture f;
    begin(f);
    b.before = folderFiles(f.folder);
    {
        auto counting = InjectFaults::from(LONG_MAX);
        act(f);
        b.count = counting.seen();
    }
    b.after = folderFiles(f.folder);
    b.told = failureTold(f);
    b.shown = boxes(f).toStdString();
    return b;
}

TEST_P(WritingFaults, EveryFailingStepKeepsOldOrNewFilesAndTheNextTrySucceeds) {
    const Baseline base = baseline();
    const FolderFiles& before = base.before;
    const FolderFiles& after = base.after;
    const long count = base.count;
    ASSERT_NE(outsideBackups(after), outsideBackups(before));
    ASSERT_FALSE(base.told) << base.shown;
    ASSERT_GT(count, 0);

    int failures = 0;
    const auto check = [&](const std::function<InjectFaults()>& faults, const std::string& what) {
        ShellFixture f;
        begin(f);
        long injected = 0;
        {
            auto active = faults();
            act(f);
            // A failed read that ends in the same files only took the safe way.
            injected = active.failedChanges();
        }

        const FolderFiles now = folderFiles(f.folder);
        const std::string shown = boxes(f).toStdString();
        if (outsideBackups(now) == outsideBackups(after)) {
            // At start-up another step may tell a failure of its own, and the start-up's
            // reads of the settings fall back to defaults without a word.
            if (GetParam().act) {
                EXPECT_FALSE(failureTold(f)) << what << ": " << shown;
                if (injected > 0) {
                    EXPECT_TRUE(shownTitled(f, "書き込み確認エラー") ||
                                shownTitled(f, "読み込みエラー"))
                        << what << ": the fault went untold";
                }
            }
            EXPECT_EQ(now, after) << what;
            return;
        }
        ++failures;
        EXPECT_EQ(outsideBackups(now), outsideBackups(before)) << what << ": " << shown;
        if (!GetParam().mayBeSkipped) {
            EXPECT_TRUE(failureTold(f)) << what << ": " << shown;
        }
        expectBackupsAreOldFiles(now, before, what);

        f.dialogs.shown.clear();
        retry(f);
        const FolderFiles again = folderFiles(f.folder);
        EXPECT_EQ(outsideBackups(again), outsideBackups(after))
            << what << ", next try: " << boxes(f).toStdString();
        EXPECT_FALSE(failureTold(f)) << what << ", next try: " << boxes(f).toStdString();
        expectBackupsAreOldFiles(again, before, what);
    };
    for (long n = 1; n <= count; ++n)
        check([n] { return InjectFaults::once(n); }, "operation " + std::to_string(n) + " failing");
    for (Op kind : {Op::Open, Op::Read, Op::Write, Op::Fsync, Op::Close, Op::Rename, Op::Remove,
                    Op::FolderSync, Op::MakeFolder})
        check([kind] { return InjectFaults::always({kind}); },
              "every operation of kind " + std::to_string(int(kind)) + " failing");
    EXPECT_GT(failures, 0);
}

// The disk fails for good from some step on (full, or gone): each file holds its old
// bytes or its new ones and the failure is told. An operation over two files may then
// stop half way (a new start's profile without its log), which its message says; the next
// start, on a disk that works again, makes them all old or all new. The old files are in
// バックアップ/ or still in place.
TEST_P(WritingFaults, FailingForGoodFromAnyStepKeepsEachFileOldOrNew) {
    const Baseline base = baseline();
    const FolderFiles& before = base.before;
    const FolderFiles& after = base.after;
    const long count = base.count;
    for (long n = 1; n <= count; ++n) {
        const std::string what = "failing from operation " + std::to_string(n);
        ShellFixture f;
        begin(f);
        {
            auto active = InjectFaults::from(n);
            act(f);
        }
        const FolderFiles now = outsideBackups(folderFiles(f.folder));
        const bool halfWay = now.count(disk::kIntentFile) > 0;
        for (const auto& [name, bytes] : now) {
            // Stopped half way: the intent file and the new files it names wait for the
            // next start.
            if (halfWay && (name == disk::kIntentFile || disk::isProgramTemporary(name))) continue;
            const bool old = before.count(name) && before.at(name) == bytes;
            const bool fresh = after.count(name) && after.at(name) == bytes;
            EXPECT_TRUE(old || fresh) << what << ": " << name << " " << boxes(f).toStdString();
        }
        for (const auto& [name, bytes] : outsideBackups(before)) {
            EXPECT_TRUE(now.count(name) || !after.count(name)) << what << ": " << name << " lost";
        }
        if (now != outsideBackups(after) && !GetParam().mayBeSkipped) {
            EXPECT_TRUE(failureTold(f)) << what << ": " << boxes(f).toStdString();
        }
        if (halfWay) {
            EXPECT_TRUE(failureTold(f)) << what << ": " << boxes(f).toStdString();
            f.window.reset();
            f.dialogs.shown.clear();
            f.start();
            const FolderFiles next = outsideBackups(folderFiles(f.folder));
            EXPECT_TRUE(next == outsideBackups(before) || next == outsideBackups(after))
                << what << ", the next start: " << boxes(f).toStdString();
            EXPECT_TRUE(shownTitled(f, "データ復旧")) << what << ": " << boxes(f).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, WritingFaults, ::testing::ValuesIn(operations()),
                         [](const ::testing::TestParamInfo<Operation>& info) {
                             return std::string(info.param.id);
                         });

}  // namespace
}  // namespace pairly::testing
