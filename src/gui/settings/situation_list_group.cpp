#include "gui/settings/situation_list_group.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/entry/situation_order.h"
#include "gui/common/situation_list.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/push_button.h"
#include "gui/widgets/stored_text.h"

namespace pairly::gui::settings {

namespace {
const QColor kUnsavedOrder(255, 224, 192);
}

SituationListGroup::SituationListGroup(common::AppContext& ctx, common::SituationList& situations,
                                       QWidget* parent)
    : QWidget(parent), ctx_(ctx), situations_(situations) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(QStringLiteral("状況リスト編集"), this);
    frame->setObjectName("fraKoumoku");
    frame->setToolTip(QStringLiteral("状況データの編集枠です"));
    outer->addWidget(frame);

    lstKoumoku_ = new QListWidget(frame);
    lstKoumoku_->setObjectName("lstKoumoku");
    lstKoumoku_->setAccessibleName(frame->title());
    lstKoumoku_->setToolTip(QStringLiteral("クリックすると選択されます"));
    lstKoumoku_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstKoumoku_->viewport()->installEventFilter(this);
    // Its own copy of the list while a reorder waits for cmdSort.
    common::showSituations(lstKoumoku_, situations_.model());

    cmdNew2_ = widgets::makeButton("cmdNew2", QStringLiteral("追加"), frame);
    cmdSort_ = widgets::makeButton("cmdSort", QStringLiteral("並び替え"), frame);
    cmdDel_ = widgets::makeButton("cmdDel", QStringLiteral("削除"), frame);
    cmdDel2_ = widgets::makeButton("cmdDel2", QStringLiteral("全削除"), frame);
    cmdChg_ = widgets::makeButton("cmdChg", QStringLiteral("状況コメントを入れ替える"), frame);
    txtChg_ = new QLineEdit(frame);
    txtChg_->setObjectName("txtChg");
    widgets::keepStoredForm(txtChg_);  // the new text is matched and listed as the files hold it

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdNew2_, cmdSort_, cmdDel_, cmdDel2_}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(lstKoumoku_, 1);
    top->addLayout(buttons);

    auto* box = new QVBoxLayout(frame);
    box->addLayout(top, 1);
    auto* arrow = new QLabel(QStringLiteral("↓"), frame);
    arrow->setAlignment(Qt::AlignCenter);
    box->addWidget(arrow);
    box->addWidget(txtChg_);
    box->addWidget(cmdChg_);

    connect(cmdNew2_, &QPushButton::clicked, this, &SituationListGroup::addSituation);
    connect(cmdSort_, &QPushButton::clicked, this, &SituationListGroup::saveSituationOrder);
    connect(cmdDel_, &QPushButton::clicked, this, &SituationListGroup::deleteSituation);
    connect(cmdDel2_, &QPushButton::clicked, this, &SituationListGroup::deleteAllSituations);
    connect(cmdChg_, &QPushButton::clicked, this, &SituationListGroup::renameSituation);
    disableEntryButtons();
}

void SituationListGroup::disableEntryButtons() {
    for (QPushButton* b : {cmdSort_, cmdDel_, cmdChg_}) b->setEnabled(false);
}

void SituationListGroup::enableEntryButtons() {
    for (QPushButton* b : {cmdSort_, cmdDel_, cmdChg_}) b->setEnabled(true);
}

// Press remembers the entry under the pointer; release places it before the entry the
// pointer is on then (the selection follows the pointer while the button is held).
bool SituationListGroup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != lstKoumoku_->viewport()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            pressIndex_ = lstKoumoku_->indexAt(mouse->position().toPoint()).row();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressIndex_ >= 0) {
            int releaseIndex = lstKoumoku_->indexAt(mouse->position().toPoint()).row();
            if (releaseIndex < 0) releaseIndex = lstKoumoku_->currentRow();
            const int pressed = pressIndex_;
            pressIndex_ = -1;
            enableEntryButtons();
            moveSituationByDrag(pressed, releaseIndex);
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<std::string> SituationListGroup::shownEntries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < lstKoumoku_->count(); ++i)
        entries.push_back(lstKoumoku_->item(i)->text().toStdString());
    return entries;
}

void SituationListGroup::moveSituationByDrag(int pressIndex, int releaseIndex) {
    std::vector<std::string> entries = shownEntries();
    if (!pairly::entry::moveSituationByDrag(entries, pressIndex, releaseIndex)) return;
    lstKoumoku_->clear();
    for (const auto& e : entries) lstKoumoku_->addItem(QString::fromStdString(e));
    lstKoumoku_->setCurrentRow(pressIndex < releaseIndex ? releaseIndex - 1 : releaseIndex);
    widgets::setBackColour(cmdSort_, kUnsavedOrder);
}

void SituationListGroup::addSituation() {
    const QString text = widgets::storedForm(ctx_.dialogs.input(
        QStringLiteral("追加したい状況を入力して下さい"), QStringLiteral("状況追加")));
    if (text.isEmpty()) return;
    if (!situations_.acceptTypedText(text)) return;
    situations_.appendEntry(text, common::SituationList::Form::Bare);
}

void SituationListGroup::saveSituationOrder() {
    if (!situations_.writeEntries(shownEntries())) return;
    widgets::setBackColour(cmdSort_, QColor());
    ctx_.dialogs.inform(QStringLiteral("並び替えた順番で状況リストを作成しました"),
                        QStringLiteral("並び替え完了"));
}

void SituationListGroup::deleteSituation() {
    const int row = lstKoumoku_->currentRow();
    if (row < 0 || !lstKoumoku_->item(row)->isSelected()) return;
    const QString text = lstKoumoku_->item(row)->text();
    if (ctx_.dialogs.message(text + QStringLiteral("を削除します。よろしいですか？"),
                             QStringLiteral("クリア確認"), widgets::Icon::Warning,
                             widgets::Buttons::OkCancel) != widgets::Answer::Ok)
        return;
    std::vector<std::string> entries = shownEntries();
    entries.erase(entries.begin() + row);
    if (!situations_.writeEntries(entries)) return;
    ctx_.dialogs.inform(QStringLiteral("選択したデータを削除しました"), QStringLiteral("削除完了"));
}

void SituationListGroup::deleteAllSituations() {
    if (ctx_.dialogs.message(QStringLiteral("状況リストを全削除します。よろしいですか？"),
                             QStringLiteral("クリア確認"), widgets::Icon::Warning,
                             widgets::Buttons::OkCancel) != widgets::Answer::Ok)
        return;
    // Not made from the shown list: allowed even when that list is incomplete.
    if (!situations_.writeEntries({}, false)) return;
    ctx_.dialogs.inform(
        QStringLiteral("状況リストを削除しました。\n\n任意の状況をあらためて登録してください。"),
        QStringLiteral("削除完了"));
}

void SituationListGroup::renameSituation() {
    const QString newText = txtChg_->text();
    if (newText.isEmpty()) {
        ctx_.dialogs.warn(QStringLiteral("変更したいコメントを入力してください"),
                          QStringLiteral("変更後コメント未入力"));
        return;
    }
    const int row = lstKoumoku_->currentRow();
    if (row < 0 || !lstKoumoku_->item(row)->isSelected()) return;
    if (!situations_.acceptTypedText(newText)) return;
    const QString oldText = lstKoumoku_->item(row)->text();
    if (ctx_.dialogs.message(QStringLiteral("『") + oldText + QStringLiteral("』 を 『") + newText +
                                 QStringLiteral("』 に変更します。よろしいですか？"),
                             QStringLiteral("クリア確認"), widgets::Icon::Warning,
                             widgets::Buttons::OkCancel) != widgets::Answer::Ok)
        return;
    if (!situations_.renameSituation(oldText, newText)) return;
    ctx_.dialogs.inform(QStringLiteral("コメントを入れ替えました。"),
                        QStringLiteral("コメント変更終了"));
}

}  // namespace pairly::gui::settings
