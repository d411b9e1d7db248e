#pragma once
// Typed texts that go into the data files take the form the files give back (see
// disk::storedForm) where they are typed, so that a screen never holds a text that
// reads back as another one.
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace pairly::gui::widgets {

// The text as the files will give it back. Each character is replaced by at most one
// other of the same length, so positions in the text stay where they were.
QString storedForm(const QString& typed);

// From now on the field holds its text in the stored form: a character is replaced as
// soon as it is typed, pasted or set, the caret staying where it was.
void keepStoredForm(QLineEdit* field);

// Replaces the characters of the box's text that the files would give back as others,
// each in its place, as one step of undo; the caret and the scroll position stay.
// True when anything changed.
bool applyStoredForm(QPlainTextEdit* box);

}  // namespace pairly::gui::widgets
