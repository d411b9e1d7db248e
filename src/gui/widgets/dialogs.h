#pragma once
// Modal message boxes and text input, behind an interface so tests can script them.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace pairly::gui::widgets {

enum class Icon { Information, Warning, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer message(const QString& text, const QString& title, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;
    // Empty when cancelled.
    virtual QString input(const QString& prompt, const QString& title) = 0;
    // A file to write (`save`) or to read, starting at `suggested`; empty when cancelled.
    virtual QString fileName(bool save, const QString& title, const QString& suggested,
                             const QString& filter) = 0;
    // One of `items`; -1 when cancelled.
    virtual int choose(const QString& prompt, const QString& title, const QStringList& items) = 0;

    // Shorthand for the program's refusal box: warning icon, OK.
    void warn(const QString& text, const QString& title) { message(text, title, Icon::Warning); }
    void inform(const QString& text, const QString& title) {
        message(text, title, Icon::Information);
    }
};

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt, const QString& title) override;
    QString fileName(bool save, const QString& title, const QString& suggested,
                     const QString& filter) override;
    int choose(const QString& prompt, const QString& title, const QStringList& items) override;

private:
    QWidget* parent_;
};

// For tests: records every box and answers from queues. Without a queued answer a
// message box answers OK (or Yes where it has Yes), an input or file dialog answers empty
// and a choice -1 (cancel).
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        bool isInput = false;
    };
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt, const QString& title) override;
    QString fileName(bool save, const QString& title, const QString& suggested,
                     const QString& filter) override;
    int choose(const QString& prompt, const QString& title, const QStringList& items) override;

    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<QString> fileNames;
    std::deque<int> choices;
    std::vector<QStringList> choiceItems;  // the items of every choice shown
    std::vector<Shown> shown;
    // Called as each message box is shown, for a look at the window at that moment.
    std::function<void(const Shown&)> onMessage;
};

}  // namespace pairly::gui::widgets
