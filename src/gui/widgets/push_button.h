#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace pairly::gui::widgets {

// A push button of the program: found by its object name, and never the dialog's default
// button, so that Enter stays with the fields.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
// The same with the button's own caption room: never narrower than its caption plus
// `margin` pixels and never taller than the style's height, so that a row of them fits.
QPushButton* makeFittedButton(const QString& name, const QString& caption, QWidget* parent,
                              int margin);
void fitToCaption(QPushButton* button, const QString& caption, int margin);

}  // namespace pairly::gui::widgets
