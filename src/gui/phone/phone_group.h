#pragma once
// The settings group fraPhone "スマホから入力": the switch, the address in use or why there
// is none, the port, each partner's QR code with the link and a button for a new secret,
// the tray option and the log-in start. It shows what it is told and reports what the user
// does; PhoneService does the work.
#include <QGroupBox>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pairly::gui::widgets {
class ElidedLabel;
}  // namespace pairly::gui::widgets

namespace pairly::gui::phone {

class QrCodeWidget;

class PhoneGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit PhoneGroup(QWidget* parent = nullptr);

    // None of these report back as a user action.
    void showEnabled(bool on);
    void showPort(int port);
    // lblPhoneUrl: the address in use, or in words why the page cannot be reached.
    void showState(const QString& text, bool problem);
    // A partner's name and colour over the QR code of `link` ("" for none yet).
    void showPartner(int slot, const QString& nickname, const QColor& colour, const QString& link);
    void showTray(bool on);
    void showAutostart(bool installed);

    QrCodeWidget* qrCode(int slot) const { return qr_[index(slot)]; }

signals:
    void enabledToggled(bool on);
    void portEntered(const QString& text);
    void newSecretRequested(int slot);
    void trayToggled(bool on);
    void autostartRequested();

private:
    static std::size_t index(int slot) { return slot == 2 ? 1 : 0; }

    QCheckBox* chkPhone_ = nullptr;
    QLineEdit* txtPhonePort_ = nullptr;
    QLabel* lblPhoneUrl_ = nullptr;
    std::array<widgets::ElidedLabel*, 2> name_{};
    std::array<QrCodeWidget*, 2> qr_{};
    std::array<QLabel*, 2> link_{};
    std::array<widgets::ElidedLabel*, 2> linkCaption_{};
    std::array<QPushButton*, 2> renew_{};
    QCheckBox* chkTray_ = nullptr;
    QPushButton* cmdAutostart_ = nullptr;
};

}  // namespace pairly::gui::phone
