#include "gui/phone/phone_service.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstdlib>

#include "core/phone/autostart.h"
#include "core/store/partner_profile.h"
#include "gui/common/partner_colour.h"
#include "gui/phone/net_addresses.h"
#include "gui/phone/phone_group.h"
#include "gui/widgets/icons.h"
#include "gui/widgets/text.h"

namespace pairly::gui::phone {

namespace core = pairly::phone;

namespace {

using widgets::q;

base::Rgb rgbOf(const QColor& c) { return {c.red(), c.green(), c.blue()}; }

}  // namespace

PhoneService::PhoneService(common::AppContext& ctx, QWidget* window, PhoneGroup* group)
    : QObject(window), ctx_(ctx), window_(window), group_(group) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path config = core::configFolder(xdg, home);
    if (!config.empty()) file_ = core::settingsFile(config, ctx_.dataFolder);
    const std::filesystem::path autostart = core::autostartFolder(xdg, home);
    if (!autostart.empty()) autostartFile_ = core::autostartFile(autostart, ctx_.dataFolder);
    // Only read here: nothing is written until the user switches something on.
    if (!file_.empty()) settings_ = core::loadSettings(file_, ctx_.dataFolder).settings;
    site_.setSecrets(settings_.secrets);

    server_ = new PhoneServer([this](const core::Request& r) { return answer(r); },
                              [this](const core::Request& r) { return site_.mayWrite(r); }, this);

    group_->showEnabled(settings_.enabled);
    group_->showPort(settings_.port);
    group_->showTray(settings_.tray);
    std::error_code ec;
    group_->showAutostart(!autostartFile_.empty() && std::filesystem::exists(autostartFile_, ec));
    connect(group_, &PhoneGroup::enabledToggled, this, &PhoneService::setEnabled);
    connect(group_, &PhoneGroup::portEntered, this, &PhoneService::portEntered);
    connect(group_, &PhoneGroup::newSecretRequested, this, &PhoneService::renewSecret);
    connect(group_, &PhoneGroup::trayToggled, this, &PhoneService::setTray);
    connect(group_, &PhoneGroup::autostartRequested, this, &PhoneService::toggleAutostart);
    // The captions over the QR codes follow the nicknames.
    ctx_.session.subscribe([this](const session::Event& e) {
        if (e.what == session::Change::Profile) showPartners();
    });
    showState();
}

PhoneService::~PhoneService() { server_->stop(); }

void PhoneService::startIfEnabled() {
    if (settings_.enabled) startServer();
}

bool PhoneService::store() {
    if (!file_.empty() && core::saveSettings(file_, settings_, ctx_.dataFolder)) return true;
    ctx_.dialogs.warn(QStringLiteral("スマホから入力の設定を保存できませんでした。\n"
                                     "ホームフォルダの .config に書き込めるか確認してください。"),
                      QStringLiteral("保存エラー"));
    return false;
}

void PhoneService::setEnabled(bool on) {
    core::PhoneSettings changed = settings_;
    changed.enabled = on;
    noRandom_ = on && !core::ensureSecrets(changed);
    if (noRandom_) {
        group_->showEnabled(false);
        showState();
        return;
    }
    const core::PhoneSettings before = settings_;
    settings_ = changed;
    if (!store()) {
        settings_ = before;
        group_->showEnabled(settings_.enabled);
        return;
    }
    site_.setSecrets(settings_.secrets);
    if (on)
        startServer();
    else
        stopServer();
}

void PhoneService::portEntered(const QString& text) {
    const auto port = core::typedPort(text.toStdString());
    if (!port) {
        ctx_.dialogs.warn(QString::fromUtf8(core::kPortRefusal),
                          QString::fromUtf8(core::kPortRefusalTitle));
        group_->showPort(settings_.port);
        return;
    }
    group_->showPort(*port);
    if (*port == settings_.port &&
        (status_ == PhoneServer::Status::Listening || !settings_.enabled))
        return;
    const int before = settings_.port;
    settings_.port = *port;
    if (!store()) {
        settings_.port = before;
        group_->showPort(before);
        return;
    }
    if (settings_.enabled) startServer();
    showState();
}

void PhoneService::renewSecret(int slot) {
    core::PhoneSettings changed = settings_;
    if (!core::renewSecret(changed, slot)) return;
    const core::PhoneSettings before = settings_;
    settings_ = changed;
    if (!store()) {
        settings_ = before;
        return;
    }
    // The old link stops working at once.
    site_.setSecrets(settings_.secrets);
    showPartners();
}

void PhoneService::setTray(bool on) {
    const bool before = settings_.tray;
    settings_.tray = on;
    if (!store()) {
        settings_.tray = before;
        group_->showTray(before);
    }
}

void PhoneService::toggleAutostart() {
    if (autostartFile_.empty()) return;
    std::error_code ec;
    if (std::filesystem::exists(autostartFile_, ec)) {
        if (!std::filesystem::remove(autostartFile_, ec))
            ctx_.dialogs.warn(QStringLiteral("自動起動の登録を取り消せませんでした。"),
                              QStringLiteral("自動起動"));
    } else {
        const auto entry = core::autostartEntry(
            QCoreApplication::applicationFilePath().toStdString(), ctx_.dataFolder);
        if (!entry || !core::writePrivateFile(autostartFile_, *entry, 0644))
            ctx_.dialogs.warn(
                QStringLiteral("自動起動を登録できませんでした。\n"
                               "ホームフォルダの .config に書き込めるか確認してください。"),
                QStringLiteral("自動起動"));
    }
    group_->showAutostart(std::filesystem::exists(autostartFile_, ec));
}

void PhoneService::startServer() {
    status_ = server_->start(listeningAddresses(), settings_.port);
    showState();
    emit listeningChanged(server_->listening());
}

void PhoneService::stopServer() {
    server_->stop();
    status_ = PhoneServer::Status::Off;
    showState();
    emit listeningChanged(false);
}

QString PhoneService::pageAddress() const {
    if (!server_->listening()) return {};
    const auto link = core::linkAddress(server_->addresses());
    if (!link) return {};
    return q("http://" + core::urlHost(*link) + ":" + std::to_string(settings_.port) + "/");
}

void PhoneService::showState() {
    const QString port = QString::number(settings_.port);
    if (noRandom_) {
        group_->showState(QStringLiteral("安全な合言葉を作れなかったため、受付を始められません。"),
                          true);
    } else if (status_ == PhoneServer::Status::PortInUse) {
        group_->showState(QStringLiteral("ポート %1 は他のプログラムが使っています。"
                                         "別の番号を入れてEnterキーを押してください。")
                              .arg(port),
                          true);
    } else if (status_ == PhoneServer::Status::Failed) {
        group_->showState(QStringLiteral("受付を始められませんでした。"), true);
    } else if (status_ == PhoneServer::Status::Listening && pageAddress().isEmpty()) {
        group_->showState(QStringLiteral("ネットワークのアドレスが見つかりません。パソコンを"
                                         "家のWi-Fiにつないでから、受付を入れ直してください。"),
                          true);
    } else if (status_ == PhoneServer::Status::Listening) {
        group_->showState(QStringLiteral("受付中：") + pageAddress(), false);
    } else {
        group_->showState(QStringLiteral("受付は止まっています。"), false);
    }
    showPartners();
}

void PhoneService::showPartners() {
    const QString address = pageAddress();
    for (int slot = 1; slot <= 2; ++slot) {
        const std::string& secret = settings_.secrets[static_cast<std::size_t>(slot - 1)];
        const QString link =
            address.isEmpty() || !core::isSecret(secret) ? QString() : address + q(secret);
        group_->showPartner(slot, q(store::partnerCaption(ctx_.profileOf(slot), slot)),
                            common::partnerColour(slot), link);
    }
}

core::Response PhoneService::answer(const core::Request& request) {
    core::SiteContext c;
    c.folder = ctx_.dataFolder;
    c.today = ctx_.clock.today();
    c.secondsNow = ctx_.clock.secondsSinceMidnight();
    c.nowMs = ctx_.clock.monotonicMs();
    c.steps = ctx_.steps;
    c.autoTime = ctx_.session.preferences().autoTime;
    c.colours = {rgbOf(common::partnerColour(1)), rgbOf(common::partnerColour(2))};
    c.ownAddresses = server_->addresses();
    c.port = settings_.port;
    core::Answer a = site_.handle(request, c);
    if (a.saved) {
        ctx_.noteDataChanged(a.saved->slot);
        const int s = a.saved->secondsNow;
        emit weighingSavedFromPhone(a.saved->slot, q(a.saved->nickname),
                                    QTime(s / 3600 % 24, s / 60 % 60, s % 60));
    }
    return a.response;
}

bool PhoneService::hideIntoTray() {
    if (!settings_.tray || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
    if (!tray_) {
        tray_ = new QSystemTrayIcon(this);
        QIcon icon = QApplication::windowIcon();
        tray_->setIcon(icon.isNull() ? widgets::icon(widgets::Picture::LaughingFace) : icon);
        tray_->setToolTip(QStringLiteral("ペアリー☆ログ"));
        auto* menu = new QMenu(window_);
        connect(menu->addAction(QStringLiteral("開く")), &QAction::triggered, this,
                &PhoneService::showWindow);
        connect(menu->addAction(QStringLiteral("終了")), &QAction::triggered, this,
                &PhoneService::quitRequested);
        tray_->setContextMenu(menu);
        connect(tray_, &QSystemTrayIcon::activated, this, [this](auto reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                showWindow();
        });
    }
    tray_->show();
    window_->hide();
    return true;
}

void PhoneService::showWindow() {
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    if (tray_) tray_->hide();
}

}  // namespace pairly::gui::phone
