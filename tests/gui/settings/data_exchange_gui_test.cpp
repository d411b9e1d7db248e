// The settings screen's export, import and restore buttons on a whole window: the files
// they write, the boxes they show, and every step failing in turn.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <filesystem>
#include <functional>

#include "core/disk/change_set.h"
#include "core/store/backups.h"
#include "gui/widgets/folder_opener.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

namespace fs = std::filesystem;

std::string logLine(const std::string& date, const std::string& situation,
                    const std::string& values, const std::string& comment = "") {
    return "\"" + date + "\",\"" + situation + "\"," + values + ",\"" + comment + "\",\"\"\r\n";
}

const std::string kLog1 = logLine("2026/12/05", "起床後", "60.1,25,1400,8,45.3,5,2.8", "a, b") +
                          logLine("2026/12/07", "夕食後", "60.5,24.5,1390,8,45.1,5,2.8");
const std::string kLog2 = logLine("2026/12/06", "起床後", "70.2,20,1500,9,50.1,4,3.1");
const char kHeader[] =
    "partner,nickname,date,situation,weight,bodyFat,basalMetabolism,visceralFat,muscleMass,"
    "muscleScore,boneMass,comment\r\n";

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeCouple();
        f.folder.writeCp932("データ1.txt", kLog1);
        f.folder.writeCp932("データ2.txt", kLog2);
        f.start();
        f.click("cmdSettei");
        f.dialogs.shown.clear();
    }
    QString path(const char* name) const {
        return QString::fromStdString((f.folder.path() / name).string());
    }
    // A file of the test's own, outside the data folder's names.
    void writeFile(const char* name, const std::string& bytes) const {
        f.folder.writeBytes(name, bytes);
    }
    std::vector<gui::widgets::ScriptedDialogs::Shown> boxes() const {
        std::vector<gui::widgets::ScriptedDialogs::Shown> out;
        for (const auto& b : f.dialogs.shown)
            if (!b.isInput) out.push_back(b);
        return out;
    }
    QString label(const char* name) const { return f.find<QLabel>(name)->text(); }

    ShellFixture f;
};

TEST_F(DataExchangeTest, ExportWritesBothDiariesOrNothing) {
    f.dialogs.fileNames = {path("出力.csv")};
    f.click("cmdCsvOut");
    EXPECT_EQ(f.folder.readBytes("出力.csv"),
              std::string("\xEF\xBB\xBF") + kHeader +
                  "1,はなこ,2026-12-05,起床後,60.1,25,1400,8,45.3,5,2.8,\"a, b\"\r\n"
                  "1,はなこ,2026-12-07,夕食後,60.5,24.5,1390,8,45.1,5,2.8,\r\n"
                  "2,たろう,2026-12-06,起床後,70.2,20,1500,9,50.1,4,3.1,\r\n");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(boxes()[0].title, qs("CSVに書き出す"));
    EXPECT_TRUE(boxes()[0].text.startsWith(qs("3 件の測定を "))) << boxes()[0].text.toStdString();

    // A cancelled dialog and a data file's name write nothing.
    const struct {
        QString name;
        const char* says;
    } refusals[] = {{QString(), nullptr}, {path("データ2.txt"), "使うファイル（データ2.txt）"}};
    for (const auto& c : refusals) {
        f.dialogs.shown.clear();
        if (!c.name.isEmpty()) f.dialogs.fileNames = {c.name};
        const auto names = f.folder.fileNames();
        f.click("cmdCsvOut");
        EXPECT_EQ(f.folder.fileNames(), names);
        EXPECT_EQ(f.folder.readCp932("データ2.txt"), kLog2);
        ASSERT_EQ(boxes().size(), c.says ? 1u : 0u) << c.name.toStdString();
        if (c.says) {
            EXPECT_EQ(boxes()[0].icon, gui::widgets::Icon::Warning);
            EXPECT_TRUE(boxes()[0].text.contains(qs(c.says))) << boxes()[0].text.toStdString();
        }
    }
}

TEST_F(DataExchangeTest, ImportMergesIntoTheChosenPartnerAndTheScreensShowIt) {
    writeFile("in.csv", std::string("\xEF\xBB\xBF") + kHeader +
                            "2,たろう,2026-12-06,起床後,70.2,20,1500,9,50.1,4,3.1,\r\n"
                            "1,はなこ,2026-12-07,夕食後,60.5,0,0,0,0,0,0,\r\n"
                            "2,たろう,2026-12-07,夕食後,69.8,19.5,1490,9,50,4,3.1,\"x,y\"\r\n");
    const QString countBefore = label("lblUser2");
    f.dialogs.fileNames = {path("in.csv")};
    f.dialogs.choices = {1};
    f.click("cmdCsvIn");
    ASSERT_EQ(f.dialogs.choiceItems.size(), 1u);
    EXPECT_EQ(f.dialogs.choiceItems[0].size(), 2);
    EXPECT_TRUE(f.dialogs.choiceItems[0][1].contains(qs("たろう")));
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].buttons, gui::widgets::Buttons::YesNo);
    EXPECT_TRUE(shown[0].text.startsWith(qs("2 件の測定が見つかりました。")))
        << shown[0].text.toStdString();
    EXPECT_EQ(shown[1].icon, gui::widgets::Icon::Information);
    EXPECT_TRUE(shown[1].text.startsWith(
        qs("たろうの記録：取り込み 1 件、スキップ 1 件、もう一人の 1 件は")))
        << shown[1].text.toStdString();
    EXPECT_EQ(f.folder.readCp932("データ2.txt"),
              kLog2 + logLine("2026/12/07", "夕食後", "69.8,19.5,1490,9,50,4,3.1", "x,y"));
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), kLog1);
    // Today's count beside partner 2's button follows at once.
    EXPECT_NE(label("lblUser2"), countBefore);
}

TEST_F(DataExchangeTest, ImportThatIsCancelledOrDoesNotReadWritesNothing) {
    writeFile("good.csv",
              std::string(kHeader) + "2,たろう,2026-12-07,夕食後,69.8,0,0,0,0,0,0,\r\n");
    writeFile("bad.csv", std::string(kHeader) +
                             "2,たろう,2026-12-07,夕食後,69.8,0,0,0,0,0,0,\r\n"
                             "2,たろう,2026-13-40,夕食後,69.8,0,0,0,0,0,0,\r\n");
    const struct {
        const char* file;  // "" cancels the open dialog
        int choice;        // -1 cancels the partner choice
        gui::widgets::Answer confirm;
        const char* warns;  // the warning's words, or none
    } cases[] = {
        {"", 1, gui::widgets::Answer::Yes, nullptr},
        {"good.csv", -1, gui::widgets::Answer::Yes, nullptr},
        {"good.csv", 1, gui::widgets::Answer::No, nullptr},
        {"bad.csv", 1, gui::widgets::Answer::Yes, "3"},
        {"missing.csv", 1, gui::widgets::Answer::Yes, "何も取り込んでいません"},
    };
    for (const auto& c : cases) {
        f.dialogs.shown.clear();
        f.dialogs.choiceItems.clear();
        if (*c.file) f.dialogs.fileNames = {path(c.file)};
        f.dialogs.choices = {c.choice};
        f.dialogs.answers = {c.confirm};
        const auto names = f.folder.fileNames();
        f.click("cmdCsvIn");
        f.dialogs.fileNames.clear();
        f.dialogs.choices.clear();
        f.dialogs.answers.clear();
        EXPECT_EQ(f.folder.readCp932("データ2.txt"), kLog2) << c.file;
        EXPECT_EQ(f.folder.fileNames(), names) << c.file;
        const auto shown = boxes();
        if (!c.warns) {
            EXPECT_TRUE(shown.empty() || shown.back().buttons == gui::widgets::Buttons::YesNo)
                << c.file;
            continue;
        }
        ASSERT_EQ(shown.size(), 1u) << c.file;                 // no confirmation before the refusal
        EXPECT_TRUE(f.dialogs.choiceItems.empty()) << c.file;  // nor the partner question
        EXPECT_EQ(shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(shown[0].title, qs("CSV・ログを読み込む"));
        EXPECT_TRUE(shown[0].text.contains(qs(c.warns))) << shown[0].text.toStdString();
    }
}

// An old backup folder of partner 1 with another nickname and one weighing of today.
const std::string kOldLog1 = logLine("2026/12/07", "起床後", "61,0,0,0,0,0,0");
const char kOldProfile1[] = "\"氏名\",\"はなちゃん\"\r\n\"身長\",158.5\r\n\"目標体重\",50\r\n";

void writeOldBackup(const TempFolder& folder) {
    fs::create_directories(folder.path() / "バックアップ" / "20261201");
    folder.writeCp932("バックアップ/20261201/データ1.txt", kOldLog1);
    folder.writeCp932("バックアップ/20261201/ﾌﾟﾗｲﾍﾞｰﾄ1.txt", kOldProfile1);
}
int indexOfBackup(const fs::path& folder, const std::string& name) {
    const auto list = store::listBackups(folder);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return int(i);
    return -1;
}

TEST_F(DataExchangeTest, RestoreBringsBackABackupAndReloadsTheWindow) {
    writeOldBackup(f.folder);
    f.folder.writeCp932("バックアップ/20261201/設定.txt", "\"ヘルプツアー\",1\r\n");
    f.dialogs.choices = {indexOfBackup(f.folder.path(), "20261201")};
    // The message that the data is back comes when the window already shows it.
    QString buttonAtMessage;
    f.dialogs.onMessage = [&](const gui::widgets::ScriptedDialogs::Shown& box) {
        if (box.icon == gui::widgets::Icon::Information)
            buttonAtMessage = f.find("cmdUser1")->text();
    };
    f.click("cmdRestore");
    f.dialogs.onMessage = nullptr;
    EXPECT_TRUE(buttonAtMessage.contains(qs("はなちゃん"))) << buttonAtMessage.toStdString();
    ASSERT_EQ(f.dialogs.choiceItems.size(), 1u);
    EXPECT_EQ(f.dialogs.choiceItems[0].filter(qs("2026/12/01")).size(), 1)
        << f.dialogs.choiceItems[0].join("|").toStdString();
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].buttons, gui::widgets::Buttons::YesNo);
    EXPECT_TRUE(shown[0].text.contains(qs("はなこ：バックアップ 1件（今 2件）")));
    EXPECT_EQ(shown[1].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(shown[1].title, qs("バックアップから戻す"));
    EXPECT_TRUE(shown[1].text.endsWith(qs("バックアップ/20261207_戻す前 にあります。")));
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), kOldLog1);
    EXPECT_EQ(f.folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), kOldProfile1);
    EXPECT_EQ(f.folder.readCp932("データ2.txt"), kLog2);  // not in the backup: kept
    // The files as they were wait in a backup of their own.
    EXPECT_EQ(f.folder.readCp932("バックアップ/20261207_戻す前/データ1.txt"), kLog1);
    EXPECT_EQ(f.find<QLineEdit>("txtPriData")->text(), qs("はなちゃん"));
    EXPECT_TRUE(f.find("cmdUser1")->text().contains(qs("はなちゃん")));
    EXPECT_TRUE(f.find<QCheckBox>("chkHelp")->isChecked());  // shown, not written back
    EXPECT_EQ(f.folder.readCp932("設定.txt"), "\"ヘルプツアー\",1\r\n");

    // Declined at the confirmation: nothing changes.
    f.dialogs.shown.clear();
    f.dialogs.choices = {indexOfBackup(f.folder.path(), "20261207_戻す前")};
    f.dialogs.answers = {gui::widgets::Answer::No};
    f.click("cmdRestore");
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), kOldLog1);
    f.dialogs.shown.clear();
    f.dialogs.choices = {indexOfBackup(f.folder.path(), "20261201")};
    f.click("cmdRestore");
    EXPECT_TRUE(boxes().back().text.endsWith(qs("データは変更していません。")));
}

TEST_F(DataExchangeTest, TheDataFolderIsShownCutInTheMiddleAndOpens) {
    auto* label = f.find<QLabel>("lblDataFolder");
    const QString whole = QString::fromStdString(f.folder.path().string());
    EXPECT_TRUE(label->toolTip() == whole && label->text().endsWith(whole.right(6)));  // end kept
    QUrl opened;
    const auto keep = std::exchange(gui::widgets::folderOpener(),
                                    [&](const QUrl& url) { return (opened = url).isValid(); });
    f.click("cmdOpenFolder");
    gui::widgets::folderOpener() = keep;
    EXPECT_EQ(opened, QUrl::fromLocalFile(whole));
}

// Each button with every file operation failing in turn: the files it writes end old or
// new, and a failure is told with a warning.
TEST_F(DataExchangeTest, EveryFailingStepEndsOldOrNewWithAMessage) {
    writeOldBackup(f.folder);
    writeFile("in.csv", std::string(kHeader) + "2,たろう,2026-12-07,夕食後,69.8,0,0,0,0,0,0,\r\n");
    const std::string oldCsv = "old\r\n";
    const struct Button {
        const char* name;
        const char* title;
        std::function<void()> script;
        std::function<std::string()> state;
    } buttons[] = {
        {"cmdCsvOut", "CSVに書き出す", [&] { f.dialogs.fileNames = {path("out.csv")}; },
         [&] { return f.folder.readBytes("out.csv"); }},
        {"cmdCsvIn", "CSV・ログを読み込む",
         [&] {
             f.dialogs.fileNames = {path("in.csv")};
             f.dialogs.choices = {1};
         },
         [&] { return f.folder.readBytes("データ2.txt"); }},
        {"cmdRestore", "バックアップから戻す",
         [&] { f.dialogs.choices = {indexOfBackup(f.folder.path(), "20261201")}; },
         [&] { return f.folder.readBytes("データ1.txt") + f.folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"); }},
    };
    const auto reset = [&] {
        f.folder.writeBytes("out.csv", oldCsv);
        f.folder.writeCp932("データ1.txt", kLog1);
        f.folder.writeCp932("データ2.txt", kLog2);
        f.writeProfile(1, "はなこ", "158.5", "50");
        std::error_code ec;
        fs::remove_all(f.folder.path() / "バックアップ" / "20261207_戻す前", ec);
        f.dialogs.shown.clear();
        f.dialogs.answers.clear();
    };
    for (const Button& b : buttons) {
        reset();
        const std::string before = b.state();
        long steps = 0;
        {
            b.script();
            auto count = InjectFaults::from(1000000);
            f.click(b.name);
            steps = count.seen();
        }
        const std::string after = b.state();
        ASSERT_NE(after, before) << b.name;
        int failures = 0;
        for (long n = 1; n <= steps; ++n) {
            reset();
            b.script();
            {
                auto fail = InjectFaults::once(n);
                f.click(b.name);
            }
            // A change cut short in its renames is finished by the next start.
            if (f.folder.exists(disk::kIntentFile)) {
                EXPECT_TRUE(boxes().back().text.contains(qs("次にペアリー☆ログを起動したとき")));
                disk::finishInterruptedChange(f.folder.path());
            }
            const std::string state = b.state();
            const bool isNew = state == after;
            EXPECT_TRUE(isNew || state == before) << b.name << " step " << n;
            bool warned = false, succeeded = false;
            for (const auto& box : boxes()) {
                warned = warned || box.icon == gui::widgets::Icon::Warning;
                succeeded = succeeded || (box.icon == gui::widgets::Icon::Information &&
                                          box.title == qs(b.title));
            }
            if (isNew) {
                EXPECT_TRUE(succeeded) << b.name << " step " << n;
            } else {
                ++failures;
                EXPECT_TRUE(warned) << b.name << " step " << n;
                EXPECT_FALSE(succeeded) << b.name << " step " << n;
            }
        }
        EXPECT_GE(failures, 1) << b.name;
        f.dialogs.fileNames.clear();
        f.dialogs.choices.clear();
    }
}

}  // namespace
}  // namespace pairly::testing
