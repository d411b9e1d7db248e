#include "gui/shell/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/calendar/calendar_screen.h"
#include "gui/common/situation_list.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/entry/input_screen.h"
#include "gui/list/measurement_list_screen.h"
#include "gui/memo/memo_screen.h"
#include "gui/phone/phone_service.h"
#include "gui/printing/print_controller.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/splash_window.h"
#include "gui/trend/analysis_screen.h"
#include "gui/trend/trend_screen.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/choice_button.h"
#include "gui/widgets/elided_button.h"
#include "gui/widgets/help_viewer.h"
#include "gui/widgets/push_button.h"

namespace pairly::gui::shell {

namespace {

// The selected partner button's background.
const QColor kSelectedPartnerColour(255, 255, 240);

// Room for the caption is enough (the style would ask for more): the row has to fit the
// window's width.
constexpr int kCaptionMargin = 18;

QPushButton* shapeButton(QPushButton* button, const char* name, const QString& caption) {
    button->setObjectName(name);
    button->setAutoDefault(false);
    widgets::fitToCaption(button, caption, kCaptionMargin);
    return button;
}

// A key that presses `button` anywhere in the window; a disabled button stays unpressed.
void bindKey(const QKeySequence& keys, QPushButton* button, QWidget* window) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) button->click();
    });
}

// The widest a partner button's caption grows: a longer nickname is elided to the room the
// button has, whole in the tooltip, so that the top row keeps its places.
constexpr int kPartnerCaptionWidth = 120;

}  // namespace

MainWindow::MainWindow(std::filesystem::path dataFolder, widgets::Dialogs& dialogs,
                       widgets::Clock& clock, QWidget* parent)
    : QMainWindow(parent), ctx_(std::move(dataFolder), dialogs, clock) {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral(" ペアリー☆ログ"));
    ctx_.focusActivePartnerButton = [this] { partnerButton(ctx_.currentSlot)->setFocus(); };
    buildWindow();
    ctx_.session.subscribe([this](const session::Event& event) { sessionChanged(event); });
}

MainWindow::~MainWindow() {
    // The screens and the phone service refer to ctx_, which goes with this object's
    // members: they go first, in whatever order Qt takes them.
    delete phone_;
    delete takeCentralWidget();
}

// ---------------------------------------------------------------------------------------
// Layout

void MainWindow::buildWindow() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    // The screens' parent until the stack takes them: whatever fails on the way, Qt
    // deletes them with the window.
    stack_ = new QStackedWidget(central);
    stack_->setObjectName("screenArea");
    situations_ = new common::SituationList(ctx_, this);
    inputScreen_ = new entry::InputScreen(ctx_, *situations_, stack_);
    settingsScreen_ = new settings::SettingsScreen(ctx_, *situations_, stack_);
    connect(settingsScreen_, &settings::SettingsScreen::dataFilesReplaced, this,
            &MainWindow::reloadDataFiles);
    phone_ = new gui::phone::PhoneService(ctx_, this, settingsScreen_->phoneGroup());
    connect(phone_, &gui::phone::PhoneService::weighingSavedFromPhone, this,
            [this](int, const QString& nickname, const QTime& time) {
                followPhoneSave(nickname, time);
            });
    connect(phone_, &gui::phone::PhoneService::quitRequested, this, &MainWindow::quitProgram);
    comparisonScreen_ = new comparison::ComparisonScreen(ctx_, stack_);
    trendScreen_ = new trend::TrendScreen(ctx_, stack_);
    analysisScreen_ = new trend::AnalysisScreen(ctx_, stack_);
    memoScreen_ = new memo::MemoScreen(ctx_, stack_);
    printing_ = new printing::PrintController(ctx_, *this, this);
    comparisonScreen_->setReportPrinter([this](const QString& question, const QString& kind,
                                               widgets::PageOrientation orientation,
                                               const widgets::PageDrawer& draw) {
        printing_->printAfterQuestion(question, kind, orientation, draw);
    });

    column->addWidget(buildTopRow());

    // The stack is as large as its largest screen: the window is sized for it once, and
    // never widens itself when another screen is shown.
    addScreens();
    column->addWidget(stack_, 1);

    setCentralWidget(central);
    hideAllScreens();

    connect(settingsScreen_, &settings::SettingsScreen::partnerEntered, this,
            &MainWindow::newStartEntered);
    // The next launch starts from the new diary.
    connect(settingsScreen_, &settings::SettingsScreen::newStartFinished, this,
            &MainWindow::quitProgram);

    QSize size(1280, 800);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
}

void MainWindow::addScreens() {
    auto* list = new list::MeasurementListScreen(ctx_, *situations_, stack_);
    auto* calendar = new calendar::CalendarScreen(ctx_, stack_);
    // A double click on a day opens the input screen on that date.
    connect(calendar, &calendar::CalendarScreen::inputDateRequested, this,
            [this](const text::Date& day) {
                const session::Session::Refresh refresh(ctx_.session);
                inputScreen_->showDay(day);
                hideAllScreens();
                showScreen(pairly::shell::Screen::Input);
            });
    using pairly::shell::Screen;
    screens_[index(Screen::Input)] = inputScreen_;
    screens_[index(Screen::List)] = list;
    screens_[index(Screen::Comparison)] = comparisonScreen_;
    screens_[index(Screen::Analysis)] = analysisScreen_;
    screens_[index(Screen::Calendar)] = calendar;
    screens_[index(Screen::Memo)] = memoScreen_;
    screens_[index(Screen::Trend)] = trendScreen_;
    screens_[index(Screen::Settings)] = settingsScreen_;
    for (common::Screen* screen : screens_) stack_->addWidget(screen);
}

QWidget* MainWindow::buildTopRow() {
    auto* row = new QWidget(this);
    row->setObjectName("topRow");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    // Exactly one partner is selected, shown by its button's colour.
    partnerButtons_ = new QButtonGroup(this);
    partnerButtons_->setExclusive(true);
    cmdUser1_ = new widgets::ElidedButton(kPartnerCaptionWidth, row);
    cmdUser2_ = new widgets::ElidedButton(kPartnerCaptionWidth, row);
    for (int slot = 1; slot <= 2; ++slot) {
        QPushButton* button = partnerButton(slot);
        button->setObjectName(slot == 1 ? "cmdUser1" : "cmdUser2");
        button->setAutoDefault(false);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->setMinimumWidth(84);
        partnerButtons_->addButton(button, slot);
        layout->addWidget(button);
        layout->addWidget(inputScreen_->dayCountWidget(slot));
    }
    connect(partnerButtons_, &QButtonGroup::idClicked, this, &MainWindow::selectPartner);
    layout->addSpacing(6);
    layout->addWidget(buildWhoLabel(row));

    static const struct {
        pairly::shell::Screen screen;
        const char* name;
        const char* caption;
    } kMenu[] = {
        {pairly::shell::Screen::Input, "cmdMain", "入力"},
        {pairly::shell::Screen::List, "cmdTaijyu", "範囲指定"},
        {pairly::shell::Screen::Comparison, "cmdAvgtai", "比較"},
        {pairly::shell::Screen::Analysis, "cmdBunseki", "分析リスト"},
        {pairly::shell::Screen::Calendar, "cmdCale", "カレンダー"},
        {pairly::shell::Screen::Memo, "cmdMemo", "一言日記"},
        {pairly::shell::Screen::Trend, "cmdRentai", "全グラフ"},
        {pairly::shell::Screen::Settings, "cmdSettei", "編集"},
    };
    // At most one screen is shown; its button is the checked one.
    menuButtons_ = new QButtonGroup(this);
    menuButtons_->setExclusive(true);
    for (const auto& item : kMenu) {
        const QString caption = QString::fromUtf8(item.caption);
        QPushButton* button =
            shapeButton(new widgets::ChoiceButton(caption, row), item.name, caption);
        menuButtons_->addButton(button, index(item.screen));
        layout->addWidget(button);
        const int number = static_cast<int>(&item - kMenu) + 1;
        const QKeySequence keys(QStringLiteral("Ctrl+%1").arg(number));
        button->setToolTip(caption + QStringLiteral("（Ctrl+%1）").arg(number));
        bindKey(keys, button, this);
    }
    connect(menuButtons_, &QButtonGroup::idClicked, this,
            [this](int id) { switchToScreen(static_cast<pairly::shell::Screen>(id)); });
    layout->addStretch(1);

    chkHelp_ = new QCheckBox(QStringLiteral("ヘルプツアー"), row);
    chkHelp_->setObjectName("chkHelp");
    chkHelp_->setToolTip(QString::fromUtf8(pairly::shell::kHelpTourToolTip));
    connect(chkHelp_, &QCheckBox::toggled, this, &MainWindow::onHelpTourToggled);
    layout->addWidget(chkHelp_);

    QPushButton* cmdHelp =
        widgets::makeFittedButton("cmdHelp", QStringLiteral("ヘルプ"), row, kCaptionMargin);
    cmdHelp->setToolTip(QStringLiteral("使い方の説明を開きます（F1）"));
    bindKey(QKeySequence(Qt::Key_F1), cmdHelp, this);
    connect(cmdHelp, &QPushButton::clicked, this, &MainWindow::openHelp);
    layout->addWidget(cmdHelp);

    QPushButton* cmdPrint =
        widgets::makeFittedButton("cmdPrint", QStringLiteral("画面印刷"), row, kCaptionMargin);
    cmdPrint->setToolTip(QStringLiteral("表示中の画面を印刷します（Ctrl+P）"));
    bindKey(QKeySequence(QStringLiteral("Ctrl+P")), cmdPrint, this);
    connect(cmdPrint, &QPushButton::clicked, printing_, &printing::PrintController::printScreen);
    layout->addWidget(cmdPrint);
    QPushButton* cmdPrint1 =
        widgets::makeFittedButton("cmdPrint1", QStringLiteral("用紙印刷"), row, kCaptionMargin);
    cmdPrint1->setToolTip(QStringLiteral("手書き用の体重記録用紙を印刷します"));
    connect(cmdPrint1, &QPushButton::clicked, printing_,
            &printing::PrintController::printRecordSheet);
    layout->addWidget(cmdPrint1);

    QPushButton* cmdOwari =
        widgets::makeFittedButton("cmdOwari", QStringLiteral("終了"), row, kCaptionMargin);
    connect(cmdOwari, &QPushButton::clicked, this, &MainWindow::quitProgram);
    layout->addWidget(cmdOwari);
    return row;
}

// ---------------------------------------------------------------------------------------
// Partner selection

void MainWindow::sessionChanged(const session::Event& event) {
    switch (event.what) {
        case session::Change::Partner:
            setPartnerButtonSelected(event.slot);
            showPartnerProfile(event.slot);
            break;
        case session::Change::Profile:
            for (int slot = 1; slot <= 2; ++slot)
                if (event.slot == 0 || event.slot == slot) showPartnerProfile(slot);
            break;
        case session::Change::Log:
            break;
    }
}

void MainWindow::setPartnerButtonSelected(int slot) {
    partnerButton(slot)->setChecked(true);
    widgets::setBackColour(partnerButton(slot), kSelectedPartnerColour);
    QPushButton* other = partnerButton(3 - slot);
    widgets::setBackColour(other, QColor());  // back to the button face
    markSelectedPartner(slot);
}

void MainWindow::selectPartner(int slot) {
    if (slot != 1 && slot != 2) return;
    if (slot == ctx_.currentSlot) return;
    const session::Session::Refresh refresh(ctx_.session);
    // The profile as its file holds it now, before the screen shown refreshes for the
    // partner (it listens to the session).
    loadPartnerProfile(slot);
    ctx_.session.selectPartner(slot);
}

// The new start has replaced this partner's files and made it the selected one.
void MainWindow::newStartEntered(int slot) {
    const session::Session::Refresh refresh(ctx_.session);
    loadPartnerProfile(slot);
    setPartnerButtonSelected(slot);
    refreshVisibleScreen();
}

void MainWindow::refreshVisibleScreen() {
    pairly::shell::Screen shown;
    if (!visibleScreen(&shown)) return;
    const session::Session::Refresh refresh(ctx_.session);
    hideAllScreens();
    screens_[index(shown)]->refresh();
    showScreen(shown);
}

// ---------------------------------------------------------------------------------------
// Screen switching

QWidget* MainWindow::screenPanel(pairly::shell::Screen screen) const {
    return screens_[index(screen)];
}

void MainWindow::hideAllScreens() {
    // Hidden, a screen stays in the stack: none shows until showScreen.
    for (common::Screen* screen : screens_) screen->hide();
}

void MainWindow::showScreen(pairly::shell::Screen screen) {
    common::Screen* panel = screens_[index(screen)];
    stack_->setCurrentWidget(panel);
    panel->show();
    menuButtons_->button(index(screen))->setChecked(true);
}

bool MainWindow::visibleScreen(pairly::shell::Screen* screen) const {
    for (int i = 0; i < pairly::shell::kScreenCount; ++i) {
        if (screens_[i]->isShown()) {
            if (screen) *screen = static_cast<pairly::shell::Screen>(i);
            return true;
        }
    }
    return false;
}

void MainWindow::switchToScreen(pairly::shell::Screen screen) {
    common::Screen* panel = screens_[index(screen)];
    if (panel->isShown()) return;
    {
        const session::Session::Refresh refresh(ctx_.session);
        hideAllScreens();
        panel->open();
        showScreen(screen);
    }
    letPaint();
    explain(screenHelpText(screen));
}
// ---------------------------------------------------------------------------------------
// Closing

void MainWindow::quitProgram() {
    quitting_ = true;
    close();
    quitting_ = false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // With the tray option the program stays for the phones; the window only hides.
    if (!quitting_ && phone_->hideIntoTray()) {
        event->ignore();
        return;
    }
    if (!memoScreen_->settleUnsavedText()) {
        event->ignore();
        return;
    }
    closeHelpWindows();
    comparisonScreen_->closeReportWindow();
    if (splash_) splash_->close();
    event->accept();
    emit programEnded();
}

void MainWindow::letPaint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace pairly::gui::shell
