#pragma once
// The input and settings screens on a data folder written by the test, with scripted
// dialogs and a fixed clock, prepared the way start-up prepares them.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/store/preferences.h"
#include "gui/common/app_context.h"
#include "gui/common/situation_list.h"
#include "gui/entry/input_screen.h"
#include "gui/settings/settings_screen.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "support/faults.h"
#include "support/temp_folder.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace pairly::testing {

inline QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// Input events sent straight to a widget (the tests do not link Qt Test).
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
inline void mousePress(QWidget* w, QPoint pos) { sendMouse(w, QEvent::MouseButtonPress, pos); }
inline void mouseRelease(QWidget* w, QPoint pos) { sendMouse(w, QEvent::MouseButtonRelease, pos); }
inline void mouseClick(QWidget* w, QPoint pos) {
    mousePress(w, pos);
    mouseRelease(w, pos);
}
inline void mouseClick(QWidget* w) { mouseClick(w, w->rect().center()); }
inline void keyClick(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : "");
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}
// Makes the window active so that focus changes take effect.
inline bool activate(QWidget* w) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    for (int i = 0; i < 100 && !w->isActiveWindow(); ++i) QApplication::processEvents();
    return w->isActiveWindow();
}

// One log line in the write form.
inline std::string logLine(const std::string& date, const std::string& situation,
                           const std::string& values, const std::string& comment = "") {
    return "\"" + date + "\",\"" + situation + "\"," + values + ",\"" + comment + "\",\"\"\r\n";
}

class ScreensFixture {
public:
    ScreensFixture() : clock({2026, 12, 7}, 7 * 3600 + 5 * 60 + 9) {}
    ~ScreensFixture() {
        settings.reset();
        input.reset();
        situationList.reset();
    }

    void writeLog(int slot, const std::string& lines) const {
        folder.writeCp932(slot == 1 ? "データ1.txt" : "データ2.txt", lines);
    }
    void writeSituations(const std::string& lines) const {
        folder.writeCp932("状況リスト.txt", lines);
    }
    std::string log(int slot) const {
        return folder.readCp932(slot == 1 ? "データ1.txt" : "データ2.txt");
    }
    std::string situations() const { return folder.readCp932("状況リスト.txt"); }
    // A file of the folder whose name starts with `stem`, whatever the case of its extension.
    std::string fileStartingWith(const std::string& stem) const {
        for (const auto& name : folder.fileNames())
            if (name.rfind(stem, 0) == 0) return folder.readCp932(name);
        return "<missing>";
    }

    // The start-up steps that concern the two screens, then shown at the panel size.
    void build(float heightCm = 160) {
        ctx = std::make_unique<gui::common::AppContext>(folder.path(), dialogs, clock);
        ctx->setProfile(1, {"", heightCm, 0.0f});
        ctx->setProfileStamp(1, store::readProfile(folder.path(), 1).stamp);
        const store::LoadedScaleSteps steps = store::loadScaleSteps(folder.path());
        ctx->steps = steps.steps;
        ctx->stepsStamp = steps.stamp;
        ctx->markerMode = store::readMarkerMode(folder.path());
        ctx->focusActivePartnerButton = [this] { ++partnerButtonFocused; };
        ctx->startupInProgress = true;
        situationList = std::make_unique<gui::common::SituationList>(*ctx);
        input = std::make_unique<gui::entry::InputScreen>(*ctx, *situationList);
        settings = std::make_unique<gui::settings::SettingsScreen>(*ctx, *situationList);
        input->prepareForStartup();
        settings->prepareForStartup();
        settings->loadSituationList();
        settings->readPreferenceControls();
        input->refreshDayView();
        input->applyMarkerMode();
        input->refreshBmi();
        settings->refreshBmiMeter();
        input->disableSteppers();
        input->selectMixedOption();
        ctx->startupInProgress = false;
        for (QWidget* w :
             {static_cast<QWidget*>(input.get()), static_cast<QWidget*>(settings.get())}) {
            w->resize(1280, 700);
            w->show();
        }
        QApplication::processEvents();
    }

    template <class T>
    T* find(const char* name) const {
        if (auto* w = input->findChild<T*>(QString::fromLatin1(name))) return w;
        return settings->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) const { find<QAbstractButton>(name)->click(); }

    static QStringList items(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }
    // Press on one entry and release on another, as a drag within the list.
    static void drag(QListWidget* list, int from, int to) {
        mousePress(list->viewport(), list->visualItemRect(list->item(from)).center());
        mouseRelease(list->viewport(), list->visualItemRect(list->item(to)).center());
    }
    static void clickItem(QListWidget* list, int row) { drag(list, row, row); }

    TempFolder folder;
    gui::widgets::ScriptedDialogs dialogs;
    gui::widgets::FixedClock clock;
    std::unique_ptr<gui::common::AppContext> ctx;
    std::unique_ptr<gui::common::SituationList> situationList;
    std::unique_ptr<gui::entry::InputScreen> input;
    std::unique_ptr<gui::settings::SettingsScreen> settings;
    int partnerButtonFocused = 0;
};

}  // namespace pairly::testing
