#include "gui/settings/profile_group.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "core/settings/profile_edit.h"
#include "gui/common/write_notice.h"
#include "gui/settings/notice_box.h"
#include "gui/widgets/stored_text.h"

namespace pairly::gui::settings {

ProfileGroup::ProfileGroup(common::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(QStringLiteral("プライベートデータ"), this);
    frame->setObjectName("fraPriData");
    frame->setToolTip(QStringLiteral("プライベートデータ編集枠です"));
    outer->addWidget(frame);

    const struct {
        const char* name;
        const char* label;
        const char* unit;
        const char* note;
    } rows[3] = {{"txtPriData", "名前", "", "※空欄可"},
                 {"txtSincyou", "身長", "ｃｍ", "※半角文字で入力"},
                 {"txtMokuTai", "目標体重", "Ｋｇ", "※半角文字で入力"}};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto* field = new QLineEdit(frame);
        field->setObjectName(rows[i].name);
        field->setMinimumWidth(i == 0 ? 120 : 70);
        if (i > 0) field->setAlignment(Qt::AlignRight);
        fields_[i] = field;
        grid->addWidget(new QLabel(QString::fromUtf8(rows[i].label), frame), i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(rows[i].unit), frame), i, 2);
        grid->addWidget(new QLabel(QString::fromUtf8(rows[i].note), frame), i, 3);
    }
    grid->setColumnStretch(4, 1);
    widgets::keepStoredForm(fields_[0]);  // the nickname as the profile will give it back
    // A nickname of any length is shown and saved back whole, not cut at the field's limit.
    fields_[0]->setMaxLength(std::numeric_limits<int>::max());
    auto* cmdPHozon1 = new QPushButton(QStringLiteral("データ変更"), frame);
    cmdPHozon1->setObjectName("cmdPHozon1");
    connect(cmdPHozon1, &QPushButton::clicked, this, &ProfileGroup::saveProfileEdit);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdPHozon1);
    auto* box = new QVBoxLayout(frame);
    box->addLayout(grid);
    box->addLayout(buttonRow);
}

void ProfileGroup::showProfile() {
    const pairly::settings::ProfileTexts texts = pairly::settings::profileTexts(ctx_.profile());
    fields_[0]->setText(QString::fromStdString(texts.nickname));
    fields_[1]->setText(QString::fromStdString(texts.height));
    fields_[2]->setText(QString::fromStdString(texts.target));
}

void ProfileGroup::saveProfileEdit() {
    const pairly::settings::ProfileTexts texts{fields_[0]->text().toStdString(),
                                               fields_[1]->text().toStdString(),
                                               fields_[2]->text().toStdString()};
    if (auto refusal = pairly::settings::validateProfileEdit(texts)) {
        showNotice(ctx_, *refusal);
        if (refusal->field >= 0) fields_[refusal->field]->setFocus();
        return;
    }
    const store::PartnerProfile profile = pairly::settings::profileFrom(texts);
    const std::string file = store::profileFileName(ctx_.currentSlot);
    const disk::WriteResult result = store::saveProfile(ctx_.dataFolder, ctx_.currentSlot, profile,
                                                        ctx_.profileStampOf(ctx_.currentSlot));
    if (result.status == disk::WriteStatus::Stale) {
        // Another window saved this profile: it is the one in force now.
        const store::LoadedProfile loaded = store::readProfile(ctx_.dataFolder, ctx_.currentSlot);
        ctx_.setProfile(ctx_.currentSlot, loaded.profile);
        ctx_.setProfileStamp(ctx_.currentSlot, loaded.stamp);
        showProfile();
        common::warnStale(ctx_, file);
        return;
    }
    if (common::tellBlocked(ctx_, result.status, file)) return;
    if (!result.written()) {
        ctx_.dialogs.warn(QStringLiteral("プライベートデータを保存できませんでした。\n"
                                         "ファイルは変更されていません。\n") +
                              common::writeFailedAdvice(),
                          QStringLiteral("保存エラー"));
        return;
    }
    // From here on every screen shows the new values, the button caption included.
    ctx_.setProfileStamp(ctx_.currentSlot, result.stamp);
    ctx_.setProfile(ctx_.currentSlot, profile);
    if (result.status == disk::WriteStatus::Ok)
        ctx_.dialogs.inform(QStringLiteral("保存が終了しました"), QStringLiteral("保存終了"));
    else
        common::written(ctx_, result.status, file);  // saved, but the disk did not confirm it
}

}  // namespace pairly::gui::settings
