#pragma once
// The one-line diary screen fraMemo: every weighing of the selected partner with its
// comment, which can be changed one at a time, and the notes memo shared by both partners.
#include <QString>
#include <QWidget>
#include <vector>

#include "core/store/measurement_log.h"
#include "gui/common/app_context.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pairly::ui {
class Grid;
}

namespace pairly::maintenance {

class MemoScreen : public QWidget {
    Q_OBJECT
public:
    explicit MemoScreen(ui::AppContext& ctx, QWidget* parent = nullptr);

    // Headers, widths and alignments, then one row per weighing of the selected partner;
    // a long table opens on its newest rows. The save button is disabled and the
    // comment box emptied after it.
    void fillCommentTable();
    // A click on a data row: its comment into txtMemo, ready to be changed and saved.
    void selectCommentRow(int row);
    // cmdMemoHozon, or Enter in txtMemo while the button is enabled. True when saved.
    bool saveComment();
    // Start-up: the memo file into txtKizuki.
    void loadMemo();
    // cmdKizukiHozon; an information box says when it has saved. True when saved.
    bool saveMemo();

    // The program is about to end: with a memo or comment typed and not saved, asks
    // whether to save it (Yes saves, No drops it, Cancel goes back). False when the
    // program is to stay open: cancelled, or a save that did not go through.
    bool settleUnsavedText();

    int selectedCommentRow() const { return selectedCommentRow_; }

private:
    void resetCommentTable();
    bool commentUnsaved() const;
    bool memoUnsaved() const;
    void showMemoState(bool modified);

    ui::AppContext& ctx_;
    ui::Grid* msgMemoList_;
    QLabel* lblMemoTarget_;
    QLineEdit* txtMemo_;
    QPushButton* cmdMemoHozon_;
    QPlainTextEdit* txtKizuki_;
    QPushButton* cmdKizukiHozon_;
    // The records the table shows, to make sure a comment goes to the record it was
    // written for.
    std::vector<store::MeasurementRecord> shown_;
    // The bytes the table and the memo were read from: a save checks that the file still
    // holds them, so that another window's change is not overwritten.
    store::FileStamp shownLog_;
    store::FileStamp shownMemo_;
    int selectedCommentRow_ = 0;
};

}  // namespace pairly::maintenance
