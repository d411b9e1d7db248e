#pragma once
// Modal message boxes and text input, behind an interface so tests can script them.
#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace pairly::ui {

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

    // Shorthand for the program's refusal box: warning icon, OK.
    void warn(const QString& text, const QString& title) { message(text, title, Icon::Warning); }
    void inform(const QString& text, const QString& title) { message(text, title, Icon::Information); }
};

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt, const QString& title) override;

private:
    QWidget* parent_;
};

// For tests: records every box and answers from queues. Without a queued answer a
// message box answers OK (or Yes where it has Yes) and an input dialog answers empty (cancel).
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

    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::vector<Shown> shown;
};

}  // namespace pairly::ui
