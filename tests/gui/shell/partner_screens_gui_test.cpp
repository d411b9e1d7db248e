// The selected partner on every screen: whichever screen the partner was changed on, every
// screen opened afterwards shows that partner's data and profile, a weighing goes into that
// partner's log, and a saved profile shows at once on the buttons, the title and the
// comparison.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>

#include "gui/widgets/elided_button.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

// Partner 1 weighs 61.5 today and began in November; partner 2 weighs 83.7, today only.
// The two weights appear nowhere else, so a screen holding one of them shows that partner.
const std::string kLog1 = diaryLine("2026/11/20", "起床後", "62,26,1380,9,44.8,4,2.7") +
                          diaryLine("2026/12/07", "起床後", "61.5,25.5,1390,9,45,4,2.7");
const std::string kLog2 = diaryLine("2026/12/07", "起床後", "83.7,20,1600,10,55,8,3.1");

void writeTwoDiaries(const ShellFixture& f) {
    f.writeCouple(0);  // はなこ 158.5 cm target 50, たろう 172 cm target 65
    f.folder.writeCp932("データ1.txt", kLog1);
    f.folder.writeCp932("データ2.txt", kLog2);
}

QString gridTexts(const ShellFixture& f, const char* name) {
    auto* grid = f.find<gui::widgets::Grid>(name);
    QStringList cells;
    for (int r = 1; r <= grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) cells << grid->text(r, c);
    return cells.join('|');
}
QString labelText(const ShellFixture& f, const char* name) { return f.find<QLabel>(name)->text(); }

// The figure by which a screen shows whose data it holds, and that figure for each partner.
struct ScreenProbe {
    const char* button;
    const char* panel;
    std::function<QString(const ShellFixture&)> shown;
    const char* partner1;
    const char* partner2;
};

// Contains the weight of one partner and not the other's.
QString whoseWeight(const QString& texts) {
    const bool one = texts.contains(qs("61.5"));
    const bool two = texts.contains(qs("83.7"));
    if (one == two) return qs("?") + texts;
    return one ? qs("61.5") : qs("83.7");
}

const ScreenProbe kScreens[] = {
    {"cmdMain", "fraMain", [](const ShellFixture& f) { return gridTexts(f, "msgDayList"); },
     "1|起床後|61.5Kg|-0.5Kg|↓|0.0Kg|→|24.5|11.3%|25.5%",
     "1|起床後|83.7Kg|0.0Kg|→|0.0Kg|→|28.3|28.6%|20.0%"},
    {"cmdTaijyu", "fraTaijyu",
     [](const ShellFixture& f) { return whoseWeight(gridTexts(f, "msgBunseki")); }, "61.5", "83.7"},
    {"cmdBunseki", "fraBunseki",
     [](const ShellFixture& f) { return whoseWeight(gridTexts(f, "msgB1")); }, "61.5", "83.7"},
    // Partner 1's calendar begins in November: two month rows.
    {"cmdCale", "fraCale",
     [](const ShellFixture& f) {
         return QString::number(f.find<gui::widgets::Grid>("msgList2")->rowCount());
     },
     "2", "1"},
    {"cmdMemo", "fraMemo",
     [](const ShellFixture& f) { return whoseWeight(gridTexts(f, "msgMemoList")); }, "61.5",
     "83.7"},
    {"cmdRentai", "fraRenTai",
     [](const ShellFixture& f) {
         return labelText(f, "lblKiro") + '|' + f.find("cmdMokuChk")->text();
     },
     "最小記録 2026/12/07 の 61.5Kg   初日から 0.5Kg 減|目標まで残り　11.5Kg",
     "最小記録 2026/12/07 の 83.7Kg   初日から 0.0Kg 同|目標まで残り　18.7Kg"},
    // Height, the last weight and the obesity degree of one and the same partner.
    {"cmdSettei", "fraSettei",
     [](const ShellFixture& f) {
         return f.find<QLineEdit>("txtSincyou")->text() + '|' + labelText(f, "lblBmiWeight") + '|' +
                labelText(f, "lblTai") + '|' + labelText(f, "lblHiman");
     },
     "158.5|61.5|61.5|11.2", "172|83.7|83.7|28.6"},
    // Both partners side by side, whoever is selected: the targets row.
    {"cmdAvgtai", "fraAvgTai",
     [](const ShellFixture& f) { return labelText(f, "lblD1_6") + '|' + labelText(f, "lblD2_6"); },
     "50.0Kgまで ( 11.5Kg )|65.0Kgまで ( 18.7Kg )", "50.0Kgまで ( 11.5Kg )|65.0Kgまで ( 18.7Kg )"},
};

// The chosen button bold in a frame of its partner's colour, lblWho naming it in that colour.
QString partnerMark(const ShellFixture& f) {
    QString marks;
    for (const char* name : {"cmdUser1", "cmdUser2"})
        marks += QString::number(f.find<gui::widgets::ElidedButton>(name)->font().bold()) +
                 f.find<gui::widgets::ElidedButton>(name)->mark().name();
    auto* who = f.find<QLabel>("lblWho");
    return marks + who->text() + who->palette().color(QPalette::WindowText).name();
}
const char* const kMarks[] = {"1#286edc0#000000はなこ#286edc", "0#0000001#e13c6eたろう#e13c6e"};

QString expectedOn(const ScreenProbe& s, int slot) {
    return qs(slot == 1 ? s.partner1 : s.partner2);
}

TEST(ShellPartnerOnEveryScreen, EveryScreenShowsThePartnerChosenOnAnyOther) {
    ShellFixture f;
    writeTwoDiaries(f);
    f.start();

    int slot = 1;
    for (const ScreenProbe& here : kScreens) {
        f.click(here.button);
        slot = 3 - slot;
        f.click(slot == 1 ? "cmdUser1" : "cmdUser2");
        ASSERT_EQ(f.window->context().currentSlot, slot);
        EXPECT_EQ(here.shown(f), expectedOn(here, slot))
            << "partner " << slot << " chosen on " << here.panel;
        EXPECT_EQ(partnerMark(f), qs(kMarks[slot - 1])) << here.panel;
        for (const ScreenProbe& there : kScreens) {
            if (&there == &here) continue;
            f.click(there.button);
            ASSERT_FALSE(f.find<QWidget>(there.panel)->isHidden());
            EXPECT_EQ(there.shown(f), expectedOn(there, slot))
                << "partner " << slot << " chosen on " << here.panel << ", then " << there.panel;
        }
    }
    EXPECT_TRUE(f.dialogs.shown.empty());
}

// The partner chosen on the start screen: picking a situation fills in that partner's last
// values, and the save goes into that partner's log, the other's keeping its bytes.
TEST(ShellPartnerOnEveryScreen, AWeighingGoesIntoTheLogOfThePartnerChosenElsewhere) {
    struct Case {
        const char* chosenOn;  // the menu button of the screen the partner is chosen on
        int slot;
        const char* lastWeight;
        const char* savedLine;
    };
    const Case cases[] = {
        {"cmdAvgtai", 2, "83.7",
         "\"2026/12/07\",\"夕食後\",83.7,20,1600,10,55,8,3.1,\"\",\"\"\r\n"},
        {"cmdRentai", 2, "83.7",
         "\"2026/12/07\",\"夕食後\",83.7,20,1600,10,55,8,3.1,\"\",\"\"\r\n"},
        {"cmdSettei", 2, "83.7",
         "\"2026/12/07\",\"夕食後\",83.7,20,1600,10,55,8,3.1,\"\",\"\"\r\n"},
        // Away to partner 2 and back to partner 1 on other screens.
        {"cmdMemo", 1, "61.5", "\"2026/12/07\",\"夕食後\",61.5,25.5,1390,9,45,4,2.7,\"\",\"\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosenOn);
        ShellFixture f;
        writeTwoDiaries(f);
        f.start();
        // Partner 1's values are in the entry panel's reach before the change.
        f.click("cmdMain");
        f.click(c.chosenOn);
        f.click("cmdUser2");
        if (c.slot == 1) {
            f.click("cmdTaijyu");
            f.click("cmdUser1");
        }
        f.click("cmdMain");
        auto* lstAct = f.find<QListWidget>("lstAct");
        clickEntry(lstAct, 1);  // 夕食後
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), qs(c.lastWeight));
        f.click("cmdTaiHozon");

        const std::string& untouched = c.slot == 1 ? kLog2 : kLog1;
        const std::string& written = c.slot == 1 ? kLog1 : kLog2;
        EXPECT_EQ(f.folder.readCp932(c.slot == 1 ? "データ2.txt" : "データ1.txt"), untouched);
        EXPECT_EQ(f.folder.readCp932(c.slot == 1 ? "データ1.txt" : "データ2.txt"),
                  written + c.savedLine);
        EXPECT_TRUE(f.dialogs.shown.empty());
    }
}

// Away from the input screen and back with nothing changed, a weighing half entered is
// still there; after a partner change or a profile save it gives way to the partner's own.
TEST(ShellPartnerOnEveryScreen, TheInputScreenKeepsATypedEntryWhileItsDataStayTheSame) {
    struct Case {
        const char* label;
        std::function<void(const ShellFixture&)> away;
        const char* weightField;  // txtTaiInp on return
        bool steppers;
    };
    const auto visitAll = [](const ShellFixture& f) {
        for (const char* b : {"cmdTaijyu", "cmdAvgtai", "cmdBunseki", "cmdCale", "cmdMemo",
                              "cmdRentai", "cmdSettei"})
            f.click(b);
    };
    const Case cases[] = {
        {"every other screen", visitAll, "60.2", true},
        {"the selected partner pressed again",
         [](const ShellFixture& f) {
             f.click("cmdCale");
             f.click("cmdUser1");
         },
         "60.2", true},
        {"partner 2 and back",
         [](const ShellFixture& f) {
             f.click("cmdCale");
             f.click("cmdUser2");
             f.click("cmdUser1");
         },
         "", false},
        {"a profile saved",
         [](const ShellFixture& f) {
             f.click("cmdSettei");
             typeInto(f, "txtSincyou", "160");
             f.click("cmdPHozon1");
         },
         "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ShellFixture f;
        writeTwoDiaries(f);
        f.start();
        f.click("cmdMain");
        clickEntry(f.find<QListWidget>("lstAct"), 1);
        typeInto(f, "txtTaiInp", "60.2");
        c.away(f);
        f.click("cmdMain");
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), qs(c.weightField));
        EXPECT_EQ(f.find("cmdUp")->isEnabled(), c.steppers);
        EXPECT_EQ(gridTexts(f, "msgDayList").section('|', 2, 2), qs("61.5Kg"));
    }
}

// A profile saved on the settings screen is the partner's at once: the button, the title,
// the comparison's name and target row, the trend's goal and the BMI figures follow it.
TEST(ShellPartnerOnEveryScreen, ASavedProfileShowsAtOnceEverywhere) {
    struct Case {
        int slot;
        const char* nickname;
        const char* target;
        const char* caption;
        const char* title;
        const char* targetRow;  // lblD1_6 / lblD2_6 of the comparison
        const char* goal;       // cmdMokuChk of the trend screen
    };
    const Case cases[] = {
        {1, "はるこ", "55", "はるこ", " はるこ のデータ", "55.0Kgまで ( 6.5Kg )",
         "目標まで残り　6.5Kg"},
        {2, "じろう", "80", "じろう", " じろう のデータ", "80.0Kgまで ( 3.7Kg )",
         "目標まで残り　3.7Kg"},
        {1, "", "60", "パートナー１", " ペアリー☆ログ", "60.0Kgまで ( 1.5Kg )",
         "目標まで残り　1.5Kg"},
        {2, "", "83.7", "パートナー２", " ペアリー☆ログ", "83.7Kgまで ( 0.0Kg )",
         "目標まで残り　0.0Kg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.slot) + " " + c.nickname);
        ShellFixture f;
        writeTwoDiaries(f);
        f.start();
        const char* user = c.slot == 1 ? "cmdUser1" : "cmdUser2";
        const char* otherUser = c.slot == 1 ? "cmdUser2" : "cmdUser1";
        const QString otherCaption = f.find(otherUser)->text();
        f.click(user);
        f.click("cmdSettei");
        typeInto(f, "txtPriData", c.nickname);
        typeInto(f, "txtSincyou", "150");
        typeInto(f, "txtMokuTai", c.target);
        f.click("cmdPHozon1");
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存終了"));

        EXPECT_EQ(f.find(user)->text(), qs(c.caption));
        EXPECT_EQ(f.find(otherUser)->text(), otherCaption);
        EXPECT_EQ(f.window->windowTitle(), qs(c.title));
        // The meter beside the fields uses the new height at once.
        EXPECT_EQ(labelText(f, "lblBmiHeight"), qs("1.5"));

        f.click("cmdAvgtai");
        EXPECT_EQ(labelText(f, c.slot == 1 ? "lblD1_0" : "lblD2_0"), qs(c.caption));
        EXPECT_EQ(labelText(f, c.slot == 1 ? "lblD1_6" : "lblD2_6"), qs(c.targetRow));
        EXPECT_EQ(labelText(f, c.slot == 1 ? "lblD2_6" : "lblD1_6"),
                  qs(c.slot == 1 ? "65.0Kgまで ( 18.7Kg )" : "50.0Kgまで ( 11.5Kg )"));

        f.click("cmdRentai");
        EXPECT_EQ(f.find("cmdMokuChk")->text(), qs(c.goal));

        // The input screen's BMI column follows the new height (1.5 m).
        f.click("cmdMain");
        EXPECT_EQ(f.find<gui::widgets::Grid>("msgDayList")->text(1, 7),
                  qs(c.slot == 1 ? "27.3" : "37.2"));

        // Choosing the partner again reads the saved file: the same caption and title.
        f.click(otherUser);
        f.click(user);
        EXPECT_EQ(f.find(user)->text(), qs(c.caption));
        EXPECT_EQ(f.window->windowTitle(), qs(c.title));
    }
}

// A weighing saved by another part of the program (the phone page) while any screen is
// shown: the screen shown follows it once the event loop turns, the day counts beside the
// partner buttons too, and a half-typed entry keeps the input screen as it is until emptied.
TEST(ShellPartnerOnEveryScreen, AWeighingSavedElsewhereShowsOnTheScreenShownAndTheInputScreen) {
    const auto panelTexts = [](const ShellFixture& f, const char* panel) {
        auto* p = f.find<QWidget>(panel);
        QStringList texts;
        for (const QLabel* l : p->findChildren<QLabel*>()) texts << l->text();
        for (const auto* g : p->findChildren<gui::widgets::Grid*>())
            for (int r = 1; r <= g->rowCount(); ++r)
                for (int c = 0; c < g->columnCount(); ++c) texts << g->text(r, c);
        return texts.join('|');
    };
    auto* const key = +[](QWidget* w, Qt::Key k, const char* text) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, qs(text));
        QApplication::sendEvent(w, &press);
    };
    for (const ScreenProbe& s : kScreens) {
        SCOPED_TRACE(s.panel);
        const bool input = std::string(s.button) == "cmdMain";
        ShellFixture f;
        writeTwoDiaries(f);
        f.start();
        f.click("cmdMain");
        auto* weight = f.find<QLineEdit>("txtTaiInp");
        key(weight, Qt::Key_6, "6");
        f.click(s.button);
        const QString before = panelTexts(f, s.panel);
        f.folder.writeCp932("データ1.txt",
                            kLog1 + diaryLine("2026/12/07", "夕食後", "57.3,25,1390,9,45,4,2.7"));
        f.window->context().noteDataChanged(1);
        QApplication::processEvents();
        EXPECT_EQ(panelTexts(f, s.panel) == before, input);
        EXPECT_EQ(labelText(f, "lblUser1"), qs(input ? "1" : "2"));
        if (input) {
            key(weight, Qt::Key_Backspace, "");
            QApplication::processEvents();
        }
        f.click("cmdMain");
        EXPECT_TRUE(gridTexts(f, "msgDayList").contains(qs("57.3Kg")));
        EXPECT_EQ(labelText(f, "lblUser1"), qs("2"));
        EXPECT_TRUE(f.dialogs.shown.empty());
    }
}

}  // namespace
}  // namespace pairly::testing
