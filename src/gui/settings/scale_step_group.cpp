#include "gui/settings/scale_step_group.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/disk/fields.h"
#include "core/entry/entry_logic.h"
#include "core/text/numbers.h"
#include "gui/common/write_notice.h"

namespace pairly::gui::settings {

namespace {
const char* const kStepTexts[3] = {"0.1", "0.2", "0.5"};
}

ScaleStepGroup::ScaleStepGroup(common::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(buildGroup(Weight));
    box->addWidget(buildGroup(BodyFat));
}

QWidget* ScaleStepGroup::buildGroup(Kind kind) {
    const bool weight = kind == Weight;
    auto* group =
        new QGroupBox(weight ? QStringLiteral("体重入力 刻み指定　（体重計の刻み）")
                             : QStringLiteral("体脂肪率入力 刻み指定　（体脂肪率計の刻み）"),
                      this);
    auto* row = new QHBoxLayout(group);
    const QString prefix = weight ? "optKizami_" : "optKizami1_";
    const QString unit = weight ? QStringLiteral(" Ｋｇ") : QStringLiteral(" ％");
    const QString captions[3] = {QStringLiteral("０．１"), QStringLiteral("０．２"),
                                 QStringLiteral("０．５")};
    auto* exclusive = new QButtonGroup(group);
    groups_[kind] = exclusive;
    for (int i = 0; i < 3; ++i) {
        auto* opt = new QRadioButton(captions[i] + unit, group);
        opt->setObjectName(prefix + QString::number(i + 1));
        exclusive->addButton(opt, i + 1);
        options_[kind][i] = opt;
        row->addWidget(opt);
        connect(opt, &QRadioButton::toggled, this, [this, kind, i](bool on) {
            if (on) optionChosen(kind, i);
        });
    }
    auto* field = new QLineEdit(group);
    field->setObjectName(weight ? "txtKizami" : "txtKizami2");
    field->setMaximumWidth(70);
    freeField_[kind] = field;
    connect(field, &QLineEdit::returnPressed, this, [this, kind] { freeStepEntered(kind); });
    row->addSpacing(8);
    row->addWidget(field);
    row->addWidget(new QLabel(QStringLiteral("入力してEnterキー"), group));
    row->addStretch(1);
    return group;
}

void ScaleStepGroup::showSteps() {
    showing_ = true;
    const std::string texts[2] = {ctx_.steps.weightStep, ctx_.steps.bodyFatStep};
    for (int k = 0; k < 2; ++k) {
        int match = -1;
        for (int i = 0; i < 3 && match < 0; ++i)
            if (texts[k] == kStepTexts[i]) match = i;
        if (match >= 0) {
            options_[k][match]->setChecked(true);
        } else {
            // An unmatched step text clears all three.
            groups_[k]->setExclusive(false);
            for (QRadioButton* o : options_[k]) o->setChecked(false);
            groups_[k]->setExclusive(true);
        }
        if (match < 0) freeField_[k]->setText(QString::fromStdString(texts[k]));
    }
    showing_ = false;
}

void ScaleStepGroup::optionChosen(Kind kind, int option) {
    if (showing_ || ctx_.startupInProgress) return;
    storeStep(kind, kStepTexts[option]);
}

void ScaleStepGroup::freeStepEntered(Kind kind) {
    QLineEdit* field = freeField_[kind];
    const std::string text = field->text().toStdString();
    // A step that is not a positive number would make ↑/↓ do nothing or run backwards.
    if (auto refusal = pairly::entry::checkTypedNumber(text, "刻み", disk::NumberKind::Step)) {
        ctx_.dialogs.warn(QString::fromStdString(refusal->text),
                          QString::fromStdString(refusal->title));
        field->setFocus();
        field->selectAll();
        return;
    }
    // Kept as plain number text, so that " ０．２" selects the 0.2 option like "0.2".
    storeStep(kind, text::doubleText(disk::readTypedNumber(text, disk::NumberKind::Step).value));
}

void ScaleStepGroup::storeStep(Kind kind, const std::string& step) {
    const store::ScaleStepUpdate update = store::updateScaleStep(
        ctx_.dataFolder,
        kind == Weight ? store::ScaleStepKind::Weight : store::ScaleStepKind::BodyFat, step,
        ctx_.stepsStamp);
    if (update.status == disk::WriteStatus::ReadFailed) {
        ctx_.dialogs.warn(
            QStringLiteral("体重計刻み.txt を読み込めなかったため、保存を中止しました。"
                           "\n\nファイルは変更されていません。"),
            QStringLiteral("保存エラー"));
        showSteps();
        return;
    }
    // The file is the setting in force, also when the write failed or another window
    // changed it.
    ctx_.steps = update.steps;
    ctx_.stepsStamp = update.stamp;
    if (update.status == disk::WriteStatus::Stale) {
        showSteps();
        common::warnStale(ctx_, "体重計刻み.txt");
        return;
    }
    if (common::tellBlocked(ctx_, update.status, "体重計刻み.txt")) {
        showSteps();
        return;
    }
    if (!common::written(ctx_, update.status, "体重計刻み.txt")) {
        ctx_.dialogs.warn(QStringLiteral("体重計刻みの設定を保存できませんでした。"),
                          QStringLiteral("保存エラー"));
        showSteps();  // the options show the setting that is still in force
        return;
    }
    // A typed step that is one of the options selects it; any other clears them, so that
    // choosing an option afterwards always takes effect.
    showSteps();
}

}  // namespace pairly::gui::settings
