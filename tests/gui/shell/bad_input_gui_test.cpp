// What the files cannot hold, typed into every field whose text is stored, through the
// real main window: each is refused with a warning box and every file keeps its bytes.
// Also a full log, a log beyond the limit, and files of any content, which no screen may
// crash on.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <cstdio>
#include <functional>
#include <string>

#include "core/store/measurement_log.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

struct Field {
    const char* name;
    std::function<void(ShellFixture&)> open;  // to the field's screen
    std::function<void(ShellFixture&, const QString&)> enter;
};

void fillNewStart(const ShellFixture& f) {
    const char* fields[] = {"txtPriData1", "txtSincyou1",  "txtMokuTai1", "txtNowTai",
                            "txtNowShi",   "txtNowTaisya", "txtNowNaizo", "txtNowKinr",
                            "txtNowKins",  "txtNowKotu",   "txtNowJyou"};
    const char* values[] = {"はな", "160", "52", "58.5", "27",      "1300",
                            "6",    "38",  "3",  "2.4",  "スタート"};
    for (int i = 0; i < 11; ++i) typeInto(f, fields[i], values[i]);
}

void openNewStart(ShellFixture& f) {
    f.click("cmdSettei");
    f.click("cmdNew1");
    fillNewStart(f);
}

// Types into a line edit and presses the button, or Enter when no button is given.
std::function<void(ShellFixture&, const QString&)> typeAndPress(const char* field,
                                                                const char* button) {
    return [field, button](ShellFixture& f, const QString& text) {
        f.find<QLineEdit>(field)->setText(text);
        if (button) {
            f.click(button);
        } else {
            pressEnter(f.find<QLineEdit>(field));
        }
    };
}

void toSettings(ShellFixture& f) { f.click("cmdSettei"); }
void toInput(ShellFixture& f) {
    f.click("cmdMain");
    clickEntry(f.find<QListWidget>("lstAct"), 0);
}

void enterMovingAverage(ShellFixture& f, const QString& text) {
    auto* combo = f.find<QComboBox>("cboIdou");
    combo->lineEdit()->setText(text);
    pressEnter(combo->lineEdit());
    QApplication::processEvents();  // the box takes the count from the event loop
}

const std::vector<Field>& textFields() {
    static const std::vector<Field> fields = {
        {"free situation", [](ShellFixture& f) { f.click("cmdMain"); },
         [](ShellFixture& f, const QString& text) {
             f.dialogs.inputs = {text};
             f.dialogs.answers = {gui::widgets::Answer::Yes};
             f.click("cmdFree");
         }},
        {"added situation", toSettings,
         [](ShellFixture& f, const QString& text) {
             f.dialogs.inputs = {text};
             f.click("cmdNew2");
         }},
        {"rename target", toSettings,
         [](ShellFixture& f, const QString& text) {
             clickEntry(f.find<QListWidget>("lstKoumoku"), 0);
             typeAndPress("txtChg", "cmdChg")(f, text);
         }},
        {"comment", [](ShellFixture& f) { f.click("cmdMemo"); },
         [](ShellFixture& f, const QString& text) {
             clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 2);
             typeAndPress("txtMemo", "cmdMemoHozon")(f, text);
         }},
        {"nickname", toSettings, typeAndPress("txtPriData", "cmdPHozon1")},
        {"new start nickname", openNewStart, typeAndPress("txtPriData1", "cmdStHozon")},
        {"start situation", openNewStart, typeAndPress("txtNowJyou", "cmdStHozon")},
        {"weight step", toSettings, typeAndPress("txtKizami", nullptr)},
        {"body fat step", toSettings, typeAndPress("txtKizami2", nullptr)},
        {"moving average", [](ShellFixture& f) { f.click("cmdRentai"); }, enterMovingAverage},
    };
    return fields;
}

// A warning with only an OK button that is not a screen's read warning.
int refusals(const ShellFixture& f) {
    int n = 0;
    for (const auto& box : f.dialogs.shown)
        n += box.icon == gui::widgets::Icon::Warning && box.buttons == gui::widgets::Buttons::Ok &&
             !box.isInput && box.title != qs("読み込みエラー");
    return n;
}

// Every bad value typed into the field in turn, each refused with one warning box, no
// file touched.
void expectRefused(const Field& field, const std::vector<const char*>& values) {
    ShellFixture f;
    writeDiary(f);
    f.start();
    field.open(f);
    const FolderFiles before = folderFiles(f.folder);
    for (const char* value : values) {
        f.dialogs.shown.clear();
        field.enter(f, qs(value));
        EXPECT_EQ(refusals(f), 1) << field.name << " <" << value << ">";
        for (const auto& box : f.dialogs.shown)
            EXPECT_TRUE(!box.title.isEmpty() && !box.text.isEmpty()) << field.name;
        EXPECT_EQ(folderFiles(f.folder), before) << field.name << " <" << value << ">";
    }
}

TEST(BadInput, StoredTextsRefuseQuotesLineBreaksAndCharactersWithoutCp932Form) {
    const std::vector<const char*> bad = {"朝\"食",  "朝\r食",  "朝\n食", "朝\r\n食",
                                          "ケーキ🍰", "\uF781A", "♥",      "\""};
    for (const Field& field : textFields()) expectRefused(field, bad);
}

TEST(BadInput, NumberFieldsRefuseWhatDoesNotFitTheirType) {
    // Never a number of any kind.
    const std::vector<const char*> never = {"abc",    "1,5",    "6\"0", "1e3",  "--5", "0x10",
                                            "５ｋｇ", "60.5.3", "nan",  "-inf", "1/2"};
    auto with = [&never](std::vector<const char*> more) {
        more.insert(more.begin(), never.begin(), never.end());
        return more;
    };
    const auto weight = with({"0", "-1", "600.1", "99999999999999999999"});
    const auto bodyFat = with({"-0.1", "100.1", "1e40"});
    const auto int16 = with({"32768", "-32769", "99999999999999999999"});
    const auto mass = with({"-0.5", "600.5"});
    const auto height = with({"0", "-160", "1000000000000000000000000000000000000000"});
    const auto step = with({"0", "-0.1", "10.5"});
    const struct {
        Field field;
        std::vector<const char*> values;
    } cases[] = {
        {{"weight", toInput, typeAndPress("txtTaiInp", "cmdTaiHozon")}, weight},
        {{"body fat", toInput, typeAndPress("txtShiInp", "cmdTaiHozon")}, bodyFat},
        {{"basal metabolism", toInput, typeAndPress("txtTaisya", "cmdTaiHozon")}, int16},
        {{"visceral fat", toInput, typeAndPress("txtNaizo", "cmdTaiHozon")}, int16},
        {{"muscle mass", toInput, typeAndPress("txtKinr", "cmdTaiHozon")}, mass},
        {{"muscle score", toInput, typeAndPress("txtKins", "cmdTaiHozon")}, int16},
        {{"bone mass", toInput, typeAndPress("txtKotu", "cmdTaiHozon")}, mass},
        {{"profile height", toSettings, typeAndPress("txtSincyou", "cmdPHozon1")}, height},
        {{"profile target", toSettings, typeAndPress("txtMokuTai", "cmdPHozon1")}, weight},
        {{"new start height", openNewStart, typeAndPress("txtSincyou1", "cmdStHozon")}, height},
        {{"new start target", openNewStart, typeAndPress("txtMokuTai1", "cmdStHozon")}, weight},
        {{"new start weight", openNewStart, typeAndPress("txtNowTai", "cmdStHozon")}, weight},
        {{"new start body fat", openNewStart, typeAndPress("txtNowShi", "cmdStHozon")}, bodyFat},
        {{"new start metabolism", openNewStart, typeAndPress("txtNowTaisya", "cmdStHozon")}, int16},
        {{"new start visceral fat", openNewStart, typeAndPress("txtNowNaizo", "cmdStHozon")},
         int16},
        {{"new start muscle mass", openNewStart, typeAndPress("txtNowKinr", "cmdStHozon")}, mass},
        {{"new start muscle score", openNewStart, typeAndPress("txtNowKins", "cmdStHozon")}, int16},
        {{"new start bone mass", openNewStart, typeAndPress("txtNowKotu", "cmdStHozon")}, mass},
        {{"weight step", toSettings, typeAndPress("txtKizami", nullptr)}, step},
        {{"body fat step", toSettings, typeAndPress("txtKizami2", nullptr)}, step},
        {{"moving average", [](ShellFixture& f) { f.click("cmdRentai"); }, enterMovingAverage},
         with({"0", "-3", "0.5", "32768", "10kg", "ケーキ"})},
    };
    for (const auto& c : cases) expectRefused(c.field, c.values);
}

// A log at the limit takes no further weighing, neither today's nor an earlier day's, and
// an import that would go beyond it is refused; a comment, which adds nothing, is saved.
TEST(BadInput, AFullLogTakesNoMoreWeighings) {
    std::string full;
    full.reserve(store::kMaxRecords * 64);
    for (int i = 0; i < store::kMaxRecords; ++i)
        full += diaryLine(i < store::kMaxRecords / 2 ? "2026/12/01" : "2026/12/06", "起床後",
                          "61.5,26,1380,9,44.8,4,2.7");
    ShellFixture f;
    writeDiary(f);
    f.folder.writeCp932("データ1.txt", full);
    f.start();
    const FolderFiles before = folderFiles(f.folder);
    f.click("cmdMain");
    for (int day : {7, 3}) {
        selectDay(f, 2026, 12, day);
        f.dialogs.shown.clear();
        clickEntry(f.find<QListWidget>("lstAct"), 0);
        f.click("cmdTaiHozon");
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << day;
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存件数超過"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(folderFiles(f.folder), before) << day;
    }
    f.click("cmdMemo");
    f.dialogs.shown.clear();
    clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 1);
    typeAndPress("txtMemo", "cmdMemoHozon")(f, qs("上限"));
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.folder.readCp932("データ1.txt"),
              diaryLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7", "上限") +
                  full.substr(full.find("\r\n") + 2));

    // One weighing more than a log holds, in the weight-only file of the predecessor.
    ShellFixture g;
    writeDiary(g);
    std::string old;
    for (int i = 0; i <= store::kMaxRecords; ++i) old += "\"2026/11/01\",\"起床後\",62.4\r\n";
    g.folder.writeCp932("連続体重.txt", old);
    const FolderFiles oldFiles = folderFiles(g.folder);
    g.dialogs.inputs = {qs("25"), qs("1350"), qs("9"), qs("44.8"), qs("4"), qs("2.7")};
    g.start();
    EXPECT_EQ(refusals(g), 1);
    bool told = false;
    for (const auto& box : g.dialogs.shown)
        told = told || (box.title == qs("データ変換エラー") && box.text.contains(qs("32766")));
    EXPECT_TRUE(told);
    EXPECT_EQ(folderFiles(g.folder), oldFiles);
}

bool isWriter(const std::string& menuButton) {
    return menuButton == "cmdMain" || menuButton == "cmdMemo" || menuButton == "cmdSettei";
}

// Every screen for both partners, and, when asked, every button of the screens that
// only show.
void walkEveryScreen(ShellFixture& f, bool everyButton) {
    const char* views[][2] = {{"cmdAvgtai", "fraAvgTai"}, {"cmdTaijyu", "fraTaijyu"},
                              {"cmdRentai", "fraRenTai"}, {"cmdBunseki", "fraBunseki"},
                              {"cmdCale", "fraCale"},     {"cmdMain", "fraMain"},
                              {"cmdMemo", "fraMemo"},     {"cmdSettei", "fraSettei"}};
    f.dialogs.answers.assign(1000, gui::widgets::Answer::No);
    for (const char* partner : {"cmdUser2", "cmdUser1"}) {
        f.click(partner);
        for (const auto& view : views) {
            f.click(view[0]);
            QApplication::processEvents();
            ASSERT_TRUE(f.find<QWidget>(view[1])->isVisible()) << view[1];
            // The input, memo and settings screens write: only their display is looked at.
            if (!everyButton || isWriter(view[0])) continue;
            for (QAbstractButton* b : f.find<QWidget>(view[1])->findChildren<QAbstractButton*>()) {
                if (!b->isVisible() || !b->isEnabled()) continue;
                // A setting that is stored when switched: asked for, so written.
                if (b->objectName() == "chkHosei") continue;
                b->click();
                QApplication::processEvents();
            }
        }
    }
}

// Files as a damaged disk or a careless hand leaves them: the window starts, every view
// screen with every one of its buttons works on them for both partners, and nothing is
// written back.
TEST(BadInput, FilesOfAnyContentCrashNoScreenAndAreNotWritten) {
    ShellFixture f;
    const std::string huge = "1" + std::string(45, '9');
    f.folder.writeBytes(
        "データ1.txt",
        "\r\n\"2026/12/06\",\"\x83\",1e3,-5,99999,-99999,3.4e38,70000,-1,\"\",\"\"\r\n"
        "\"2026/12/01\",\"x,y\"," +
            huge + ",101,1,1,-" + huge +
            ",1,0,\"a\",\"b\"\r\n"
            "\"9999/99/99\",z\"q,0,0,0,0,0,0,0,\"\",\"\"\r\n"
            "\"abc\",\"\",-60,0,0,0,0,0,0,\"\",\"\"\r\n"
            "\"2026/12/07\",\"\",60,20,1400,8,45,5,2.8,\"\",\"\"\r\n"
            "\"2026/12/07\",\"\",0.0001,0,0,0,0,0,1e-40,\"\",\"\"\r\n"
            "\"2026/12/07\",\"\",60.1,20,1400,8,45");
    // One value so large that a step of its axis would not change it.
    f.folder.writeBytes("データ2.txt",
                        "\"2026/12/05\",\"\",3e37,3e37,0,0,3e37,0,3e37,\"\",\"\"\r\n" +
                            std::string("\0\x01\xff\"\r\n,,,\x81", 10) + huge);
    f.folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "\"氏名\",\"\x83\"\r\n\"身長\",0\r\n\"目標体重\"," + huge);
    f.folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ2.txt", "\"\r\n-1e9");
    f.folder.writeBytes("状況リスト.txt", "a\"b\r\n\"\r\n,,\r\n\x83\r\n" + std::string(500, 'x'));
    f.folder.writeBytes("体重計刻み.txt", "-5\r\nabc");
    f.folder.writeBytes("移動平均.txt", "99999");
    f.folder.writeBytes("自動時間.txt", "x");
    f.folder.writeBytes("マーカー.txt", "7");
    f.folder.writeBytes("設定.txt", "\"ヘルプツアー\",0" + huge);
    f.folder.writeBytes("気付きメモ.txt", std::string("\0\r\r\n\x83", 5));
    const FolderFiles before = folderFiles(f.folder);
    f.dialogs.answers.assign(1000, gui::widgets::Answer::No);
    f.start();
    walkEveryScreen(f, true);
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(folderFiles(f.folder), before);
}

// A log longer than a log may be (joined by hand from two): every screen shows it, and
// nothing adds to it or rewrites it.
TEST(BadInput, ALogBeyondTheLimitIsShownButNeverWritten) {
    std::string log;
    int n = 0;
    for (int y = 2000; y <= 2010; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 28; ++d) {
                char date[11];
                std::snprintf(date, sizeof date, "%04d/%02d/%02d", y, m, d);
                for (int k = 0; k < 11; ++k, ++n)
                    log += diaryLine(
                        date, "起床後",
                        std::to_string(60 + n % 50 / 10.0).substr(0, 4) + ",25,1400,9,45,4,2.7");
            }
    ASSERT_GT(n, store::kMaxRecords);
    ShellFixture f;
    writeDiary(f);
    f.folder.writeCp932("データ1.txt", log);
    const FolderFiles before = folderFiles(f.folder);
    f.start();
    walkEveryScreen(f, false);
    EXPECT_EQ(folderFiles(f.folder), before);

    f.click("cmdMain");
    selectDay(f, 2026, 12, 7);
    f.dialogs.shown.clear();
    clickEntry(f.find<QListWidget>("lstAct"), 0);
    f.click("cmdTaiHozon");
    EXPECT_EQ(refusals(f), 1);
    f.click("cmdMemo");
    f.dialogs.shown.clear();
    clickGridRow(*f.find<gui::widgets::Grid>("msgMemoList"), 1);
    typeAndPress("txtMemo", "cmdMemoHozon")(f, qs("多すぎ"));
    EXPECT_EQ(refusals(f), 1);
    EXPECT_EQ(folderFiles(f.folder), before);
}

}  // namespace
}  // namespace pairly::testing
