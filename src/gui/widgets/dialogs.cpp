#include "gui/widgets/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace pairly::gui::widgets {

Answer QtDialogs::message(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);  // texts like "<入力方法>" are not markup
    box.setText(text);
    box.setIcon(icon == Icon::Warning    ? QMessageBox::Warning
                : icon == Icon::Question ? QMessageBox::Question
                                         : QMessageBox::Information);
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Ok;
    }
}

QString QtDialogs::input(const QString& prompt, const QString& title) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

QString QtDialogs::fileName(bool save, const QString& title, const QString& suggested,
                            const QString& filter) {
    return save ? QFileDialog::getSaveFileName(parent_, title, suggested, filter)
                : QFileDialog::getOpenFileName(parent_, title, suggested, filter);
}

int QtDialogs::choose(const QString& prompt, const QString& title, const QStringList& items) {
    if (items.isEmpty()) return -1;
    bool ok = false;
    const QString picked = QInputDialog::getItem(parent_, title, prompt, items, 0, false, &ok);
    return ok ? int(items.indexOf(picked)) : -1;
}

Answer ScriptedDialogs::message(const QString& text, const QString& title, Icon icon,
                                Buttons buttons) {
    shown.push_back({text, title, icon, buttons, false});
    if (onMessage) onMessage(shown.back());
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title) {
    shown.push_back({prompt, title, Icon::Question, Buttons::OkCancel, true});
    if (inputs.empty()) return QString();
    QString s = inputs.front();
    inputs.pop_front();
    return s;
}

QString ScriptedDialogs::fileName(bool save, const QString& title, const QString& suggested,
                                  const QString&) {
    shown.push_back(
        {suggested, title, Icon::Question, save ? Buttons::OkCancel : Buttons::Ok, true});
    if (fileNames.empty()) return QString();
    QString s = fileNames.front();
    fileNames.pop_front();
    return s;
}

int ScriptedDialogs::choose(const QString& prompt, const QString& title, const QStringList& items) {
    shown.push_back({prompt, title, Icon::Question, Buttons::OkCancel, true});
    choiceItems.push_back(items);
    if (choices.empty()) return -1;
    const int pick = choices.front();
    choices.pop_front();
    return pick >= 0 && pick < items.size() ? pick : -1;
}

}  // namespace pairly::gui::widgets
