#pragma once
// The phone page as the desktop runs it: its settings and secrets (in the user's
// configuration folder), the server while chkPhone is on, the settings group, the tray
// and the log-in start. A weighing saved from a phone is told by weighingSavedFromPhone
// after the session has heard of the change.
#include <QObject>
#include <QString>
#include <QTime>
#include <filesystem>

#include "core/phone/secrets.h"
#include "core/phone/site.h"
#include "gui/common/app_context.h"
#include "gui/phone/phone_server.h"

class QSystemTrayIcon;
class QWidget;

namespace pairly::gui::phone {

class PhoneGroup;

class PhoneService : public QObject {
    Q_OBJECT
public:
    // `window` is what the tray hides and shows again.
    PhoneService(common::AppContext& ctx, QWidget* window, PhoneGroup* group);
    ~PhoneService() override;

    // Listens when chkPhone was left on; called once start-up is done.
    void startIfEnabled();
    // The window is being closed: true when it only goes into the tray (chkTray on and a
    // tray to go to).
    bool hideIntoTray();
    PhoneServer& server() { return *server_; }
    // "http://192.168.1.5:8765/" while listening on a home-network address, else "".
    QString pageAddress() const;
    const pairly::phone::PhoneSettings& settings() const { return settings_; }

signals:
    void weighingSavedFromPhone(int slot, QString nickname, QTime time);
    // 終了 in the tray menu.
    void quitRequested();
    void listeningChanged(bool listening);

private:
    void setEnabled(bool on);
    void portEntered(const QString& text);
    void renewSecret(int slot);
    void setTray(bool on);
    void toggleAutostart();
    void startServer();
    void stopServer();
    void showState();
    void showPartners();
    bool store();
    void showWindow();
    pairly::phone::Response answer(const pairly::phone::Request& request);

    common::AppContext& ctx_;
    QWidget* window_;
    PhoneGroup* group_;
    std::filesystem::path file_;
    std::filesystem::path autostartFile_;
    pairly::phone::PhoneSettings settings_;
    pairly::phone::Site site_;
    PhoneServer* server_ = nullptr;
    PhoneServer::Status status_ = PhoneServer::Status::Off;
    bool noRandom_ = false;
    QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace pairly::gui::phone
