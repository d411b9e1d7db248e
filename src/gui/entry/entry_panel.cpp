#include "gui/entry/entry_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/text/dates.h"
#include "gui/common/situation_list.h"
#include "gui/widgets/elided_text.h"
#include "gui/widgets/icons.h"
#include "gui/widgets/stored_text.h"

namespace pairly::gui::entry {

namespace {

struct FieldDef {
    const char* field;
    const char* caption;
    const char* captionName;
    const char* upName;
    const char* downName;
    DayViewKind view;
};

// Entry order; the Enter key walks down this table.
const std::array<FieldDef, pairly::entry::kFieldCount> kFields = {{
    {"txtTaiInp", "体重", "lblTaijyu", "cmdUp", "cmdDn", DayViewKind::Weight},
    {"txtShiInp", "体脂", "lblShibou", "cmdUp1", "cmdDn1", DayViewKind::Weight},
    {"txtTaisya", "代謝", "lblTaisya", "cmdUp2", "cmdDn2", DayViewKind::Metabolism},
    {"txtNaizo", "内脂", "lblNaizo", "cmdUp3", "cmdDn3", DayViewKind::Metabolism},
    {"txtKinr", "筋量", "lblKinr", "cmdUp4", "cmdDn4", DayViewKind::Muscle},
    {"txtKins", "筋ス", "lblKins", "cmdUp5", "cmdDn5", DayViewKind::Muscle},
    {"txtKotu", "骨量", "Label1", "cmdUp6", "cmdDn6", DayViewKind::Bone},
}};

QPushButton* pictureButton(const char* name, widgets::Picture picture, const QString& tip,
                           QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(widgets::icon(picture));
    button->setToolTip(tip);
    return button;
}

}  // namespace

EntryPanel::EntryPanel(common::AppContext& ctx, common::SituationList& situations, QWidget* parent)
    : QWidget(parent), ctx_(ctx), situations_(situations) {
    // Situation column.
    auto* situationCaption = new QLabel(QStringLiteral("状況選択"), this);
    situationCaption->setObjectName("lblJyoukyou");
    lstAct_ = new QListWidget(this);
    lstAct_->setObjectName("lstAct");
    lstAct_->setAccessibleName(situationCaption->text());
    lstAct_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstAct_->viewport()->installEventFilter(this);
    common::showSituations(lstAct_, situations_.model());
    cmdFree_ = pictureButton("cmdFree", widgets::Picture::FreeSituationFace,
                             QStringLiteral("状況選択リスト外の内容を入力できます"), this);
    cmdJikan_ = pictureButton("cmdJikan", widgets::Picture::ClockFace,
                              QStringLiteral("状況をその時の時間で保存できます"), this);
    cmdFree_->setAccessibleName(QStringLiteral("状況を自由に入力"));
    cmdJikan_->setAccessibleName(QStringLiteral("状況を時間で保存"));
    for (QPushButton* b : {cmdFree_, cmdJikan_}) {
        b->setIconSize(QSize(24, 22));
        b->setFixedSize(34, 30);
    }
    chkAutoSit_ = new QCheckBox(QStringLiteral("いつもの状況を自動で選ぶ"), this);
    chkAutoSit_->setObjectName("chkAutoSit");
    chkAutoSit_->setToolTip(
        QStringLiteral("今日の何回目の測定かから、この二週間のいつもの状況を選んでおきます"));
    auto* situation = new QVBoxLayout;
    situation->addWidget(situationCaption);
    situation->addWidget(lstAct_, 1);
    // The check box beside the two picks: the window has no height to spare.
    auto* pickButtons = new QHBoxLayout;
    pickButtons->addWidget(cmdFree_);
    pickButtons->addWidget(cmdJikan_);
    pickButtons->addWidget(chkAutoSit_, 1);
    situation->addLayout(pickButtons);

    // Value column: caption, field, ↑, ↓ per row.
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(4);
    for (int i = 0; i < pairly::entry::kFieldCount; ++i) {
        const FieldDef& def = kFields[i];
        auto* caption = new QLabel(QString::fromUtf8(def.caption), this);
        caption->setObjectName(def.captionName);
        caption->setCursor(Qt::PointingHandCursor);
        caption->installEventFilter(this);
        captions_[i] = caption;
        auto* field = new QLineEdit(this);
        field->setObjectName(def.field);
        field->setAlignment(Qt::AlignRight);
        field->setMinimumWidth(72);
        field->installEventFilter(this);
        fields_[i] = field;
        caption->setBuddy(field);
        connect(field, &QLineEdit::returnPressed, this, [this, i] { enterPressed(i); });
        connect(field, &QLineEdit::textEdited, this, [this] {
            if (isEmpty()) emit emptiedOrSaved();
        });
        up_[i] = new QPushButton(QStringLiteral("↑"), this);
        up_[i]->setObjectName(def.upName);
        down_[i] = new QPushButton(QStringLiteral("↓"), this);
        down_[i]->setObjectName(def.downName);
        for (QPushButton* b : {up_[i], down_[i]}) {
            b->setFixedWidth(30);
            b->setFocusPolicy(Qt::NoFocus);  // Enter walks the fields, not the steppers
        }
        const auto field_ = static_cast<pairly::entry::Field>(i);
        connect(up_[i], &QPushButton::clicked, this, [this, field_] { stepField(field_, true); });
        connect(down_[i], &QPushButton::clicked, this,
                [this, field_] { stepField(field_, false); });
        values->addWidget(caption, i, 0);
        values->addWidget(field, i, 1);
        values->addWidget(up_[i], i, 2);
        values->addWidget(down_[i], i, 3);
    }
    cmdTaiHozon_ = pictureButton("cmdTaiHozon", widgets::Picture::FloppyDisk, QString(), this);
    cmdTaiHozon_->setAccessibleName(QStringLiteral("保存"));
    cmdTaiHozon_->setIconSize(QSize(32, 32));
    cmdTaiHozon_->setAutoDefault(true);  // Enter on the focused button saves
    // What the save will write as the situation, beside the button that writes it.
    lblHozonJyou_ = new QLabel(this);
    lblHozonJyou_->setObjectName("lblHozonJyou");
    lblHozonJyou_->setMinimumWidth(0);
    lblHozonJyou_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cmdTaiHozon_);
    saveRow->addWidget(lblHozonJyou_, 1);
    values->addLayout(saveRow, pairly::entry::kFieldCount, 0, 1, 4);
    values->setRowStretch(pairly::entry::kFieldCount + 1, 1);

    // The last save in words, under the whole panel: no box to close each morning.
    lblHozonKekka_ = new QLabel(this);
    lblHozonKekka_->setObjectName("lblHozonKekka");
    lblHozonKekka_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // Its line kept whether empty or not, so that a save never moves the panel.
    lblHozonKekka_->setFixedHeight(lblHozonKekka_->fontMetrics().height() + 2);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(situation, 1);
    row->addLayout(values);
    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(row, 1);
    panel->addWidget(lblHozonKekka_);

    connect(cmdTaiHozon_, &QPushButton::clicked, this, &EntryPanel::saveRequested);
    connect(chkAutoSit_, &QCheckBox::toggled, this, &EntryPanel::autoSituationToggled);
    connect(cmdFree_, &QPushButton::clicked, this, &EntryPanel::pickFreeSituation);
    connect(cmdJikan_, &QPushButton::clicked, this, &EntryPanel::pickTime);
    // A pick is a selection by mouse or keyboard; the list taking the focus only moves
    // its current row and picks nothing.
    connect(lstAct_, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = lstAct_->selectedItems();
        if (clearing_ || selected.isEmpty()) return;
        pickFromList(lstAct_->row(selected.first()));
        pickedByPress_ = true;
    });
    connect(lstAct_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // A click on the entry that is already selected picks it again.
        if (!pickedByPress_) pickFromList(lstAct_->row(item));
        pickedByPress_ = false;
    });
    setSteppersEnabled(false);
    showSelectedSituation();
}

bool EntryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            // Ctrl+Enter in any field saves at once; plain Enter keeps walking the fields.
            emit saveRequested();
            return true;
        }
        showSavedLine(QString());
    }
    if (watched == lstAct_->viewport() && event->type() == QEvent::MouseButtonPress) {
        pickedByPress_ = false;
    } else if (event->type() == QEvent::FocusIn) {
        for (QLineEdit* field : fields_)
            if (watched == field) {
                // Whole text selected, caret at 0; again after a mouse press placed the caret.
                auto selectWhole = [field] {
                    field->setSelection(field->text().size(), -field->text().size());
                };
                selectWhole();
                QTimer::singleShot(0, field, selectWhole);
            }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < pairly::entry::kFieldCount; ++i)
            if (watched == captions_[i] &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                emit viewRequested(kFields[i].view);
    }
    return QWidget::eventFilter(watched, event);
}

pairly::entry::FieldTexts EntryPanel::fieldTexts() const {
    pairly::entry::FieldTexts texts;
    for (int i = 0; i < pairly::entry::kFieldCount; ++i)
        texts[i] = fields_[i]->text().toStdString();
    return texts;
}

void EntryPanel::clearEntry() {
    clearing_ = true;
    for (QLineEdit* field : fields_) field->clear();
    selectedSituation_.clear();
    showSelectedSituation();
    lstAct_->setCurrentRow(-1);
    lstAct_->clearSelection();
    clearing_ = false;
    emit emptiedOrSaved();
}

bool EntryPanel::isEmpty() const {
    if (!selectedSituation_.isEmpty()) return false;
    for (const QLineEdit* field : fields_)
        if (!field->text().isEmpty()) return false;
    return true;
}

void EntryPanel::setSteppersEnabled(bool enabled) {
    for (int i = 0; i < pairly::entry::kFieldCount; ++i) {
        up_[i]->setEnabled(enabled);
        down_[i]->setEnabled(enabled);
    }
}

void EntryPanel::showSelectedSituation() {
    if (selectedSituation_.isEmpty()) {
        lblHozonJyou_->setText(QStringLiteral("状況：未選択"));
        lblHozonJyou_->setToolTip(QString());
        return;
    }
    const QString full = QStringLiteral("状況：") + selectedSituation_;
    const int room = lblHozonJyou_->width() > 0 ? lblHozonJyou_->width() : 120;
    lblHozonJyou_->setText(widgets::elideToRoom(lblHozonJyou_->fontMetrics(), full, room));
    lblHozonJyou_->setToolTip(widgets::boundedText(full, widgets::kTipTextChars));
}

void EntryPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showSelectedSituation();  // the elided text follows the room the label has
}

void EntryPanel::fillFields() {
    showSelectedSituation();
    const pairly::entry::FieldTexts texts = pairly::entry::fillTexts(previous_);
    for (int i = 0; i < pairly::entry::kFieldCount; ++i) {
        fields_[i]->setText(QString::fromStdString(texts[i]));
        down_[i]->setEnabled(true);
        up_[i]->setEnabled(true);
    }
}

int EntryPanel::rowOfSituation(const QString& situation) const {
    for (int row = 0; row < lstAct_->count(); ++row)
        if (lstAct_->item(row)->text() == situation) return row;
    return -1;
}

void EntryPanel::setAutoSituation(bool on) {
    const QSignalBlocker quiet(chkAutoSit_);
    chkAutoSit_->setChecked(on);
}

bool EntryPanel::autoSituation() const { return chkAutoSit_->isChecked(); }

void EntryPanel::showSavedLine(const QString& text) {
    if (lblHozonKekka_->text() != text) lblHozonKekka_->setText(text);
}

void EntryPanel::pickFromList(int row) {
    if (row < 0 || row >= lstAct_->count()) return;
    showSavedLine(QString());
    selectedSituation_ = lstAct_->item(row)->text();
    fillFields();
    fields_[0]->setFocus();
    fields_[0]->setSelection(fields_[0]->text().size(), -fields_[0]->text().size());
}

void EntryPanel::pickForUser(int row) {
    if (row < 0 || row >= lstAct_->count()) return;
    clearing_ = true;  // the selection below is no pick of its own
    lstAct_->setCurrentRow(row);
    clearing_ = false;
    pickFromList(row);
}

void EntryPanel::pickFreeSituation() {
    showSavedLine(QString());
    // Held, listed and saved as the log and the list will give it back.
    const QString text = widgets::storedForm(
        ctx_.dialogs.input(QStringLiteral("状況リストに無い内容をフリーで入力できます。\n\n"
                                          "任意の言葉で内容を書き込んでください。\n\n"
                                          "体重は通常と同じように ↓↑ボタンで指定してください。\n"),
                           QStringLiteral("状況フリー入力")));
    if (text.isEmpty()) return;
    // The situation goes into the log (and maybe the list): refuse what cannot be stored.
    if (!situations_.acceptTypedText(text)) return;
    selectedSituation_ = text;
    fillFields();
    if (ctx_.dialogs.message(QStringLiteral("状況リストに追加しますか？\n\n"),
                             QStringLiteral("状況リスト登録の有無"), widgets::Icon::Question,
                             widgets::Buttons::YesNo) == widgets::Answer::Yes)
        situations_.appendEntry(text, common::SituationList::Form::Quoted);
}

void EntryPanel::pickTime() {
    showSavedLine(QString());
    selectedSituation_ = widgets::storedForm(
        QString::fromStdString(text::longTimeText(ctx_.clock.secondsSinceMidnight())));
    fillFields();
}

void EntryPanel::stepField(pairly::entry::Field field, bool up) {
    QLineEdit* edit = fields_[static_cast<int>(field)];
    const std::string step = stepTextFor(field, ctx_.steps.weightStep, ctx_.steps.bodyFatStep);
    edit->setText(
        QString::fromStdString(pairly::entry::stepValue(edit->text().toStdString(), step, up)));
}

void EntryPanel::focusField(pairly::entry::Field field) {
    QLineEdit* edit = fields_[static_cast<int>(field)];
    edit->setFocus();
    edit->setSelection(edit->text().size(), -edit->text().size());
}

void EntryPanel::enterPressed(int index) {
    if (fields_[index]->text().isEmpty()) return;
    if (index + 1 < pairly::entry::kFieldCount)
        fields_[index + 1]->setFocus();
    else
        cmdTaiHozon_->setFocus();
}

}  // namespace pairly::gui::entry
