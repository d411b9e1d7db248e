#include "gui/memo/memo_screen.h"

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
#include <limits>

#include "core/memo/comment_table.h"
#include "core/memo/unsaved_text.h"
#include "core/store/notes_memo.h"
#include "core/text/numbers.h"
#include "gui/common/write_notice.h"
#include "gui/memo/memo_fields.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/grid.h"
#include "gui/widgets/stored_text.h"

namespace pairly::gui::memo {

using namespace memo_detail;

namespace {

constexpr double kTableFontPoints = 9;
// The memo save button while the memo holds changes not yet saved.
const QColor kUnsaved(255, 224, 192);

// `widest` is the longest text a column has to show in full; a column is made wider than
// its width in twips when the screen's font needs it.
struct Column {
    const char* header;
    int twips;
    widgets::Align align;
    const char* widest;
};
const Column kColumns[pairly::memo::kCommentColumnCount] = {
    {"回数", 560, widgets::Align::Right, "32766"},
    {"日付", 1070, widgets::Align::Center, "2026/12/07"},
    {"行動", 1680, widgets::Align::Left, ""},
    {"体重", 500, widgets::Align::Right, "188.88"},
    {"前差", 500, widgets::Align::Right, "-88.8"},
    {"差", 300, widgets::Align::Center, "↑"},
    {"脂肪", 500, widgets::Align::Right, "88.88"},
    {"一言日記（言い訳など）", 5600, widgets::Align::Left, ""},
    {"", 0, widgets::Align::Left, ""},
    {"", 0, widgets::Align::Left, ""},
    {"", 0, widgets::Align::Left, ""},
    {"", 0, widgets::Align::Left, ""},
    {"", 0, widgets::Align::Left, ""},
};
// Room a cell keeps beside its text.
constexpr int kCellMargin = 10;
// The widest the picked weighing's line grows (its situation may be of any length).
constexpr int kTargetWidth = 600;

QColor changeColour(pairly::memo::WeightChange change) {
    switch (change) {
        case pairly::memo::WeightChange::Rise:
            return {255, 192, 192};
        case pairly::memo::WeightChange::Fall:
            return {192, 255, 192};
        case pairly::memo::WeightChange::Same:
            break;
    }
    return {255, 255, 192};
}

}  // namespace

MemoScreen::MemoScreen(common::AppContext& ctx, QWidget* parent)
    : Screen(ctx.session, WhenHidden::ReadAgain, parent), ctx_(ctx) {
    setObjectName("fraMemo");

    msgMemoList_ = new widgets::Grid(this);
    msgMemoList_->setObjectName("msgMemoList");
    msgMemoList_->setAccessibleName(QStringLiteral("一言日記の一覧"));
    msgMemoList_->setFontPointSize(kTableFontPoints);
    resetCommentTable();
    msgMemoList_->setVisibleRows(pairly::memo::kCommentVisibleRows);
    msgMemoList_->setFixedHeight(msgMemoList_->minimumHeight());
    int width = 0;
    for (int c = 0; c < pairly::memo::kCommentColumnCount; ++c)
        width += widgets::Grid::twipsToPixels(msgMemoList_->columnWidthTwips(c),
                                              msgMemoList_->logicalDpiX());
    msgMemoList_->setFixedWidth(width + msgMemoList_->verticalScrollBar()->sizeHint().width() +
                                2 * msgMemoList_->frameWidth());
    connect(msgMemoList_, &widgets::Grid::clickedCell, this,
            [this](int row, int) { selectCommentRow(row); });

    // The comment of the weighing picked in the table.
    auto* commentBox = new QGroupBox(QStringLiteral("一言日記の編集"), this);
    lblMemoTarget_ = new widgets::ElidedLabel(kTargetWidth, commentBox);
    lblMemoTarget_->setObjectName("lblMemoTarget");
    lblMemoTarget_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    txtMemo_ = new QLineEdit(commentBox);
    txtMemo_->setObjectName("txtMemo");
    // A comment of any length is edited whole: the field's own limit would cut it.
    txtMemo_->setMaxLength(std::numeric_limits<int>::max());
    // The comment as the log will give it back: the table then holds the file's text.
    widgets::keepStoredForm(txtMemo_);
    cmdMemoHozon_ = new QPushButton(QStringLiteral("一言日記保存"), commentBox);
    cmdMemoHozon_->setObjectName("cmdMemoHozon");
    cmdMemoHozon_->setAutoDefault(false);
    auto* hint = new QLabel(QStringLiteral("一覧の行をクリックすると、その測定の一言日記を"
                                           "書き換えられます。\n"
                                           "書き終えたら「一言日記保存」ボタンかEnterキーで"
                                           "保存します。\n"
                                           "打ち間違えた測定は「測定値の修正」で直し、"
                                           "「測定の削除」で消せます。"),
                            commentBox);
    hint->setWordWrap(true);
    auto* saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(cmdMemoHozon_);
    cmdSyusei_ = new QPushButton(QStringLiteral("測定値の修正"), commentBox);
    cmdSyusei_->setObjectName("cmdSyusei");
    cmdSyusei_->setAutoDefault(false);
    cmdSakujo_ = new QPushButton(QStringLiteral("測定の削除"), commentBox);
    cmdSakujo_->setObjectName("cmdSakujo");
    cmdSakujo_->setAutoDefault(false);
    auto* editRow = new QHBoxLayout;
    editRow->addStretch(1);
    editRow->addWidget(cmdSyusei_);
    editRow->addWidget(cmdSakujo_);
    auto* commentLayout = new QVBoxLayout(commentBox);
    commentLayout->addWidget(hint);
    commentLayout->addSpacing(8);
    commentLayout->addWidget(lblMemoTarget_);
    commentLayout->addWidget(txtMemo_);
    commentLayout->addLayout(saveRow);
    commentLayout->addSpacing(8);
    commentLayout->addLayout(editRow);
    commentLayout->addStretch(1);
    commentBox_ = commentBox;

    // The correction of the clicked weighing, shown in place of the comment editor.
    fraSyusei_ = new QGroupBox(QStringLiteral("測定値の修正"), this);
    fraSyusei_->setObjectName("fraSyusei");
    correctionTarget_ = new QLabel(fraSyusei_);
    correctionTarget_->setObjectName("lblSyuTarget");
    auto* fields = new QGridLayout;
    for (int i = 0; i < 9; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(kCorrectionFields[i].caption), fraSyusei_);
        auto* field = new QLineEdit(fraSyusei_);
        field->setObjectName(kCorrectionFields[i].name);
        caption->setBuddy(field);
        correctionFields_[static_cast<std::size_t>(i)] = field;
        connect(field, &QLineEdit::returnPressed, this, &MemoScreen::saveCorrection);
        // The date and the situation on rows of their own, the values two to a row.
        const int k = i - kCorrectionFirstValue;
        const int gridRow = k < 0 ? i : kCorrectionFirstValue + k / 2;
        const int gridCol = k < 0 ? 0 : 2 * (k % 2);
        fields->addWidget(caption, gridRow, gridCol);
        if (i == kCorrectionSituation)
            fields->addWidget(field, gridRow, gridCol + 1, 1, 3);
        else
            fields->addWidget(field, gridRow, gridCol + 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    correctionFields_[kCorrectionDate]->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    widgets::keepStoredForm(correctionFields_[kCorrectionSituation]);
    // The weighing's situation, of any length, goes back whole with a correction.
    correctionFields_[kCorrectionSituation]->setMaxLength(std::numeric_limits<int>::max());
    cmdSyuHozon_ = new QPushButton(QStringLiteral("修正を保存"), fraSyusei_);
    cmdSyuHozon_->setObjectName("cmdSyuHozon");
    cmdSyuHozon_->setAutoDefault(false);
    cmdSyuYame_ = new QPushButton(QStringLiteral("やめる"), fraSyusei_);
    cmdSyuYame_->setObjectName("cmdSyuYame");
    cmdSyuYame_->setAutoDefault(false);
    auto* correctionButtons = new QHBoxLayout;
    correctionButtons->addStretch(1);
    correctionButtons->addWidget(cmdSyuHozon_);
    correctionButtons->addWidget(cmdSyuYame_);
    auto* correctionLayout = new QVBoxLayout(fraSyusei_);
    correctionLayout->addWidget(correctionTarget_);
    correctionLayout->addLayout(fields);
    correctionLayout->addLayout(correctionButtons);
    correctionLayout->addStretch(1);
    fraSyusei_->hide();

    auto* right = new QVBoxLayout;
    right->addWidget(commentBox, 1);
    right->addWidget(fraSyusei_, 1);
    auto* upper = new QHBoxLayout;
    upper->addWidget(msgMemoList_, 0, Qt::AlignTop);
    upper->addLayout(right, 1);

    // The notes memo, one for both partners.
    auto* memoBox = new QGroupBox(QStringLiteral("気付きメモ"), this);
    txtKizuki_ = new QPlainTextEdit(memoBox);
    txtKizuki_->setObjectName("txtKizuki");
    txtKizuki_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdKizukiHozon_ = new QPushButton(QStringLiteral("気付きメモ保存"), memoBox);
    cmdKizukiHozon_->setObjectName("cmdKizukiHozon");
    cmdKizukiHozon_->setAutoDefault(false);
    auto* memoHint =
        new QLabel(QStringLiteral("気付きメモは二人で共通です。書き換えたら「気付きメモ保存」"
                                  "ボタンで保存してください。"),
                   memoBox);
    auto* memoRow = new QHBoxLayout;
    memoRow->addWidget(memoHint, 1);
    memoRow->addWidget(cmdKizukiHozon_);
    auto* memoLayout = new QVBoxLayout(memoBox);
    memoLayout->addWidget(txtKizuki_, 1);
    memoLayout->addLayout(memoRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addWidget(memoBox, 1);

    connect(cmdMemoHozon_, &QPushButton::clicked, this, &MemoScreen::saveComment);
    connect(txtMemo_, &QLineEdit::returnPressed, this, [this] {
        if (cmdMemoHozon_->isEnabled()) saveComment();
    });
    connect(cmdKizukiHozon_, &QPushButton::clicked, this, [this] { saveMemo(); });
    connect(txtKizuki_->document(), &QTextDocument::modificationChanged, this,
            &MemoScreen::showMemoState);
    connect(cmdSyusei_, &QPushButton::clicked, this, &MemoScreen::openCorrection);
    connect(cmdSakujo_, &QPushButton::clicked, this, &MemoScreen::deleteRecord);
    connect(cmdSyuHozon_, &QPushButton::clicked, this, &MemoScreen::saveCorrection);
    connect(cmdSyuYame_, &QPushButton::clicked, this, &MemoScreen::closeCorrection);
    cmdMemoHozon_->setEnabled(false);
    cmdSyusei_->setEnabled(false);
    cmdSakujo_->setEnabled(false);
}

void MemoScreen::resetCommentTable() {
    msgMemoList_->clearRows();
    QStringList headers;
    for (const Column& c : kColumns) headers << QString::fromUtf8(c.header);
    msgMemoList_->setColumns(headers);
    const QFontMetrics metrics(msgMemoList_->font());
    const double dpi = msgMemoList_->logicalDpiX();
    for (int c = 0; c < pairly::memo::kCommentColumnCount; ++c) {
        int twips = kColumns[c].twips;
        if (twips > 0) {
            const int needed =
                metrics.horizontalAdvance(QString::fromUtf8(kColumns[c].widest)) + kCellMargin;
            twips = std::max(twips, widgets::Grid::pixelsToTwips(needed, dpi));
        }
        msgMemoList_->setColumnWidthTwips(c, twips);
        msgMemoList_->setColumnAlignment(c, kColumns[c].align);
        msgMemoList_->setHeaderAlignment(c, widgets::Align::Center);
    }
}

void MemoScreen::fillCommentTable() {
    markFresh();
    showLog(common::loadLogForScreen(ctx_, ctx_.currentSlot));
}

void MemoScreen::showLog(session::SharedLog log) {
    resetCommentTable();
    shown_ = log->records;
    shownLog_ = log->stamp;
    shownData_ = std::move(log);
    // The table asks for the cells of the rows it draws, made from the records: a long log
    // is not turned into texts ahead of time.
    msgMemoList_->setRowSource(
        static_cast<int>(shown_.size()),
        [this](int row, int col) {
            return pairly::memo::commentCell(shown_, static_cast<std::size_t>(row - 1), col);
        },
        [this](int row, int col) {
            if (col != pairly::memo::kArrowColumn || row < 1 ||
                row > static_cast<int>(shown_.size()))
                return QColor();
            return changeColour(
                pairly::memo::commentChange(shown_, static_cast<std::size_t>(row - 1)));
        });
    // A long table opens on its newest weighings, the view full down to the last one.
    msgMemoList_->scrollToBottom();
    // No row is picked in the new table: the box shows no comment of the old one.
    cmdMemoHozon_->setEnabled(false);
    cmdSyusei_->setEnabled(false);
    cmdSakujo_->setEnabled(false);
    lblMemoTarget_->setCaption(QString());
    txtMemo_->clear();
    closeCorrection();
}

void MemoScreen::selectCommentRow(int row) {
    if (row < 1 || row > static_cast<int>(shown_.size())) return;  // the header row
    msgMemoList_->setCurrentGridCell(row, pairly::memo::kCommentColumn);
    const store::MeasurementRecord& r = shown_[static_cast<std::size_t>(row - 1)];
    // The whole comment, not the beginning the table draws of a long one.
    txtMemo_->setText(q(r.comment));
    selectedCommentRow_ = row;
    lblMemoTarget_->setCaption(QStringLiteral("%1回目　%2　%3　%4Kg")
                                   .arg(row)
                                   .arg(q(r.date), q(r.situation), msgMemoList_->text(row, 3)));
    cmdMemoHozon_->setEnabled(true);
    cmdSyusei_->setEnabled(true);
    cmdSakujo_->setEnabled(true);
    if (fraSyusei_->isHidden()) {
        txtMemo_->setFocus();
        return;
    }
    // The open panel follows the click.
    fillCorrectionFields(r);
    correctionFields_[kCorrectionDate]->setFocus();
}

bool MemoScreen::saveComment() {
    const int row = selectedCommentRow_;
    if (row < 1 || row > static_cast<int>(shown_.size())) return false;
    const QString comment = txtMemo_->text();
    const pairly::memo::CommentSaveOutcome outcome = pairly::memo::saveComment(
        ctx_.dataFolder, ctx_.currentSlot, row, shownLog_, comment.toStdString());
    if (outcome.stale) {
        // Another window changed the log: the table shows it as it is now, and what was
        // typed waits on the clipboard.
        common::keepOnClipboard(comment);
        fillCommentTable();
    }
    if (outcome.message) ctx_.dialogs.warn(q(outcome.message->text), q(outcome.message->title));
    // Not saved: the table keeps the comment that is in the file; the box what was typed.
    if (!outcome.saved) return false;
    ctx_.noteDataChanged(ctx_.currentSlot);
    markFresh();  // the table shows the new comment below
    shown_[static_cast<std::size_t>(row - 1)].comment = comment.toStdString();
    shownLog_ = outcome.stamp;
    msgMemoList_->refreshRows(row, row);
    msgMemoList_->setCurrentGridCell(row, pairly::memo::kCommentColumn);
    return true;
}

void MemoScreen::loadMemo() {
    const store::MemoText memo = store::loadMemo(ctx_.dataFolder);
    shownMemo_ = memo.stamp;
    txtKizuki_->setPlainText(q(memo.text));
    txtKizuki_->document()->setModified(false);
    if (!memo.failed()) return;
    // Saving what could be read would overwrite the rest of the memo.
    txtKizuki_->setReadOnly(true);
    cmdKizukiHozon_->setEnabled(false);
    if (memo.status == disk::ReadStatus::Unusable) {
        // Named at start-up; the button says why it stays off.
        cmdKizukiHozon_->setToolTip(QStringLiteral(
            "気付きメモ.txt は普通のファイルとして使えないため、保存を止めています"));
        return;
    }
    cmdKizukiHozon_->setToolTip(QStringLiteral(
        "気付きメモ.txt を読み込めなかったため、上書きしないよう保存を止めています"));
    ctx_.dialogs.warn(
        QStringLiteral("気付きメモ.txt を読み込めませんでした。\n"
                       "元の内容を消さないよう、気付きメモは保存できなくしています。\n\n"
                       "ファイルとディスクの状態を確認して、起動し直してください。"),
        QStringLiteral("読み込みエラー"));
}

bool MemoScreen::saveMemo(bool tellSaved) {
    // The box shows what the file will give back, in place of characters the file cannot
    // hold as they are.
    widgets::applyStoredForm(txtKizuki_);
    const std::string text = txtKizuki_->toPlainText().toStdString();
    if (auto bad = store::firstCharWithoutCp932Form(text)) {
        ctx_.dialogs.warn(QStringLiteral("気付きメモの「") + q(*bad) +
                              QStringLiteral("」は保存できない文字です。\n\n"
                                             "別の文字に書き換えてから保存してください。"),
                          QStringLiteral("入力エラー"));
        return false;
    }
    const disk::WriteResult result = store::saveMemo(ctx_.dataFolder, text, shownMemo_);
    if (result.status == disk::WriteStatus::Stale) {
        // The memo another window saved is shown; this one's text waits on the clipboard.
        common::keepOnClipboard(txtKizuki_->toPlainText());
        loadMemo();
        common::warnStale(ctx_, store::kMemoFileName, true);
        return false;
    }
    if (common::tellBlocked(ctx_, result.status, store::kMemoFileName)) return false;
    if (!common::written(ctx_, result.status, store::kMemoFileName)) {
        ctx_.dialogs.warn(QStringLiteral("気付きメモを保存できませんでした。\n") +
                              common::writeFailedAdvice() +
                              QStringLiteral("\n気付きメモ.txt は変更されていません。"),
                          QStringLiteral("保存エラー"));
        return false;
    }
    shownMemo_ = result.stamp;
    txtKizuki_->document()->setModified(false);
    // An unconfirmed write has said so already.
    if (result.status == disk::WriteStatus::Ok && tellSaved)
        ctx_.dialogs.inform(QStringLiteral("気付きメモを保存しました。"),
                            QStringLiteral("保存終了"));
    return true;
}

bool MemoScreen::commentUnsaved() const {
    const int row = selectedCommentRow_;
    if (!cmdMemoHozon_->isEnabled() || row < 1 || row > static_cast<int>(shown_.size()))
        return false;
    return txtMemo_->text().toStdString() != shown_[static_cast<std::size_t>(row - 1)].comment;
}

bool MemoScreen::memoUnsaved() const {
    return !txtKizuki_->isReadOnly() && txtKizuki_->document()->isModified();
}

bool MemoScreen::settleUnsavedText() {
    const auto question =
        pairly::memo::unsavedTextQuestion({memoUnsaved(), commentUnsaved(), correctionUnsaved()});
    if (!question) return true;
    switch (ctx_.dialogs.message(q(*question), QString::fromUtf8(pairly::memo::kUnsavedTextTitle),
                                 widgets::Icon::Question, widgets::Buttons::YesNoCancel)) {
        case widgets::Answer::No:
            return true;
        case widgets::Answer::Yes:
            break;
        default:
            return false;
    }
    // A save that was refused or failed has said why and keeps the window open: a text
    // refused because another window changed the file waits on the clipboard, which
    // would go with the program.
    bool saved = true;
    if (correctionUnsaved()) saved = saveCorrection();
    if (commentUnsaved()) saved = saveComment() && saved;
    if (memoUnsaved()) saved = saveMemo(false) && saved;
    return saved && !correctionUnsaved() && !commentUnsaved() && !memoUnsaved();
}

void MemoScreen::showMemoState(bool modified) {
    widgets::setBackColour(cmdKizukiHozon_, modified ? kUnsaved : QColor());
}

}  // namespace pairly::gui::memo
