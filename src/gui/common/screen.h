#pragma once
// What every menu screen is to the main window: one refresh() and a stale flag. A screen
// listens to the session itself. A change that concerns it refreshes it while it is shown
// and marks it stale while it is hidden; the menu reads a stale screen's data again as it
// opens it.
//
// A screen of its own: derive from Screen, say what it keeps while hidden, put the reading
// and drawing in fill(), and the menu button's resets of filters and modes in an open()
// that calls refreshIfStale(). After showing a change it made itself (a save), it calls
// markFresh(), so that the session's news of that change does not draw it twice. The
// follow*() and concerns() overrides only narrow or widen what it follows.
#include <QWidget>

#include "core/session/session.h"

namespace pairly::gui::common {

class Screen : public QWidget {
    Q_OBJECT
public:
    // What a hidden screen keeps. A screen that only shows the logs reads them again every
    // time it is opened (another window may have changed them); the input and settings
    // screens keep what is being typed or simulated until their data change.
    enum class WhenHidden { ReadAgain, KeepContent };

    Screen(session::Session& session, WhenHidden whenHidden, QWidget* parent);
    ~Screen() override;

    // Reads the screen's data and draws it again, as a change of partner does while the
    // screen is shown. The screen is fresh afterwards.
    void refresh();
    virtual void refreshIfStale();
    // The menu button's steps before the screen is shown: the resets of filters and modes
    // the menu makes, and the data read again when the screen is stale.
    virtual void open();

    bool isStale() const { return stale_; }
    void markStale() { stale_ = true; }
    // The screen on show in the window (which itself may be in the tray).
    bool isShown() const { return !isHidden(); }
    // Hidden by the window (whether or not the window itself is on show), a screen that
    // reads its data again when opened is stale.
    void setVisible(bool visible) override;

protected:
    // The work of refresh().
    virtual void fill() = 0;
    // Whether a change concerns the screen: a change of partner, of the selected
    // partner's profile, or of either log.
    virtual bool concerns(const session::Event& event) const;
    // A change that concerns the shown screen. A change of partner refreshes it at once, as
    // the partner buttons always have; any other change on the next turn of the event
    // loop, unless the screen has shown it by then (its own change).
    virtual void followShown(const session::Event& event);
    // A change that concerns the hidden screen: it is stale.
    virtual void followHidden(const session::Event& event);
    // refreshIfStale() on the next turn of the event loop, while the screen is shown.
    void refreshSoon();
    // Whether a refresh may take place now (the input screen waits while an entry is typed).
    virtual bool mayRefreshNow() const { return true; }
    // The screen shows the data as they are now, its own change included.
    void markFresh() { stale_ = false; }
    session::Session& session() const { return session_; }

private:
    void sessionChanged(const session::Event& event);

    session::Session& session_;
    const WhenHidden whenHidden_;
    int listener_ = 0;
    bool stale_ = true;
    bool refreshPending_ = false;
};

}  // namespace pairly::gui::common
