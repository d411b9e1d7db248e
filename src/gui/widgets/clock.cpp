#include "gui/widgets/clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>

namespace pairly::gui::widgets {

text::Date SystemClock::today() const {
    QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

int SystemClock::secondsSinceMidnight() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

long long SystemClock::monotonicMs() const {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void SystemClock::pause(int ms) {
    const long long end = monotonicMs() + ms;
    while (monotonicMs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

}  // namespace pairly::gui::widgets
