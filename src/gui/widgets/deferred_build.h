#pragma once
// A build that runs once per event-loop turn after any number of changes, or earlier when
// asked (before a paint, on show): a refill sets many properties one by one, and laying a
// widget out after each of them would cost a layout per setting.
#include <QObject>
#include <functional>

class QWidget;

namespace pairly::gui::widgets {

class DeferredBuild {
public:
    DeferredBuild(QWidget* owner, std::function<void()> build);

    // Something changed: build on the next event-loop turn (a hidden owner waits until it
    // is shown and asks itself).
    void markDirty();
    bool isDirty() const { return dirty_; }
    // Builds now if anything changed since the last build.
    void ensureBuilt();

private:
    QWidget* owner_;
    std::function<void()> build_;
    bool dirty_ = false;
    bool queued_ = false;
};

}  // namespace pairly::gui::widgets
