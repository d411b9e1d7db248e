#pragma once
// The stored situation list "状況リスト.txt" as one list model, owned once and shown by the
// situation lists of the screens (lstAct, lstAct2, and lstKoumoku, which keeps its own copy
// while an unsaved reorder is pending). Every change is written first; the model changes
// only when the file did.
#include <QAbstractListModel>
#include <QObject>
#include <QStringList>
#include <string>
#include <vector>

#include "gui/common/app_context.h"

class QListWidget;

namespace pairly::gui::common {

// The entries of the file, top to bottom.
class SituationListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QStringList& entries() const { return entries_; }
    // A new list: the model is reset.
    void setEntries(const std::vector<std::string>& entries);
    // One entry at the end: rows inserted.
    void append(const QString& entry);

private:
    QStringList entries_;
};

// Keeps `list` showing the model's entries: filled anew when the model is reset, an
// inserted entry put in at its row. Between these the list is the widget's own.
void showSituations(QListWidget* list, const SituationListModel& model);

class SituationList : public QObject {
    Q_OBJECT
public:
    explicit SituationList(common::AppContext& ctx, QObject* parent = nullptr);

    const SituationListModel& model() const { return model_; }

    // The file's entries in order. When the file cannot be read whole, a warning box says
    // so and the lists show what could be read.
    void loadSituationList();

    // Checks a typed text for storing; refuses with a warning box (false) otherwise.
    bool acceptTypedText(const QString& text);

    enum class Form { Bare, Quoted };
    // Appends one entry to the file, then to the model.
    bool appendEntry(const QString& text, Form form);
    // Writes `entries` as the new list (one bare line each). `fromShownList`: the entries
    // are the shown list, reordered or less one, which is refused while that list is an
    // incomplete read of the file.
    bool writeEntries(const std::vector<std::string>& entries, bool fromShownList = true);
    // Rewrites the active partner's log and the file, then reads the list again. Like
    // writeEntries, refused while the file no longer holds the list shown.
    bool renameSituation(const QString& oldText, const QString& newText);

signals:
    // A rename went through, or stopped with the log to be read again.
    void situationRenamed();

private:
    // situationRenamed, with one reading of each log for all that follow it.
    void renamed();
    void writeFailed();
    // Another window changed the list: it is shown as the file holds it now.
    void changedElsewhere();
    void warnUnread(const QString& fileName, const QString& what);

    common::AppContext& ctx_;
    SituationListModel model_;
    // The lists were filled from a read of the file that failed.
    bool shownListIncomplete_ = false;
    // The bytes of the list shown: a change made from it checks that the file still holds
    // them, so that another window's change is not overwritten.
    disk::FileStamp shownList_;
};

}  // namespace pairly::gui::common
