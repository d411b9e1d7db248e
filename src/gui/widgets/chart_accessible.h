#pragma once
// A chart as a screen reader reads it: a table with one row per point and one column per
// visible series, the axis limits in its description.
class QAccessibleInterface;
class QObject;
class QString;

namespace pairly::gui::widgets {

// The factory for QAccessible::installFactory: an interface for every Chart, none for
// anything else.
QAccessibleInterface* chartAccessibleFactory(const QString& className, QObject* object);

// Installs the factory once; the main window and the screen tests call it.
void installChartAccessibility();

}  // namespace pairly::gui::widgets

class QCalendarWidget;
namespace pairly::gui::widgets {
// Names the month buttons and the day table of a calendar widget, which Qt leaves unnamed.
void nameCalendarParts(QCalendarWidget* calendar);
}  // namespace pairly::gui::widgets
