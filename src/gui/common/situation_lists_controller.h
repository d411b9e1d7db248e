#pragma once
// Keeps the situation lists of the screens (lstAct, lstKoumoku, lstAct2) in step with
// each other and with "状況リスト.txt". Every change is written first; the lists change
// only when the file did.
#include <QList>
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "gui/common/app_context.h"

class QListWidget;

namespace pairly::gui::common {

class SituationListsController : public QObject {
    Q_OBJECT
public:
    explicit SituationListsController(common::AppContext& ctx, QObject* parent = nullptr);

    // lstAct of the input screen and lstKoumoku of the settings screen.
    void setInputList(QListWidget* list);
    void setEditList(QListWidget* list);
    // Further lists that mirror the saved order (lstAct2 of the data-list screen).
    void registerList(QListWidget* list);

    // Clears every list and fills each with the file's entries in order. When the file
    // cannot be read whole, a warning box says so and the lists show what could be read.
    void loadSituationList();

    // Checks a typed text for storing; refuses with a warning box (false) otherwise.
    bool acceptTypedText(const QString& text);

    enum class Form { Bare, Quoted };
    // Appends one entry to the file, then to the end of every list.
    bool appendEntry(const QString& text, Form form);
    // Writes `entries` as the new list (one bare line each) and puts them into lstKoumoku
    // and every other list. `fromShownList`: the entries are the shown list, reordered or
    // less one, which is refused while that list is an incomplete read of the file.
    bool writeEntries(const std::vector<std::string>& entries, bool fromShownList = true);
    // The entries of lstKoumoku, top to bottom.
    std::vector<std::string> editEntries() const;
    // Rewrites the active partner's log and the file, reloads every list and emits
    // situationRenamed(). Like writeEntries, refused while the file no longer holds the
    // list shown.
    bool renameSituation(const QString& oldText, const QString& newText);

signals:
    void situationRenamed();

private:
    QList<QListWidget*> allLists() const;
    void fill(QListWidget* list, const std::vector<std::string>& entries);
    void writeFailed();
    // Another window changed the list: it is shown as the file holds it now.
    void changedElsewhere();
    void warnUnread(const QString& fileName, const QString& what);

    common::AppContext& ctx_;
    QPointer<QListWidget> input_;
    QPointer<QListWidget> edit_;
    QList<QPointer<QListWidget>> others_;
    // The lists were filled from a read of the file that failed.
    bool shownListIncomplete_ = false;
    // The bytes of the list shown: a change made from it checks that the file still holds
    // them, so that another window's change is not overwritten.
    disk::FileStamp shownList_;
};

}  // namespace pairly::gui::common
