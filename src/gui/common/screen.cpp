#include "gui/common/screen.h"

#include <QTimer>

namespace pairly::gui::common {

Screen::Screen(session::Session& session, WhenHidden whenHidden, QWidget* parent)
    : QWidget(parent), session_(session), whenHidden_(whenHidden) {
    listener_ = session_.subscribe([this](const session::Event& event) { sessionChanged(event); });
}

Screen::~Screen() { session_.unsubscribe(listener_); }

void Screen::refresh() {
    // One reading of each log for the whole refresh.
    const session::Session::Refresh span(session_);
    stale_ = false;
    fill();
}

void Screen::refreshIfStale() {
    if (stale_) refresh();
}

void Screen::open() { refreshIfStale(); }

bool Screen::concerns(const session::Event& event) const {
    if (event.what != session::Change::Profile) return true;
    return event.slot == 0 || event.slot == session_.selectedSlot();
}

void Screen::sessionChanged(const session::Event& event) {
    if (!concerns(event)) return;
    if (isShown())
        followShown(event);
    else
        followHidden(event);
}

void Screen::followShown(const session::Event& event) {
    markStale();
    if (event.what != session::Change::Partner) {
        refreshSoon();
        return;
    }
    // Hidden while it is filled, as the menu fills a screen.
    hide();
    refresh();
    show();
}

void Screen::followHidden(const session::Event&) { markStale(); }

void Screen::refreshSoon() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        if (isShown() && mayRefreshNow()) refreshIfStale();
    });
}

void Screen::setVisible(bool visible) {
    if (!visible && whenHidden_ == WhenHidden::ReadAgain) markStale();
    QWidget::setVisible(visible);
}

}  // namespace pairly::gui::common
