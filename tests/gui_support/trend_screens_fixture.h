#pragma once
// The trend and analysis screens on a data folder written by the test, with scripted
// dialogs and a fixed clock, prepared as start-up prepares them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <memory>
#include <string>

#include "gui/common/app_context.h"
#include "gui/trend/analysis_screen.h"
#include "gui/trend/trend_screen.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/grid.h"
#include "support/temp_folder.h"

namespace pairly::testing {

// One weighing in the write form: date, weight, body fat, then the other five measures.
inline std::string weighing(const std::string& date, const std::string& weight,
                            const std::string& fat = "22.5",
                            const std::string& rest = "1400,8,40.5,2,2.6") {
    return "\"" + date + "\",\"起床後\"," + weight + "," + fat + "," + rest + ",\"\",\"\"\r\n";
}

class TrendScreensTest : public ::testing::Test {
protected:
    TrendScreensTest() : ctx(folder.path(), dialogs, clock) {
        ctx.setProfile(1, {"", 0.0f, 60.0f});
        ctx.movingAverage = "3";
        ctx.helpTourFlag = 0;
    }
    ~TrendScreensTest() override {
        analysis.reset();
        trend.reset();
    }

    void writeLog(const std::string& lines, int slot = 1) const {
        folder.writeCp932(slot == 1 ? "データ1.txt" : "データ2.txt", lines);
    }
    // The moving-average file, whatever the case of its extension.
    std::string countFile() const {
        for (const auto& name : folder.fileNames())
            if (name.rfind("移動平均", 0) == 0) return folder.readCp932(name);
        return "<missing>";
    }

    void build() {
        trend = std::make_unique<gui::trend::TrendScreen>(ctx);
        analysis = std::make_unique<gui::trend::AnalysisScreen>(ctx);
        trend->prepareForStartup();
        analysis->prepareForStartup();
        for (QWidget* w :
             {static_cast<QWidget*>(trend.get()), static_cast<QWidget*>(analysis.get())})
            w->resize(1280, 760);
    }
    void openTrend() {
        if (!trend) build();
        analysis->hide();
        trend->hide();
        trend->openTrendScreen();
        trend->show();
        QApplication::processEvents();
    }
    void openAnalysis() {
        if (!trend) build();
        trend->hide();
        analysis->hide();
        analysis->openAnalysisScreen();
        analysis->show();
        QApplication::processEvents();
    }

    template <class T>
    T* find(const char* name) const {
        if (auto* w = trend->findChild<T*>(QString::fromLatin1(name))) return w;
        auto* w = analysis->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    gui::widgets::Chart& chart(const char* name) const { return *find<gui::widgets::Chart>(name); }
    gui::widgets::Grid& grid(const char* name) const { return *find<gui::widgets::Grid>(name); }
    // The caption of a label, a button or a frame.
    QString text(const char* name) const {
        QWidget* w = find<QWidget>(name);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(w)) return frame->title();
        return "<no caption>";
    }
    bool shown(const char* name) const { return !find<QWidget>(name)->isHidden(); }
    QStringList series(const char* name, int s) const {
        QStringList out;
        for (int p = 1; p <= chart(name).pointCount(); ++p) out << chart(name).value(s, p);
        return out;
    }

    // Types into the moving-average box and presses Enter, as a user does; the key goes
    // to the box or to its text field, depending on which one has the focus.
    void typeCount(const QString& typed, bool toField = true) const {
        auto* combo = find<QComboBox>("cboIdou");
        combo->lineEdit()->setText(typed);
        QWidget* target = toField ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        QApplication::processEvents();  // the box takes the count from the event loop
    }
    // Picks an item of the list as the drop-down does.
    void pickCount(int index) const {
        auto* combo = find<QComboBox>("cboIdou");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    TempFolder folder;
    gui::widgets::ScriptedDialogs dialogs;
    gui::widgets::FixedClock clock{text::Date{2026, 12, 7}, 8 * 3600};
    gui::common::AppContext ctx;
    std::unique_ptr<gui::trend::TrendScreen> trend;
    std::unique_ptr<gui::trend::AnalysisScreen> analysis;
};

}  // namespace pairly::testing
