#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/memo/comment_table.h"
#include "core/memo/unsaved_text.h"
#include "core/store/notes_memo.h"
#include "core/text/numbers.h"
#include "gui/common/write_notice.h"
#include "gui/memo/memo_fields.h"
#include "gui/memo/memo_screen.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/stored_text.h"

// Correcting and deleting the clicked weighing.
namespace pairly::gui::memo {

using namespace memo_detail;

void MemoScreen::fillCorrectionFields(const store::MeasurementRecord& r) {
    correctionTarget_->setText(
        QStringLiteral("%1の %2回目の測定を修正します。一言日記はそのまま残ります。")
            .arg(q(store::partnerCaption(ctx_.profile(), ctx_.currentSlot)))
            .arg(selectedCommentRow_));
    const QString texts[9] = {
        q(r.date),
        q(r.situation),
        valueText(r.weight),
        valueText(r.bodyFat),
        integerText(r.basalMetabolism),
        integerText(r.visceralFat),
        valueText(r.muscleMass),
        integerText(r.muscleScore),
        valueText(r.boneMass),
    };
    for (std::size_t i = 0; i < correctionFields_.size(); ++i) {
        correctionFields_[i]->setText(texts[i]);
        correctionFilled_[i] = texts[i];
    }
}

bool MemoScreen::correctionUnsaved() const {
    if (fraSyusei_->isHidden()) return false;
    for (std::size_t i = 0; i < correctionFields_.size(); ++i)
        if (correctionFields_[i]->text() != correctionFilled_[i]) return true;
    return false;
}

void MemoScreen::openCorrection() {
    const int row = selectedCommentRow_;
    if (!cmdSyusei_->isEnabled() || row < 1 || row > static_cast<int>(shown_.size())) return;
    fillCorrectionFields(shown_[static_cast<std::size_t>(row - 1)]);
    commentBox_->hide();
    fraSyusei_->show();
    correctionFields_[kCorrectionDate]->setFocus();
    correctionFields_[kCorrectionDate]->selectAll();
}

void MemoScreen::closeCorrection() {
    fraSyusei_->hide();
    commentBox_->show();
}

store::LoadedLog MemoScreen::shownLoadedLog() const {
    store::LoadedLog log;
    if (shownData_) log = *shownData_;
    // A comment saved since the table was filled is in these records and this stamp.
    log.records = shown_;
    log.stamp = shownLog_;
    return log;
}

void MemoScreen::warnEditNotWritten(const store::EditResult& result, const char* what,
                                    const char* refusedTitle) {
    const QString action = QString::fromUtf8(what);
    switch (result.status) {
        case disk::WriteStatus::Refused:
            ctx_.dialogs.warn(q(store::editRefusalText(result.refusal)),
                              QString::fromUtf8(refusedTitle));
            if (result.refusal == store::EditRefusal::NoSuchRecord) fillCommentTable();
            return;
        case disk::WriteStatus::Stale:
            // Another window changed the log: the table shows it as it is now.
            fillCommentTable();
            common::warnStale(ctx_, store::logFileName(ctx_.currentSlot));
            return;
        case disk::WriteStatus::OldLayout:
            ctx_.dialogs.warn(
                q(store::oldLayoutRefusal()) + QStringLiteral("\nデータは変更されていません。"),
                QStringLiteral("保存中止"));
            return;
        case disk::WriteStatus::ReadFailed:
            ctx_.dialogs.warn(
                QStringLiteral("データファイルを読み込めなかったため、") + action +
                    QStringLiteral("ができませんでした。\nデータは変更されていません。"),
                QStringLiteral("保存エラー"));
            return;
        default:
            break;
    }
    if (common::tellBlocked(ctx_, result.status, store::logFileName(ctx_.currentSlot))) return;
    ctx_.dialogs.warn(action + QStringLiteral("に失敗しました。\n") + common::writeFailedAdvice() +
                          QStringLiteral("\nデータは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

// The row in the middle of the view, or as near as the table allows: near the end the view
// stays full down to the last row instead of showing empty lines under it.
int MemoScreen::topRowAround(int row) const {
    const int dataRows = pairly::memo::kCommentVisibleRows - 1;  // the header takes one
    const int lastTop = std::max(1, static_cast<int>(shown_.size()) - dataRows + 1);
    return std::clamp(row - dataRows / 2, 1, lastTop);
}

void MemoScreen::showEditedLog(const store::EditResult& result) {
    // Unconfirmed by the disk: said here, and the change is shown as made.
    common::written(ctx_, result.status, store::logFileName(ctx_.currentSlot));
    ctx_.noteDataChanged(ctx_.currentSlot);
    markFresh();
    // The log as written: reading it back could fail after the change went through.
    showLog(std::make_shared<const store::LoadedLog>(result.log));
}

bool MemoScreen::saveCorrection() {
    const int row = selectedCommentRow_;
    if (fraSyusei_->isHidden() || row < 1 || row > static_cast<int>(shown_.size())) return false;
    store::CorrectionTexts texts;
    texts.date = correctionFields_[kCorrectionDate]->text().toStdString();
    texts.situation = correctionFields_[kCorrectionSituation]->text().toStdString();
    for (std::size_t i = 0; i < texts.values.size(); ++i)
        texts.values[i] = correctionFields_[kCorrectionFirstValue + i]->text().toStdString();
    const store::CorrectionRead read = store::readCorrection(texts);
    if (read.refusal) {
        ctx_.dialogs.warn(q(read.refusal->text), q(read.refusal->title));
        QLineEdit* field = read.refusal->field >= 0
                               ? correctionFields_[static_cast<std::size_t>(kCorrectionFirstValue +
                                                                            read.refusal->field)]
                           : q(read.refusal->text).contains(QStringLiteral("日付"))
                               ? correctionFields_[kCorrectionDate]
                               : correctionFields_[kCorrectionSituation];
        field->setFocus();
        field->selectAll();
        return false;
    }
    const store::EditResult result =
        store::correctRecord(ctx_.dataFolder, ctx_.currentSlot, shownLoadedLog(),
                             static_cast<std::size_t>(row - 1), *read.values);
    if (!result.written()) {
        warnEditNotWritten(result, "測定値の修正", "修正中止");
        return false;
    }
    showEditedLog(result);
    // The corrected weighing at its place, picked again.
    const int now = static_cast<int>(result.index) + 1;
    msgMemoList_->setTopRow(topRowAround(now));
    selectCommentRow(now);
    return true;
}

bool MemoScreen::deleteRecord() {
    const int row = selectedCommentRow_;
    if (!cmdSakujo_->isEnabled() || row < 1 || row > static_cast<int>(shown_.size())) return false;
    // Refused before the question: the answer could change nothing.
    if (row == 1 && shown_.size() > 1) {
        ctx_.dialogs.warn(q(store::editRefusalText(store::EditRefusal::StartRecord)),
                          QStringLiteral("削除中止"));
        return false;
    }
    const store::MeasurementRecord& r = shown_[static_cast<std::size_t>(row - 1)];
    if (ctx_.dialogs.message(
            q(store::deleteQuestion(store::partnerCaption(ctx_.profile(), ctx_.currentSlot), r)),
            QStringLiteral("削除確認"), widgets::Icon::Question,
            widgets::Buttons::YesNo) != widgets::Answer::Yes)
        return false;
    const store::EditResult result = store::removeRecord(
        ctx_.dataFolder, ctx_.currentSlot, shownLoadedLog(), static_cast<std::size_t>(row - 1));
    if (!result.written()) {
        warnEditNotWritten(result, "測定の削除", "削除中止");
        return false;
    }
    showEditedLog(result);
    const int near = std::min(static_cast<int>(result.index) + 1, static_cast<int>(shown_.size()));
    if (near >= 1) msgMemoList_->setTopRow(topRowAround(near));
    return true;
}

}  // namespace pairly::gui::memo
