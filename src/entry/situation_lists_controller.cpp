#include "entry/situation_lists_controller.h"

#include <QListWidget>

#include "store/fields.h"
#include "store/situation_list.h"

namespace pairly::entry {

SituationListsController::SituationListsController(ui::AppContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {}

void SituationListsController::setInputList(QListWidget* list) { input_ = list; }
void SituationListsController::setEditList(QListWidget* list) { edit_ = list; }

void SituationListsController::registerList(QListWidget* list) {
    others_.append(list);
    // A list that joins late starts with the saved list.
    fill(list, store::loadSituationList(ctx_.dataFolder));
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
    const auto entries = store::loadSituationList(ctx_.dataFolder);
    for (QListWidget* list : allLists()) fill(list, entries);
}

bool SituationListsController::acceptTypedText(const QString& text) {
    if (store::isStorableText(text.toStdString())) return true;
    ctx_.dialogs.warn(QStringLiteral("状況に「\"」（ダブルクォーテーション）・改行・保存できない文字は"
                                     "使えません。\n\n入力し直してください。"),
                      QStringLiteral("入力エラー"));
    return false;
}

void SituationListsController::writeFailed() {
    ctx_.dialogs.warn(QStringLiteral("状況リストを保存できませんでした。\n\n"
                                     "ファイルは変更されていません。"),
                      QStringLiteral("保存エラー"));
}

bool SituationListsController::appendEntry(const QString& text, Form form) {
    const std::string utf8 = text.toStdString();
    const bool written = form == Form::Bare ? store::appendSituationBare(ctx_.dataFolder, utf8)
                                            : store::appendSituationQuoted(ctx_.dataFolder, utf8);
    if (!written) {
        writeFailed();
        return false;
    }
    for (QListWidget* list : allLists()) list->addItem(text);
    return true;
}

bool SituationListsController::writeEntries(const std::vector<std::string>& entries) {
    if (!store::rewriteSituationList(ctx_.dataFolder, entries)) {
        writeFailed();
        return false;
    }
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
    if (!store::renameSituation(ctx_.dataFolder, ctx_.currentSlot, oldText.toStdString(),
                                newText.toStdString())) {
        ctx_.dialogs.warn(QStringLiteral("状況の変更を保存できませんでした。"),
                          QStringLiteral("保存エラー"));
        return false;
    }
    loadSituationList();
    emit situationRenamed();
    return true;
}

}  // namespace pairly::entry
