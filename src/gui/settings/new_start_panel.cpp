#include "gui/settings/new_start_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/settings/notice_box.h"
#include "gui/widgets/stored_text.h"

namespace pairly::gui::settings {

namespace {

const struct {
    const char* name;
    const char* label;
    const char* unit;
} kFields[pairly::settings::kNewStartFieldCount] = {
    {"txtPriData1", "名前", ""},
    {"txtSincyou1", "身長", "ｃｍ"},
    {"txtMokuTai1", "目標体重", "Ｋｇ"},
    {"txtNowTai", "現体重", "Ｋｇ"},
    {"txtNowShi", "現体脂肪率", "％"},
    {"txtNowTaisya", "現基礎代謝量", "Kcal/日"},
    {"txtNowNaizo", "現内臓脂肪レベル", ""},
    {"txtNowKinr", "現筋肉量", "Ｋｇ"},
    {"txtNowKins", "現筋肉スコア", ""},
    {"txtNowKotu", "現骨量", "Ｋｇ"},
    {"txtNowJyou", "初期状況", ""},
};

const char kOpeningText[] =
    "新規にペアリーログをスタートさせます。\n\n"
    "一人目のの名前（ニックネーム）を入力してください。（※必須です）\n\n"
    "身長と目標体重を半角文字で入力してください。（※必須です）\n\n"
    "現在（スタート時）の体重を入力してください。（※必須です）\n\n"
    "現在（スタート時）の体脂肪率を入力してください。（※必須です）\n\n"
    "同様にその他のデータを入力してください。（※必須です）\n\n"
    "初期の状況として記録したい言葉を入力してください。\n"
    "デフォルトでは「はじめの一歩」と入れていますが自由に変更できます。（※必須です）\n\n"
    "入力し準備ができたら新規登録ボタンを押してください。二人目の登録に移ります。\n";
const char kSecondText[] =
    "二人目の名前（ニックネーム）を入力してください。\n\n"
    "同様に身長と目標体重、体重、その他のデータを入力してください。\n\n"
    "入力し準備ができたら新規登録ボタンを押してください。\n";
const char kFinalText[] =
    "登録が終了しました。\n\n"
    "一旦プログラムを終了させていただきます。次の起動からペアリーログのスタートです！";

}  // namespace

NewStartPanel::NewStartPanel(common::AppContext& ctx, QWidget* parent) : QFrame(parent), ctx_(ctx) {
    setObjectName("fraNew");
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);  // the screen under it does not show through

    auto* title = new QLabel(QStringLiteral("新規スタート登録枠"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* note = new QLabel(QStringLiteral("※データは半角文字で入力"), this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    for (int i = 0; i < pairly::settings::kNewStartFieldCount; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(kFields[i].name);
        const bool isText =
            i == pairly::settings::kNickname || i == pairly::settings::kStartSituation;
        if (isText) {
            field->setMinimumWidth(200);
        } else {
            field->setFixedWidth(110);
            field->setAlignment(Qt::AlignRight);
        }
        field->installEventFilter(this);
        fields_[i] = field;
        grid->addWidget(new QLabel(QString::fromUtf8(kFields[i].label), this), i, 0);
        grid->addWidget(field, i, 1, 1, isText ? 2 : 1);
        if (!isText) grid->addWidget(new QLabel(QString::fromUtf8(kFields[i].unit), this), i, 2);
    }
    grid->setColumnStretch(2, 1);
    fields_[pairly::settings::kStartSituation]->setText(
        QString::fromUtf8(pairly::settings::kDefaultStartSituation));
    // The nickname and the start situation as the profile and the log will give them back.
    widgets::keepStoredForm(fields_[pairly::settings::kNickname]);
    widgets::keepStoredForm(fields_[pairly::settings::kStartSituation]);

    cmdStHozon_ = new QPushButton(QStringLiteral("新規登録"), this);
    cmdStHozon_->setObjectName("cmdStHozon");
    cmdStHozon_->setAutoDefault(true);  // Enter on the focused button enters the partner
    auto* cmdYame = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdYame->setObjectName("cmdYame");
    connect(cmdStHozon_, &QPushButton::clicked, this, &NewStartPanel::enterPartner);
    connect(cmdYame, &QPushButton::clicked, this, &NewStartPanel::cancelNewStart);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdStHozon_);
    buttons->addWidget(cmdYame);

    auto* box = new QVBoxLayout(this);
    box->addWidget(title);
    box->addWidget(note);
    box->addLayout(grid);
    box->addLayout(buttons);
    hide();
}

bool NewStartPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int i = 0; i < pairly::settings::kNewStartFieldCount; ++i) {
                if (watched != fields_[i]) continue;
                if (i + 1 < pairly::settings::kNewStartFieldCount)
                    fields_[i + 1]->setFocus();
                else
                    cmdStHozon_->setFocus();
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void NewStartPanel::clearFields() {
    for (int i = 0; i < pairly::settings::kStartSituation; ++i) fields_[i]->clear();
}

pairly::settings::NewStartTexts NewStartPanel::texts() const {
    pairly::settings::NewStartTexts t;
    for (int i = 0; i < pairly::settings::kNewStartFieldCount; ++i)
        t[i] = fields_[i]->text().toStdString();
    return t;
}

void NewStartPanel::openNewStart() {
    enteringSlot_ = 1;
    clearFields();
    show();
    raise();
    ctx_.dialogs.inform(QString::fromUtf8(kOpeningText), QStringLiteral("データを登録しましょう"));
    fields_[pairly::settings::kNickname]->setFocus();
}

void NewStartPanel::enterPartner() {
    const pairly::settings::NewStartTexts t = texts();
    if (auto refusal = pairly::settings::validateNewStart(t)) {
        showNotice(ctx_, *refusal);
        if (refusal->field >= 0) fields_[refusal->field]->setFocus();
        return;
    }
    if (ctx_.dialogs.message(QStringLiteral("入力した内容でデータを作ります。よろしいですか？"),
                             QStringLiteral("クリア確認"), widgets::Icon::Warning,
                             widgets::Buttons::OkCancel) != widgets::Answer::Ok)
        return;

    const text::Date today = ctx_.clock.today();
    const int seconds = ctx_.clock.secondsSinceMidnight();
    const pairly::settings::NewStartPlan plan =
        pairly::settings::planNewStart(t, text::formatDate(today));
    const int slot = enteringSlot_;
    const pairly::settings::NewStartStatus status =
        writeNewStart(ctx_.dataFolder, slot, plan, today, seconds);
    const bool written = status == pairly::settings::NewStartStatus::Written ||
                         status == pairly::settings::NewStartStatus::WrittenUnsynced;
    if (status != pairly::settings::NewStartStatus::Written)
        showNotice(ctx_, pairly::settings::newStartFailure(status, slot));
    if (!written) return;
    ctx_.noteDataChanged(slot);
    ctx_.setProfile(slot, plan.profile);
    // Chosen once its files are new: the screens refresh for the new partner.
    ctx_.session.selectPartner(slot);
    emit partnerEntered(slot);

    if (slot == 1) {
        enteringSlot_ = 2;
        clearFields();  // partner 1's start situation is offered again
        ctx_.dialogs.inform(QString::fromUtf8(kSecondText),
                            QStringLiteral("データを登録しましょう"));
        fields_[pairly::settings::kNickname]->setFocus();
        return;
    }
    ctx_.dialogs.inform(QString::fromUtf8(kFinalText), QStringLiteral("新規登録終了"));
    hide();
    emit newStartFinished();
}

void NewStartPanel::cancelNewStart() { hide(); }

}  // namespace pairly::gui::settings
