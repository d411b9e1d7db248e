#include "gui/widgets/deferred_build.h"

#include <QWidget>

namespace pairly::gui::widgets {

DeferredBuild::DeferredBuild(QWidget* owner, std::function<void()> build)
    : owner_(owner), build_(std::move(build)) {}

void DeferredBuild::markDirty() {
    dirty_ = true;
    if (queued_) return;
    queued_ = true;
    // A posted call rather than a timer: it runs before the window's paint request, which
    // is posted at a lower priority, so the owner is laid out once and painted once instead
    // of being painted, laid out anew and painted again.
    QMetaObject::invokeMethod(
        owner_,
        [this] {
            queued_ = false;
            if (owner_->isVisible()) ensureBuilt();
        },
        Qt::QueuedConnection);
}

void DeferredBuild::ensureBuilt() {
    if (!dirty_) return;
    dirty_ = false;
    build_();
}

}  // namespace pairly::gui::widgets
