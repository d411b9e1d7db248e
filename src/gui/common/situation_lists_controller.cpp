#include "gui/common/situation_lists_controller.h"

#include <QListWidget>

#include "core/disk/fields.h"
#include "core/store/measurement_log.h"
#include "core/store/situation_list.h"
#include "gui/common/write_notice.h"

namespace pairly::gui::common {

SituationListsController::SituationListsController(common::AppContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {}

void SituationListsController::setInputList(QListWidget* list) { input_ = list; }
void SituationListsController::setEditList(QListWidget* list) { edit_ = list; }

void SituationListsController::registerList(QListWidget* list) {
    others_.append(list);
    // A list that joins late starts with the saved list: the input list mirrors it.
    if (input_) {
        list->clear();
        for (int i = 0; i < input_->count(); ++i) list->addItem(input_->item(i)->text());
    } else {
        fill(list, store::loadSituations(ctx_.dataFolder).entries);
    }
}

QList<QListWidget*> SituationListsController::allLists() const {
    QList<QListWidget*> lists;
    if (input_) lists.append(input_);
    for (const auto& other : others_)
        if (other) lists.append(other);
    if (edit_) lists.append(edit_);
    return lists;
}

void SituationListsController::fill(QListWidget* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const auto& entry : entries) list->addItem(QString::fromStdString(entry));
}

void SituationListsController::loadSituationList() {
    const store::LoadedSituations loaded = store::loadSituations(ctx_.dataFolder);
    shownListIncomplete_ = loaded.failed();
    shownList_ = loaded.stamp;
    for (QListWidget* list : allLists()) fill(list, loaded.entries);
    if (loaded.failed() && loaded.status != disk::ReadStatus::Unusable) {
        const disk::FileNotice notice = disk::partlyReadNotice("状況リスト.txt");
        ctx_.dialogs.warn(QString::fromStdString(notice.text),
                          QString::fromStdString(notice.title));
    }
}

bool SituationListsController::acceptTypedText(const QString& text) {
    if (disk::isStorableText(text.toStdString())) return true;
    ctx_.dialogs.warn(
        QStringLiteral("状況に「\"」（ダブルクォーテーション）・改行・保存できない文字は"
                       "使えません。\n\n入力し直してください。"),
        QStringLiteral("入力エラー"));
    return false;
}

void SituationListsController::warnUnread(const QString& fileName, const QString& what) {
    ctx_.dialogs.warn(fileName + QStringLiteral(" を読み込めなかったため、") + what +
                          QStringLiteral("を中止しました。\n\nファイルは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

void SituationListsController::changedElsewhere() {
    loadSituationList();
    common::warnStale(ctx_, "状況リスト.txt");
}

void SituationListsController::writeFailed() {
    ctx_.dialogs.warn(QStringLiteral("状況リストを保存できませんでした。\n\n"
                                     "ファイルは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

bool SituationListsController::appendEntry(const QString& text, Form form) {
    const std::string utf8 = text.toStdString();
    disk::AppendStamps stamps;
    const bool written = form == Form::Bare
                             ? store::appendSituationBare(ctx_.dataFolder, utf8, &stamps)
                             : store::appendSituationQuoted(ctx_.dataFolder, utf8, &stamps);
    if (!written) {
        writeFailed();
        return false;
    }
    // An append keeps whatever the file held; the lists shown are the file's only when
    // they were before it (else the next rewrite from them is refused).
    if (disk::stillHolds(shownList_, stamps.before)) shownList_ = stamps.after;
    for (QListWidget* list : allLists()) list->addItem(text);
    return true;
}

bool SituationListsController::writeEntries(const std::vector<std::string>& entries,
                                            bool fromShownList) {
    // Entries missing from the shown list would be lost from the file.
    if (fromShownList && shownListIncomplete_) {
        warnUnread(QStringLiteral("状況リスト.txt"), QStringLiteral("保存"));
        return false;
    }
    const disk::WriteResult result =
        fromShownList ? store::rewriteSituationList(ctx_.dataFolder, entries, shownList_)
                      : store::clearSituationList(ctx_.dataFolder);
    if (result.status == disk::WriteStatus::Stale) {
        changedElsewhere();
        return false;
    }
    if (common::tellBlocked(ctx_, result.status, "状況リスト.txt")) return false;
    if (!common::written(ctx_, result.status, "状況リスト.txt")) {
        writeFailed();
        return false;
    }
    shownList_ = result.stamp;
    shownListIncomplete_ = false;
    for (QListWidget* list : allLists()) fill(list, entries);
    return true;
}

std::vector<std::string> SituationListsController::editEntries() const {
    std::vector<std::string> entries;
    if (!edit_) return entries;
    for (int i = 0; i < edit_->count(); ++i)
        entries.push_back(edit_->item(i)->text().toStdString());
    return entries;
}

bool SituationListsController::renameSituation(const QString& oldText, const QString& newText) {
    const store::RenameOutcome outcome =
        store::renameSituation(ctx_.dataFolder, ctx_.currentSlot, oldText.toStdString(),
                               newText.toStdString(), shownList_);
    const std::string files = store::logFileName(ctx_.currentSlot) + " と 状況リスト.txt";
    if (common::tellBlocked(ctx_, outcome.status,
                            outcome.unreadFile.empty() ? files : outcome.unreadFile))
        return false;
    switch (outcome.status) {
        case disk::WriteStatus::Ok:
            break;
        case disk::WriteStatus::Busy:
        case disk::WriteStatus::Unusable:
            return false;  // told above
        case disk::WriteStatus::Unsynced:
            common::written(ctx_, outcome.status, files);
            break;
        case disk::WriteStatus::Stale:
            if (outcome.unreadFile == "状況リスト.txt") {
                changedElsewhere();
            } else {
                // The log changed while it was being renamed in: nothing was written.
                common::warnStale(ctx_, outcome.unreadFile);
                emit situationRenamed();
            }
            return false;
        case disk::WriteStatus::ReadFailed:
            warnUnread(QString::fromStdString(outcome.unreadFile), QStringLiteral("状況の変更"));
            return false;
        case disk::WriteStatus::OldLayout:
            ctx_.dialogs.warn(QString::fromStdString(store::oldLayoutRefusal()) +
                                  QStringLiteral("\n\nファイルは変更されていません。"),
                              QStringLiteral("保存エラー"));
            return false;
        case disk::WriteStatus::Refused:
            ctx_.dialogs.warn(QStringLiteral("データファイルまたは状況リストに保存できない文字が"
                                             "含まれているため、状況の変更を中止しました。\n\n"
                                             "ファイルは変更されていません。"),
                              QStringLiteral("保存エラー"));
            return false;
        case disk::WriteStatus::WriteFailed:
            if (outcome.pending == disk::PendingChange::None) {
                ctx_.dialogs.warn(QStringLiteral("状況の変更を保存できませんでした。\n"
                                                 "ディスクの空き容量と書き込みの権限を確認して"
                                                 "ください。\n\nファイルは変更されていません。"),
                                  QStringLiteral("保存エラー"));
                return false;
            }
            // Half made, and it could not be taken back: the next start finishes it.
            ctx_.dialogs.warn(
                QStringLiteral("状況の変更の保存が途中で止まりました。\n"
                               "ディスクの空き容量と書き込みの権限を確認してから、プログラムを"
                               "起動し直してください。\n次回の起動時に、") +
                    (outcome.pending == disk::PendingChange::Undo
                         ? QStringLiteral("変更する前の状況に戻します。")
                         : QStringLiteral("残りの保存を済ませます。")),
                QStringLiteral("保存エラー"));
            ctx_.noteDataChanged();
            emit situationRenamed();
            return false;
    }
    loadSituationList();
    ctx_.noteDataChanged();
    emit situationRenamed();
    return true;
}

}  // namespace pairly::gui::common
