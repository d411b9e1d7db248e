#pragma once
// Back colours of labels, panels and buttons, as the program's RGB triples. The colour is
// kept in the palette (Window and Button roles) so that it can be read back.
#include <QAbstractButton>
#include <QColor>
#include <QPalette>
#include <QWidget>

#include "core/base/colour.h"

namespace pairly::gui::widgets {

inline QColor toQColor(const base::Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// An invalid colour gives the widget back its default (a button its button face).
inline void setBackColour(QWidget* widget, const QColor& colour) {
    if (!colour.isValid()) {
        widget->setPalette(QPalette());
        widget->setAutoFillBackground(false);
        return;
    }
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::Button, colour);
    widget->setPalette(pal);
    // A button paints its own face; filling behind it would show square corners.
    widget->setAutoFillBackground(qobject_cast<QAbstractButton*>(widget) == nullptr);
}

}  // namespace pairly::gui::widgets
