// Runs the real main window offscreen on a data folder and performs one operation through
// its controls, then prints every box it showed, one per line: icon, title and text
// separated by tabs (line breaks in the text as "\n"). Run under strace by the fault tests.
//
//   fault_driver FOLDER insert    input screen: a weighing for an earlier day (an insertion)
//   fault_driver FOLDER append    input screen: a weighing for today (an append)
//   fault_driver FOLDER rename    settings screen: the first situation renamed to "朝ごはん前"
//   fault_driver FOLDER newstart  settings screen: a new start, partner 1 entered
//   fault_driver FOLDER import    start-up with the import questions answered
//   fault_driver FOLDER start     start-up alone
//   fault_driver FOLDER report    comparison screen: the weekly report opened and printed
//   fault_driver FOLDER partner   input screen: a change to partner 2 (marked for a trace)
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/shell/main_window.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"

namespace {

using pairly::gui::shell::MainWindow;

template <class T = QPushButton>
T* control(MainWindow& window, const char* name) {
    T* w = window.findChild<T*>(QString::fromLatin1(name));
    if (!w) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(2);
    }
    return w;
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A click on one entry of a list, as the user makes it; false when the list is shorter
// (a list that could not be read offers nothing to pick).
bool clickEntry(QListWidget* list, int row) {
    if (row >= list->count()) {
        std::fprintf(stderr, "list %s has no entry %d\n", qPrintable(list->objectName()), row);
        return false;
    }
    const QPoint at = list->visualItemRect(list->item(row)).center();
    mouse(list->viewport(), QEvent::MouseButtonPress, at);
    mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    return true;
}

void saveWeighing(MainWindow& window, const QDate& day) {
    control(window, "cmdMain")->click();
    auto* calendar = control<QCalendarWidget>(window, "mtvmain");
    calendar->setSelectedDate(day);
    emit calendar->clicked(day);
    if (!clickEntry(control<QListWidget>(window, "lstAct"), 0)) return;
    // Marks the save in a trace of write calls, to count its file operations from outside.
    std::fputs("save {\n", stderr);
    control(window, "cmdTaiHozon")->click();
    std::fputs("save }\n", stderr);
}

void enterPartnerOne(MainWindow& window) {
    control(window, "cmdSettei")->click();
    control(window, "cmdNew1")->click();
    const char* fields[] = {"txtPriData1", "txtSincyou1",  "txtMokuTai1", "txtNowTai",
                            "txtNowShi",   "txtNowTaisya", "txtNowNaizo", "txtNowKinr",
                            "txtNowKins",  "txtNowKotu",   "txtNowJyou"};
    const char* values[] = {"はな", "160", "52", "58.5", "27",      "1300",
                            "6",    "38",  "3",  "2.4",  "スタート"};
    for (int i = 0; i < 11; ++i)
        control<QLineEdit>(window, fields[i])->setText(QString::fromUtf8(values[i]));
    control(window, "cmdStHozon")->click();  // the confirmation is answered OK
}

void renameFirstSituation(MainWindow& window) {
    control(window, "cmdSettei")->click();
    if (!clickEntry(control<QListWidget>(window, "lstKoumoku"), 0)) return;
    control<QLineEdit>(window, "txtChg")->setText(QStringLiteral("朝ごはん前"));
    control(window, "cmdChg")->click();  // the confirmation is answered OK
}

// Without a printer the page goes into a PDF in the data folder.
void printWeeklyReport(MainWindow& window) {
    control(window, "cmdReport")->click();
    control(window, "cmdReportPrint")->click();  // the question is answered OK
}

const char* iconName(pairly::gui::widgets::Icon icon) {
    switch (icon) {
        case pairly::gui::widgets::Icon::Information:
            return "information";
        case pairly::gui::widgets::Icon::Warning:
            return "warning";
        case pairly::gui::widgets::Icon::Question:
            return "question";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[2] : "";
    if (mode != "insert" && mode != "append" && mode != "rename" && mode != "newstart" &&
        mode != "import" && mode != "start" && mode != "report" && mode != "partner") {
        std::fprintf(stderr,
                     "usage: fault_driver FOLDER "
                     "insert|append|rename|newstart|import|start|report|partner\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pairly::gui::widgets::ScriptedDialogs dialogs;
    pairly::gui::widgets::FixedClock clock({2026, 12, 7}, 9 * 3600);
    if (mode == "import") {
        for (const char* answer : {"25.5", "1350", "9", "44.8", "4", "2.7"})
            dialogs.inputs.push_back(QString::fromUtf8(answer));
    }
    {
        MainWindow window(argv[1], dialogs, clock);
        window.startUp();
        if (mode == "insert" || mode == "append") {
            saveWeighing(window, mode == "insert" ? QDate(2026, 12, 3) : QDate(2026, 12, 7));
        } else if (mode == "rename") {
            renameFirstSituation(window);
        } else if (mode == "newstart") {
            enterPartnerOne(window);
        } else if (mode == "partner") {
            // Marks a partner change on the input screen, as the save is marked.
            control(window, "cmdMain")->click();
            std::fputs("partner {\n", stderr);
            control(window, "cmdUser2")->click();
            QApplication::processEvents();
            std::fputs("partner }\n", stderr);
        } else if (mode == "report") {
            printWeeklyReport(window);
        }
    }
    for (const auto& box : dialogs.shown) {
        QString text = box.text;
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        std::printf("%s\t%s\t%s\n", iconName(box.icon), box.title.toUtf8().constData(),
                    text.toUtf8().constData());
    }
    return 0;
}
