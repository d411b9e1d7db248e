#include "gui_support/layout_check.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QWidget>

#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"

namespace pairly::testing {

namespace {

QString nameOf(const QWidget* w) {
    QString name = w->objectName();
    if (name.isEmpty()) name = QString::fromLatin1(w->metaObject()->className());
    QString path = name;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (!p->objectName().isEmpty()) {
            path = p->objectName() + "/" + path;
            break;
        }
    }
    return path;
}

QString text(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    return {};
}

bool isCompound(const QWidget* w) {
    return qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QCalendarWidget*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

// Width the widest line of a caption needs, and the height of all its lines.
QSize textSize(const QWidget* w, const QString& caption) {
    QString plain = caption;
    plain.remove('&');
    return w->fontMetrics().size(Qt::TextExpandTabs, plain);
}

// Room for the caption inside the control, as the style lays it out.
QRect captionRoom(const QWidget* w) {
    if (auto* push = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(push);
        QRect r = push->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, push);
        if (!push->icon().isNull() && !push->text().isEmpty())
            r.setLeft(r.left() + push->iconSize().width() + 4);
        return r;
    }
    if (auto* box = qobject_cast<const QCheckBox*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(box);
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    }
    if (auto* radio = qobject_cast<const QRadioButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(radio);
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, radio);
    }
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        QRect r = label->contentsRect();
        const int m = label->margin();
        return r.adjusted(m, m, -m, -m);
    }
    return w->rect();
}

void checkCaption(const QWidget* w, QStringList& problems) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
            return;
    }
    const QString caption = text(w);
    if (caption.isEmpty()) return;
    const QSize need = textSize(w, caption);
    const QRect room = captionRoom(w);
    // One pixel of slack for rounding between the metrics and the drawing.
    if (need.width() > room.width() + 1 || need.height() > room.height() + 1) {
        problems << QStringLiteral("%1: caption \"%2\" needs %3x%4, has %5x%6")
                        .arg(nameOf(w), caption)
                        .arg(need.width())
                        .arg(need.height())
                        .arg(room.width())
                        .arg(room.height());
    }
}

void checkGroupTitle(const QGroupBox* box, QStringList& problems) {
    if (box->title().isEmpty()) return;
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.text = box->title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const int need = box->fontMetrics().horizontalAdvance(box->title());
    if (label.right() > box->width() || need > box->width())
        problems << QStringLiteral("%1: title \"%2\" wider than the box (%3 > %4)")
                        .arg(nameOf(box), box->title())
                        .arg(need)
                        .arg(box->width());
}

// Every column in view without scrolling sideways, every cell text within its column.
void checkGrid(const gui::widgets::Grid* grid, QStringList& problems) {
    if (grid->horizontalScrollBar()->isVisible())
        problems << QStringLiteral("%1: columns wider than the grid (%2 px to scroll)")
                        .arg(nameOf(grid))
                        .arg(grid->horizontalScrollBar()->maximum());
    const double dpi = grid->logicalDpiX();
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < grid->columnCount(); ++c) {
        const int width = gui::widgets::Grid::twipsToPixels(grid->columnWidthTwips(c), dpi);
        if (width == 0) continue;  // a hidden column
        for (int r = 0; r <= grid->rowCount(); ++r) {
            const QString cell = grid->text(r, c);
            if (metrics.horizontalAdvance(cell) > width) {
                problems << QStringLiteral("%1: cell (%2,%3) \"%4\" wider than its column (%5)")
                                .arg(nameOf(grid))
                                .arg(r)
                                .arg(c)
                                .arg(cell)
                                .arg(width);
                return;  // one cell per grid says enough
            }
        }
    }
}

bool isOverlay(const QWidget* w) { return w->property(kOverlayProperty).toBool(); }

void walk(const QWidget* w, QStringList& problems) {
    checkCaption(w, problems);
    if (auto* box = qobject_cast<const QGroupBox*>(w)) checkGroupTitle(box, problems);
    if (auto* grid = qobject_cast<const gui::widgets::Grid*>(w)) checkGrid(grid, problems);
    if (auto* chart = qobject_cast<const gui::widgets::Chart*>(w))
        for (const auto axis : {gui::widgets::Axis::Left, gui::widgets::Axis::Right})
            if (chart->isAxisVisible(axis) && chart->axisLabelsCut(axis))
                problems << QStringLiteral("%1: axis labels cut to \"…\"").arg(nameOf(chart));
    if (isCompound(w)) return;

    QList<const QWidget*> children;
    for (const QObject* o : w->children()) {
        auto* child = qobject_cast<const QWidget*>(o);
        if (!child || child->isWindow() || !child->isVisible()) continue;
        children << child;
    }
    bool overlayShown = false;
    for (const QWidget* c : children) overlayShown = overlayShown || isOverlay(c);
    for (int i = 0; i < children.size(); ++i) {
        const QWidget* a = children[i];
        if (!w->rect().contains(a->geometry()))
            problems << QStringLiteral("%1: cut off by its parent (%2,%3 %4x%5 in %6x%7)")
                            .arg(nameOf(a))
                            .arg(a->x())
                            .arg(a->y())
                            .arg(a->width())
                            .arg(a->height())
                            .arg(w->width())
                            .arg(w->height());
        if (overlayShown) continue;
        for (int j = i + 1; j < children.size(); ++j) {
            const QWidget* b = children[j];
            if (a->geometry().intersects(b->geometry()))
                problems << QStringLiteral("%1 overlaps %2").arg(nameOf(a), nameOf(b));
        }
    }
    for (const QWidget* c : children) walk(c, problems);
}

}  // namespace

QStringList layoutProblems(const QWidget* root) {
    QStringList problems;
    if (root && root->isVisible()) walk(root, problems);
    return problems;
}

}  // namespace pairly::testing
