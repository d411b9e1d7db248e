#pragma once
// Back colours of labels and buttons, as the program's RGB triples.
#include <QColor>
#include <QPalette>
#include <QWidget>

#include "views/bmi.h"

namespace pairly::entry {

inline QColor toQColor(const views::Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

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
    widget->setAutoFillBackground(true);
}

}  // namespace pairly::entry
