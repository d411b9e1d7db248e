#pragma once
// The one-line diary screen fraMemo: every weighing of the selected partner with its
// comment, which can be changed one at a time, and the notes memo shared by both partners.
#include <QString>
#include <array>
#include <vector>

#include "core/session/session.h"
#include "core/store/measurement_log.h"
#include "core/store/record_edit.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pairly::gui::widgets {
class Grid;
}  // namespace pairly::gui::widgets
namespace pairly::gui::widgets {
class ElidedLabel;
}  // namespace pairly::gui::widgets

namespace pairly::gui::memo {

class MemoScreen : public common::Screen {
    Q_OBJECT
public:
    explicit MemoScreen(common::AppContext& ctx, QWidget* parent = nullptr);

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
    // cmdKizukiHozon; an information box says when it has saved (not when the program is
    // ending: the answer to the question at quit was the word). True when saved.
    bool saveMemo(bool tellSaved = true);

    // The program is about to end: with a memo or comment typed and not saved, asks
    // whether to save it (Yes saves, No drops it, Cancel goes back). False when the
    // program is to stay open: cancelled, or a save that did not go through.
    bool settleUnsavedText();

    int selectedCommentRow() const { return selectedCommentRow_; }

    // cmdSyusei: the panel fraSyusei in place of the comment editor, with the clicked
    // weighing's date, situation and values to be changed.
    void openCorrection();
    // cmdSyuHozon: the typed values checked as the entry screen checks them, then written
    // over the clicked weighing. True when written.
    bool saveCorrection();
    // cmdSyuYame, and after a save: the comment editor again.
    void closeCorrection();
    // cmdSakujo: the clicked weighing deleted once the user says Yes. True when deleted.
    bool deleteRecord();

protected:
    void fill() override { fillCommentTable(); }

private:
    void resetCommentTable();
    // The table filled with `log`'s records.
    void showLog(session::SharedLog log);
    bool commentUnsaved() const;
    bool correctionUnsaved() const;
    bool memoUnsaved() const;
    void showMemoState(bool modified);
    void fillCorrectionFields(const store::MeasurementRecord& r);
    // The log as the table shows it, for an edit checked against the stamp it was read from.
    store::LoadedLog shownLoadedLog() const;
    // After an edit was written: every screen reads the log again, this table shows it.
    void showEditedLog(const store::EditResult& result);
    int topRowAround(int row) const;
    // An edit that was not written: said in a message box; a stale table is read again.
    void warnEditNotWritten(const store::EditResult& result, const char* what,
                            const char* refusedTitle);

    common::AppContext& ctx_;
    widgets::Grid* msgMemoList_;
    widgets::ElidedLabel* lblMemoTarget_;
    QLineEdit* txtMemo_;
    QPushButton* cmdMemoHozon_;
    QGroupBox* commentBox_;
    QPushButton* cmdSyusei_;
    QPushButton* cmdSakujo_;
    // The correction panel: date, situation, then the seven values in entry order.
    QGroupBox* fraSyusei_;
    QLabel* correctionTarget_;
    std::array<QLineEdit*, 9> correctionFields_{};
    std::array<QString, 9> correctionFilled_;  // what the panel was opened with
    QPushButton* cmdSyuHozon_;
    QPushButton* cmdSyuYame_;
    QPlainTextEdit* txtKizuki_;
    QPushButton* cmdKizukiHozon_;
    // The records the table shows, to make sure a comment goes to the record it was
    // written for.
    std::vector<store::MeasurementRecord> shown_;
    // The bytes the table and the memo were read from: a save checks that the file still
    // holds them, so that another window's change is not overwritten.
    disk::FileStamp shownLog_;
    // The log the table was filled from: its damaged lines and layout go with an edit.
    session::SharedLog shownData_;
    disk::FileStamp shownMemo_;
    int selectedCommentRow_ = 0;
};

}  // namespace pairly::gui::memo
