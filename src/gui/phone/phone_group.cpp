#include "gui/phone/phone_group.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/phone/qr_code_widget.h"
#include "gui/widgets/elided_label.h"

namespace pairly::gui::phone {

namespace {
// The widest a partner's name over its QR code grows.
constexpr int kNameWidth = 160;
}  // namespace

PhoneGroup::PhoneGroup(QWidget* parent) : QGroupBox(QStringLiteral("スマホから入力"), parent) {
    setObjectName("fraPhone");
    chkPhone_ = new QCheckBox(QStringLiteral("スマホからの入力を受け付ける"), this);
    chkPhone_->setObjectName("chkPhone");
    chkPhone_->setToolTip(
        QStringLiteral("同じWi-Fiのスマホから、それぞれのQRコードのページで体重を記録できます"));
    auto* portCaption = new QLabel(QStringLiteral("ポート"), this);
    txtPhonePort_ = new QLineEdit(this);
    txtPhonePort_->setObjectName("txtPhonePort");
    txtPhonePort_->setAlignment(Qt::AlignRight);
    txtPhonePort_->setFixedWidth(txtPhonePort_->fontMetrics().horizontalAdvance("0000000") + 12);
    txtPhonePort_->setToolTip(QStringLiteral("入力してEnterキー"));
    portCaption->setBuddy(txtPhonePort_);
    lblPhoneUrl_ = new QLabel(this);
    lblPhoneUrl_->setObjectName("lblPhoneUrl");
    lblPhoneUrl_->setWordWrap(true);
    lblPhoneUrl_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(chkPhone_);
    top->addStretch(1);
    top->addWidget(portCaption);
    top->addWidget(txtPhonePort_);

    auto* codes = new QGridLayout;
    codes->setHorizontalSpacing(10);
    codes->setVerticalSpacing(1);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int slot = 1; slot <= 2; ++slot) {
        const std::size_t i = index(slot);
        const QString n = QString::number(slot);
        // A nickname of any length keeps the group its width.
        name_[i] = new widgets::ElidedLabel(kNameWidth, this);
        name_[i]->setObjectName("lblPhoneName" + n);
        name_[i]->setAlignment(Qt::AlignCenter);
        qr_[i] = new QrCodeWidget(this);
        qr_[i]->setObjectName("imgPhoneQr" + n);
        link_[i] = new QLabel(this);
        link_[i]->setObjectName("lblPhoneLink" + n);
        link_[i]->setFont(small);
        link_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        link_[i]->setTextFormat(Qt::PlainText);
        linkCaption_[i] = new widgets::ElidedLabel(kNameWidth, this);
        linkCaption_[i]->setFont(small);
        renew_[i] = new QPushButton(QStringLiteral("新しいQRコードにする"), this);
        renew_[i]->setObjectName("cmdPhoneNew" + n);
        renew_[i]->setToolTip(QStringLiteral("今のQRコードとリンクは使えなくなります"));
        connect(renew_[i], &QPushButton::clicked, this,
                [this, slot] { emit newSecretRequested(slot); });
        const int column = slot - 1;
        codes->addWidget(name_[i], 0, column);
        codes->addWidget(qr_[i], 1, column, Qt::AlignHCenter);
        codes->addWidget(renew_[i], 2, column);
    }
    chkTray_ = new QCheckBox(QStringLiteral("ウィンドウを閉じてもタスクトレイに常駐する"), this);
    chkTray_->setObjectName("chkTray");
    cmdAutostart_ = new QPushButton(this);
    cmdAutostart_->setObjectName("cmdAutostart");

    auto* box = new QVBoxLayout(this);
    box->setSpacing(2);
    box->addLayout(top);
    box->addWidget(lblPhoneUrl_);
    box->addLayout(codes);
    for (std::size_t i = 0; i < 2; ++i) {
        auto* row = new QHBoxLayout;
        row->addWidget(linkCaption_[i]);
        row->addWidget(link_[i], 1);
        box->addLayout(row);
    }
    box->addWidget(chkTray_);
    box->addWidget(cmdAutostart_, 0, Qt::AlignLeft);

    connect(chkPhone_, &QCheckBox::toggled, this, &PhoneGroup::enabledToggled);
    connect(txtPhonePort_, &QLineEdit::returnPressed, this,
            [this] { emit portEntered(txtPhonePort_->text()); });
    connect(chkTray_, &QCheckBox::toggled, this, &PhoneGroup::trayToggled);
    connect(cmdAutostart_, &QPushButton::clicked, this, &PhoneGroup::autostartRequested);
    showAutostart(false);
}

void PhoneGroup::showEnabled(bool on) {
    const QSignalBlocker block(chkPhone_);
    chkPhone_->setChecked(on);
}

void PhoneGroup::showPort(int port) { txtPhonePort_->setText(QString::number(port)); }

void PhoneGroup::showState(const QString& text, bool problem) {
    lblPhoneUrl_->setText(text);
    lblPhoneUrl_->setStyleSheet(problem ? QStringLiteral("color: rgb(192, 0, 0)") : QString());
}

void PhoneGroup::showPartner(int slot, const QString& nickname, const QColor& colour,
                             const QString& link) {
    const std::size_t i = index(slot);
    name_[i]->setCaption(nickname);
    name_[i]->setStyleSheet(QStringLiteral("color: %1; font-weight: bold").arg(colour.name()));
    qr_[i]->setText(link);
    qr_[i]->setAccessibleName(nickname + QStringLiteral(" のQRコード"));
    link_[i]->setText(link);
    linkCaption_[i]->setCaption(link.isEmpty() ? QString() : nickname + QStringLiteral("："));
    renew_[i]->setEnabled(!link.isEmpty());
}

void PhoneGroup::showTray(bool on) {
    const QSignalBlocker block(chkTray_);
    chkTray_->setChecked(on);
}

void PhoneGroup::showAutostart(bool installed) {
    cmdAutostart_->setText(installed ? QStringLiteral("ログイン時の自動起動をやめる")
                                     : QStringLiteral("ログイン時に自動で起動する"));
    cmdAutostart_->setToolTip(installed ? QStringLiteral("自動起動の登録を取り消します")
                                        : QStringLiteral("ログインすると、このデータフォルダで"
                                                         "ペアリー☆ログが起動するよう登録します"));
}

}  // namespace pairly::gui::phone
