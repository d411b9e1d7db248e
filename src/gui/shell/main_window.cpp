#include "gui/shell/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/entry/input_screen.h"
#include "gui/common/situation_lists_controller.h"
#include "gui/memo/memo_screen.h"
#include "core/settings/new_start.h"
#include "gui/printing/print_controller.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/folder_check_controller.h"
#include "gui/shell/import_controller.h"
#include "gui/shell/splash_window.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/elided_button.h"
#include "gui/widgets/help_viewer.h"
#include "gui/common/write_notice.h"
#include "gui/trend/analysis_screen.h"
#include "gui/calendar/calendar_screen.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/list/measurement_list_screen.h"
#include "gui/trend/trend_screen.h"

namespace pairly::shell {

namespace {

// The selected partner button's background.
const QColor kSelectedPartnerColour(255, 255, 240);

// The splash stays up at least this long.
constexpr int kSplashMinimumMs = 1500;

QString q(const std::string& s) { return QString::fromStdString(s); }

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    // Room for the caption is enough (the style would ask for more): the row has to fit
    // the window's width.
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(caption) + 18);
    return button;
}

// The widest a partner button's caption grows: a longer nickname is elided to the room the
// button has, whole in the tooltip, so that the top row keeps its places.
constexpr int kPartnerCaptionWidth = 120;

// Every caption of a partner button goes through here.
void showPartnerCaption(QPushButton* button, const QString& caption) {
    static_cast<ui::ElidedButton*>(button)->setCaption(caption);
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path dataFolder, ui::Dialogs& dialogs, ui::Clock& clock,
                       QWidget* parent)
    : QMainWindow(parent), ctx_(std::move(dataFolder), dialogs, clock) {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral(" ペアリー☆ログ"));
    ctx_.focusActivePartnerButton = [this] { partnerButton(ctx_.currentSlot)->setFocus(); };
    buildWindow();
}

MainWindow::~MainWindow() {
    delete splash_;
    // The screens go before the top row, which holds the input screen's day counts; the
    // settings screen refers to the input screen, so the input screen goes last.
    for (int i = kScreenCount - 1; i >= 0; --i) {
        if (menu_[i].panel != inputScreen_) delete menu_[i].panel;
    }
    delete inputScreen_;
}

// ---------------------------------------------------------------------------------------
// Layout

void MainWindow::buildWindow() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    inputScreen_ = new entry::InputScreen(ctx_);
    settingsScreen_ = new maintenance::SettingsScreen(ctx_, *inputScreen_);
    comparisonScreen_ = new views::ComparisonScreen(ctx_);
    // The trend screen holds the weight series; the analyses and the list build on it.
    // The list has read and warned about the same log just before.
    trendScreen_ = new views::TrendScreen(ctx_);
    analysisScreen_ = new views::AnalysisScreen(ctx_, *trendScreen_);
    ctx_.rebuildWeightChart = [this](const std::vector<store::MeasurementRecord>& log) {
        trendScreen_->rebuildWeightChart(log);
    };
    memoScreen_ = new maintenance::MemoScreen(ctx_);
    printing_ = new maintenance::PrintController(ctx_, *this, this);

    column->addWidget(buildTopRow());

    // Every screen sits in the same grid cell; hidden ones take no room.
    auto* screenArea = new QWidget(central);
    screenArea->setObjectName("screenArea");
    auto* stack = new QGridLayout(screenArea);
    stack->setContentsMargins(0, 0, 0, 0);
    buildMenuScreens();
    for (const MenuScreen& m : menu_) {
        // A hidden screen keeps its claim on the room: the window is sized for the largest
        // screen once, and never widens itself when another screen is shown.
        QSizePolicy policy = m.panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        m.panel->setSizePolicy(policy);
        stack->addWidget(m.panel, 0, 0);
    }
    column->addWidget(screenArea, 1);

    setCentralWidget(central);
    hideAllScreens();

    connect(settingsScreen_, &maintenance::SettingsScreen::profileSaved, this,
            [this] { showPartnerProfile(ctx_.currentSlot); });
    connect(settingsScreen_, &maintenance::SettingsScreen::partnerEntered, this,
            &MainWindow::newStartEntered);
    // The next launch starts from the new diary.
    connect(settingsScreen_, &maintenance::SettingsScreen::newStartFinished, this,
            &MainWindow::quitProgram);

    QSize size(1280, 800);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
}

QWidget* MainWindow::buildTopRow() {
    auto* row = new QWidget(this);
    row->setObjectName("topRow");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    cmdUser1_ = new ui::ElidedButton(kPartnerCaptionWidth, row);
    cmdUser2_ = new ui::ElidedButton(kPartnerCaptionWidth, row);
    for (int slot = 1; slot <= 2; ++slot) {
        QPushButton* button = partnerButton(slot);
        button->setObjectName(slot == 1 ? "cmdUser1" : "cmdUser2");
        button->setAutoDefault(false);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        button->setMinimumWidth(84);
        connect(button, &QPushButton::clicked, this, [this, slot] { selectPartner(slot); });
        layout->addWidget(button);
        layout->addWidget(inputScreen_->dayCountWidget(slot));
    }
    layout->addSpacing(6);

    static const struct {
        Screen screen;
        const char* name;
        const char* caption;
    } kMenu[] = {
        {Screen::Input, "cmdMain", "入力"},          {Screen::List, "cmdTaijyu", "範囲指定"},
        {Screen::Comparison, "cmdAvgtai", "比較"},   {Screen::Analysis, "cmdBunseki", "分析リスト"},
        {Screen::Calendar, "cmdCale", "カレンダー"}, {Screen::Memo, "cmdMemo", "一言日記"},
        {Screen::Trend, "cmdRentai", "全グラフ"},    {Screen::Settings, "cmdSettei", "編集"},
    };
    for (const auto& item : kMenu) {
        QPushButton* button = makeButton(item.name, QString::fromUtf8(item.caption), row);
        const Screen screen = item.screen;
        connect(button, &QPushButton::clicked, this, [this, screen] { switchToScreen(screen); });
        menu_[index(screen)].button = button;
        layout->addWidget(button);
    }
    layout->addStretch(1);

    chkHelp_ = new QCheckBox(QStringLiteral("ヘルプツアー"), row);
    chkHelp_->setObjectName("chkHelp");
    chkHelp_->setToolTip(QString::fromUtf8(kHelpTourToolTip));
    connect(chkHelp_, &QCheckBox::toggled, this, &MainWindow::onHelpTourToggled);
    layout->addWidget(chkHelp_);

    QPushButton* cmdHelp = makeButton("cmdHelp", QStringLiteral("ヘルプ"), row);
    cmdHelp->setToolTip(QStringLiteral("使い方の説明を開きます"));
    connect(cmdHelp, &QPushButton::clicked, this, &MainWindow::openHelp);
    layout->addWidget(cmdHelp);

    QPushButton* cmdPrint = makeButton("cmdPrint", QStringLiteral("画面印刷"), row);
    cmdPrint->setToolTip(QStringLiteral("表示中の画面を印刷します"));
    connect(cmdPrint, &QPushButton::clicked, printing_, &maintenance::PrintController::printScreen);
    layout->addWidget(cmdPrint);
    QPushButton* cmdPrint1 = makeButton("cmdPrint1", QStringLiteral("用紙印刷"), row);
    cmdPrint1->setToolTip(QStringLiteral("手書き用の体重記録用紙を印刷します"));
    connect(cmdPrint1, &QPushButton::clicked, printing_,
            &maintenance::PrintController::printRecordSheet);
    layout->addWidget(cmdPrint1);

    QPushButton* cmdOwari = makeButton("cmdOwari", QStringLiteral("終了"), row);
    connect(cmdOwari, &QPushButton::clicked, this, &MainWindow::quitProgram);
    layout->addWidget(cmdOwari);
    return row;
}

// The one place per screen: its panel, the menu's preparation and the refresh after a
// change of partner.
void MainWindow::buildMenuScreens() {
    MenuScreen& input = menu_[index(Screen::Input)];
    input.panel = inputScreen_;
    // Kept between visits, so that what was typed stays; filled again only when the partner
    // or the data changed since.
    input.prepare = [this] { inputScreen_->refreshIfStale(); };
    input.refreshForPartner = [this] {
        inputScreen_->refreshDayView();
        inputScreen_->refreshBmi();
    };

    MenuScreen& list = menu_[index(Screen::List)];
    auto* listScreen = new views::MeasurementListScreen(ctx_);
    inputScreen_->situationLists().registerList(listScreen->situationList());
    list.panel = listScreen;
    list.prepare = [listScreen] { listScreen->openMeasurementList(); };
    list.refreshForPartner = [listScreen] { listScreen->refreshForPartner(); };

    MenuScreen& comparison = menu_[index(Screen::Comparison)];
    comparison.panel = comparisonScreen_;
    comparison.prepare = [this] {
        comparisonScreen_->resetDailyAverageTable();
        comparisonScreen_->refreshComparisonScreen();
    };
    // Shows both partners: a change of partner leaves it as it is.
    comparison.refreshForPartner = nullptr;

    MenuScreen& analysis = menu_[index(Screen::Analysis)];
    analysis.panel = analysisScreen_;
    analysis.prepare = [this] { analysisScreen_->openAnalysisScreen(); };
    analysis.refreshForPartner = [this] { analysisScreen_->openAnalysisScreen(); };

    MenuScreen& calendar = menu_[index(Screen::Calendar)];
    auto* calendarScreen = new views::CalendarScreen(ctx_);
    calendar.panel = calendarScreen;
    calendar.prepare = [calendarScreen] { calendarScreen->openCalendar(); };
    calendar.refreshForPartner = [calendarScreen] { calendarScreen->openCalendar(); };
    // A double click on a day opens the input screen on that date.
    connect(calendarScreen, &views::CalendarScreen::inputDateRequested, this,
            [this](const text::Date& day) {
                inputScreen_->showDay(day);
                hideAllScreens();
                inputScreen_->show();
            });

    MenuScreen& memo = menu_[index(Screen::Memo)];
    memo.panel = memoScreen_;
    memo.prepare = [this] { memoScreen_->fillCommentTable(); };
    memo.refreshForPartner = [this] { memoScreen_->fillCommentTable(); };

    MenuScreen& trend = menu_[index(Screen::Trend)];
    trend.panel = trendScreen_;
    trend.prepare = [this] { trendScreen_->openTrendScreen(); };
    trend.refreshForPartner = [this] { trendScreen_->refreshForPartner(); };

    MenuScreen& settings = menu_[index(Screen::Settings)];
    settings.panel = settingsScreen_;
    settings.prepare = [this] { settingsScreen_->openSettings(); };
    settings.refreshForPartner = [this] { settingsScreen_->refreshForPartner(); };
}

// ---------------------------------------------------------------------------------------
// Start-up

void MainWindow::startUp() {
    const long long started = ctx_.clock.monotonicMs();
    splash_ = new SplashWindow;
    splash_->show();
    letPaint();
    // A change a crash stopped half way is finished before any file is read.
    checkDataFolder(ctx_);

    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    ctx_.startupInProgress = true;
    hideAllScreens();

    inputScreen_->prepareForStartup();

    ctx_.currentSlot = 1;
    setPartnerButtonSelected(1);
    loadPartnerProfile(2);
    loadPartnerProfile(1);

    settingsScreen_->prepareForStartup();
    // A fresh folder gets the default situations; this is the only file a start-up writes.
    if (!ui::written(ctx_, store::ensureSituationList(ctx_.dataFolder), "状況リスト.txt")) {
        ctx_.dialogs.warn(QStringLiteral("状況リスト.txt を作成できませんでした。\n"
                                         "データフォルダに書き込めるか確認してください。"),
                          QStringLiteral("ペアリー☆ログ"));
    }
    settingsScreen_->loadSituationList();
    readPreferences();
    settingsScreen_->readPreferenceControls();
    runPredecessorImport(ctx_);
    if (const auto notice = store::damagedLinesNotice(ctx_.dataFolder))
        ctx_.dialogs.warn(q(notice->text), q(notice->title));
    trendScreen_->prepareForStartup();
    analysisScreen_->prepareForStartup();

    inputScreen_->refreshDayView();
    inputScreen_->applyMarkerMode();
    inputScreen_->refreshBmi();
    memoScreen_->loadMemo();
    comparisonScreen_->prepareForStartup();
    comparisonScreen_->resetDailyAverageTable();
    comparisonScreen_->refreshComparisonScreen();

    const long long elapsed = ctx_.clock.monotonicMs() - started;
    if (elapsed <= kSplashMinimumMs) ctx_.clock.pause(int(kSplashMinimumMs - elapsed) + 1);

    show();
    splash_->close();
    delete splash_;
    splash_ = nullptr;
    letPaint();

    hideAllScreens();
    screenPanel(Screen::Comparison)->show();
    letPaint();

    chkHelp_->setChecked(ctx_.helpTourFlag != 0);
    inputScreen_->disableSteppers();
    inputScreen_->selectMixedOption();
    letPaint();
    ctx_.startupInProgress = false;
    inputScreen_->redrawMainChart();

    for (const std::string& text : startupHelpTexts()) explain(text);

    // A couple starting in an empty folder begins by entering themselves.
    if (maintenance::isFirstRun(ctx_.dataFolder)) {
        hideAllScreens();
        settingsScreen_->openSettings();
        screenPanel(Screen::Settings)->show();
        letPaint();
        settingsScreen_->openNewStart();
    }
}

void MainWindow::loadPartnerProfile(int slot) {
    const store::LoadedProfile loaded = store::readProfile(ctx_.dataFolder, slot);
    if (loaded.failed()) {
        ctx_.dialogs.warn(q(store::profileFileName(slot)) +
                              QStringLiteral(" を読み込めませんでした。\n"
                                             "読み込めた分だけを表示しています。"
                                             "ファイルとディスクの状態を確認してください。"),
                          QStringLiteral("読み込みエラー"));
    }
    ctx_.setProfile(slot, loaded.profile);
    ctx_.setProfileStamp(slot, loaded.stamp);
    showPartnerProfile(slot);
}

// The partner's button shows its nickname, and the title the selected partner's.
void MainWindow::showPartnerProfile(int slot) {
    const store::PartnerProfile& profile = ctx_.profileOf(slot);
    showPartnerCaption(partnerButton(slot), q(store::partnerCaption(profile, slot)));
    if (slot == ctx_.currentSlot) setWindowTitle(q(store::windowTitle(profile)));
}

void MainWindow::readPreferences() {
    const std::filesystem::path& folder = ctx_.dataFolder;
    ctx_.movingAverage = store::readMovingAverage(folder);
    ctx_.markerMode = store::readMarkerMode(folder);
    ctx_.helpTourFlag = store::readHelpTourFlag(folder);
    const store::LoadedScaleSteps steps = store::loadScaleSteps(folder);
    ctx_.steps = steps.steps;
    ctx_.stepsStamp = steps.stamp;
}

// ---------------------------------------------------------------------------------------
// Partner selection

void MainWindow::setPartnerButtonSelected(int slot) {
    ui::setBackColour(partnerButton(slot), kSelectedPartnerColour);
    QPushButton* other = partnerButton(3 - slot);
    ui::setBackColour(other, QColor());  // back to the button face
}

void MainWindow::selectPartner(int slot) {
    if (slot != 1 && slot != 2) return;
    if (slot == ctx_.currentSlot) return;
    ctx_.currentSlot = slot;
    loadPartnerProfile(slot);
    refreshVisibleScreen();
    setPartnerButtonSelected(slot);
}

// The new start has replaced this partner's files and made it the selected one.
void MainWindow::newStartEntered(int slot) {
    ctx_.currentSlot = slot;
    loadPartnerProfile(slot);
    setPartnerButtonSelected(slot);
    refreshVisibleScreen();
}

void MainWindow::refreshVisibleScreen() {
    // The order in which the screens are looked at when several could be visible.
    static constexpr Screen kOrder[] = {Screen::Input,    Screen::Trend,     Screen::List,
                                        Screen::Analysis, Screen::Calendar,  Screen::Memo,
                                        Screen::Settings, Screen::Comparison};
    for (Screen screen : kOrder) {
        MenuScreen& m = menu_[index(screen)];
        if (m.panel->isHidden()) continue;
        if (!m.refreshForPartner) return;
        hideAllScreens();
        m.refreshForPartner();
        m.panel->show();
        return;
    }
}

// ---------------------------------------------------------------------------------------
// Screen switching

void MainWindow::hideAllScreens() {
    for (const MenuScreen& m : menu_) m.panel->hide();
}

bool MainWindow::visibleScreen(Screen* screen) const {
    for (int i = 0; i < kScreenCount; ++i) {
        if (!menu_[i].panel->isHidden()) {
            if (screen) *screen = static_cast<Screen>(i);
            return true;
        }
    }
    return false;
}

void MainWindow::switchToScreen(Screen screen) {
    MenuScreen& m = menu_[index(screen)];
    if (!m.panel->isHidden()) return;
    hideAllScreens();
    if (m.prepare) m.prepare();
    m.panel->show();
    letPaint();
    explain(screenHelpText(screen));
}

// ---------------------------------------------------------------------------------------
// Help tour and help document

void MainWindow::DSP_HELP() { ui::showHelpTour(ctx_, q(helpText_)); }

void MainWindow::explain(const std::string& text) {
    setHelpText(text);
    DSP_HELP();
}

void MainWindow::onHelpTourToggled(bool checked) {
    if (ctx_.startupInProgress) return;
    if (checked) {
        ctx_.dialogs.inform(QString::fromUtf8(kHelpTourOnText),
                            QString::fromUtf8(kHelpTourOnTitle));
        ctx_.helpTourFlag = 1;
    } else {
        ctx_.dialogs.inform(QString::fromUtf8(kHelpTourOffText),
                            QString::fromUtf8(kHelpTourOffTitle));
        ctx_.helpTourFlag = 0;
    }
    if (!ui::written(ctx_, store::writeHelpTourFlag(ctx_.dataFolder, ctx_.helpTourFlag),
                     "設定.txt")) {
        ctx_.dialogs.warn(QStringLiteral("設定.txt に書き込めませんでした。\n"
                                         "この設定は次回の起動時には元に戻ります。"),
                          QString::fromUtf8(kHelpTourTitle));
    }
}

void MainWindow::openHelp() {
    if (!helpViewer_) helpViewer_ = new ui::HelpViewer(this);
    helpViewer_->showNormal();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}

ui::HelpViewer* MainWindow::helpViewer() const { return helpViewer_.data(); }

void MainWindow::closeHelpWindows() {
    if (helpViewer_) helpViewer_->close();
}

void MainWindow::quitProgram() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!memoScreen_->settleUnsavedText()) {
        event->ignore();
        return;
    }
    closeHelpWindows();
    if (splash_) splash_->close();
    event->accept();
    emit programEnded();
}

void MainWindow::letPaint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace pairly::shell
