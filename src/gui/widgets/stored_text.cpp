#include "gui/widgets/stored_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>

#include "core/disk/codec.h"

namespace pairly::gui::widgets {

namespace {

// One UTF-16 unit; a surrogate half (a character beyond the plane) stays as it is.
QChar storedChar(QChar c) {
    if (c.isSurrogate()) return c;
    return QChar(static_cast<char16_t>(disk::storedCodePoint(c.unicode())));
}

// Accepts every text, in its stored form; what cannot be stored at all is refused with a
// message by the save, which names the field.
class StoredFormValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = storedForm(input);
        return Acceptable;
    }
};

}  // namespace

QString storedForm(const QString& typed) {
    QString out = typed;
    for (QChar& c : out) c = storedChar(c);
    return out;
}

void keepStoredForm(QLineEdit* field) {
    field->setValidator(new StoredFormValidator(field));
    // Setting the same text again would not pass it through the validator.
    const QString stored = storedForm(field->text());
    if (stored != field->text()) field->setText(stored);
}

bool applyStoredForm(QPlainTextEdit* box) {
    QTextDocument* doc = box->document();
    QTextCursor edit(doc);
    bool changed = false;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (int i = 0; i < text.size(); ++i) {
            const QChar stored = storedChar(text[i]);
            if (stored == text[i]) continue;
            if (!changed) edit.beginEditBlock();
            changed = true;
            edit.setPosition(block.position() + i);
            edit.setPosition(block.position() + i + 1, QTextCursor::KeepAnchor);
            edit.insertText(QString(stored));
        }
    }
    if (changed) edit.endEditBlock();
    return changed;
}

}  // namespace pairly::gui::widgets
