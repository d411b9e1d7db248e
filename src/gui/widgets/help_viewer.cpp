#include "gui/widgets/help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The resource lives in a static library, so it has to be registered by hand.
static void registerHelpResource() {
    static const bool done = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)done;
}

namespace pairly::gui::widgets {

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
    registerHelpResource();
    setObjectName("frmHelp");
    setWindowTitle(QStringLiteral("ペアリー☆ログ ヘルプ"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    browser_->setOpenExternalLinks(false);

    auto* back = new QPushButton(QStringLiteral("戻る"), this);
    back->setObjectName("cmdHelpBack");
    auto* home = new QPushButton(QStringLiteral("目次"), this);
    home->setObjectName("cmdHelpHome");
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName("cmdHelpClose");
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, this, &HelpViewer::showDefaultTopic);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(home);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    resize(760, 680);
    showDefaultTopic();
}

void HelpViewer::showDefaultTopic() {
    browser_->setSource(QUrl(QString::fromLatin1(kDocument)));
    browser_->scrollToAnchor(QStringLiteral("top"));
}

}  // namespace pairly::gui::widgets
