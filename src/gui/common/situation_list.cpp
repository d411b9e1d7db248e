#include "gui/common/situation_list.h"

#include <QListWidget>
#include <algorithm>

#include "core/disk/fields.h"
#include "core/store/measurement_log.h"
#include "core/store/situation_list.h"
#include "gui/common/write_notice.h"

namespace pairly::gui::common {

int SituationListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant SituationListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return entries_.at(index.row());
}

void SituationListModel::setEntries(const std::vector<std::string>& entries) {
    beginResetModel();
    entries_.clear();
    for (const auto& entry : entries) entries_ << QString::fromStdString(entry);
    endResetModel();
}

void SituationListModel::append(const QString& entry) {
    const int row = static_cast<int>(entries_.size());
    beginInsertRows(QModelIndex(), row, row);
    entries_ << entry;
    endInsertRows();
}

void showSituations(QListWidget* list, const SituationListModel& model) {
    const auto fill = [list, &model] {
        list->clear();
        list->addItems(model.entries());
    };
    fill();
    QObject::connect(&model, &QAbstractItemModel::modelReset, list, fill);
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, list,
                     [list, &model](const QModelIndex&, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             list->insertItem(std::min(row, list->count()),
                                              model.entries().at(row));
                     });
}

SituationList::SituationList(common::AppContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {}

void SituationList::loadSituationList() {
    const store::LoadedSituations loaded = store::loadSituations(ctx_.dataFolder);
    shownListIncomplete_ = loaded.failed();
    shownList_ = loaded.stamp;
    model_.setEntries(loaded.entries);
    if (loaded.failed() && loaded.status != disk::ReadStatus::Unusable) {
        const disk::FileNotice notice = disk::partlyReadNotice("状況リスト.txt");
        ctx_.dialogs.warn(QString::fromStdString(notice.text),
                          QString::fromStdString(notice.title));
    }
}

bool SituationList::acceptTypedText(const QString& text) {
    if (disk::isStorableText(text.toStdString())) return true;
    ctx_.dialogs.warn(
        QStringLiteral("状況に「\"」（ダブルクォーテーション）・改行・保存できない文字は"
                       "使えません。\n\n入力し直してください。"),
        QStringLiteral("入力エラー"));
    return false;
}

void SituationList::warnUnread(const QString& fileName, const QString& what) {
    ctx_.dialogs.warn(fileName + QStringLiteral(" を読み込めなかったため、") + what +
                          QStringLiteral("を中止しました。\n\nファイルは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

void SituationList::changedElsewhere() {
    loadSituationList();
    common::warnStale(ctx_, "状況リスト.txt");
}

void SituationList::renamed() {
    const session::Session::Refresh span(ctx_.session);
    emit situationRenamed();
}

void SituationList::writeFailed() {
    ctx_.dialogs.warn(QStringLiteral("状況リストを保存できませんでした。\n\n"
                                     "ファイルは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

bool SituationList::appendEntry(const QString& text, Form form) {
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
    model_.append(text);
    return true;
}

bool SituationList::writeEntries(const std::vector<std::string>& entries, bool fromShownList) {
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
    model_.setEntries(entries);
    return true;
}

bool SituationList::renameSituation(const QString& oldText, const QString& newText) {
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
                // The log changed while it was being renamed in: nothing was written, and
                // the screens read it again.
                common::warnStale(ctx_, outcome.unreadFile);
                ctx_.noteDataChanged(ctx_.currentSlot);
                renamed();
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
            renamed();
            return false;
    }
    loadSituationList();
    ctx_.noteDataChanged();
    renamed();
    return true;
}

}  // namespace pairly::gui::common
