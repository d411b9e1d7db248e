// The launch sequence, and reading the profiles and preferences into the session.
#include <QCheckBox>
#include <QSignalBlocker>

#include "core/settings/new_start.h"
#include "core/store/backups.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "gui/common/write_notice.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/entry/input_screen.h"
#include "gui/memo/memo_screen.h"
#include "gui/phone/phone_service.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/folder_check_controller.h"
#include "gui/shell/import_controller.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/trend/analysis_screen.h"
#include "gui/trend/trend_screen.h"
#include "gui/widgets/elided_button.h"
#include "gui/widgets/elided_text.h"
#include "gui/widgets/text.h"

namespace pairly::gui::shell {

namespace {

// The splash stays up at least this long.
constexpr int kSplashMinimumMs = 1500;
// The characters of a nickname the title bar shows.
constexpr int kTitleNameChars = 40;

using widgets::q;

}  // namespace

void MainWindow::startUp() {
    const long long started = ctx_.clock.monotonicMs();
    splash_ = std::make_unique<SplashWindow>();
    splash_->show();
    letPaint();
    // A change a crash stopped half way is finished before any file is read.
    checkDataFolder(ctx_);
    // Once a day, before an old log is converted or anything is written: every data file
    // copied into バックアップ/yyyymmdd. A failed copy is told and the program goes on.
    const store::DailyBackup backup = store::makeDailyBackup(ctx_.dataFolder, ctx_.clock.today());
    if (backup.status == store::BackupStatus::Failed)
        ctx_.dialogs.warn(q(store::dailyBackupFailureText()),
                          QString::fromUtf8(store::kBackupTitle));

    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    ctx_.startupInProgress = true;
    hideAllScreens();

    inputScreen_->prepareForStartup();

    ctx_.session.selectPartner(1);
    setPartnerButtonSelected(1);
    loadPartnerProfile(2);
    loadPartnerProfile(1);

    settingsScreen_->prepareForStartup();
    // A fresh folder gets the default situations; the only data file a start-up writes.
    if (!common::written(ctx_, store::ensureSituationList(ctx_.dataFolder), "状況リスト.txt")) {
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

    {
        // The screens filled now share one reading of each log.
        const session::Session::Refresh refresh(ctx_.session);
        inputScreen_->refreshDayView();
        inputScreen_->applyMarkerMode();
        inputScreen_->refreshBmi();
        settingsScreen_->refreshBmiMeter();
        memoScreen_->loadMemo();
        comparisonScreen_->prepareForStartup();
        comparisonScreen_->refresh();
    }

    const long long elapsed = ctx_.clock.monotonicMs() - started;
    if (elapsed <= kSplashMinimumMs) ctx_.clock.pause(int(kSplashMinimumMs - elapsed) + 1);

    show();
    splash_->close();
    splash_.reset();
    letPaint();

    hideAllScreens();
    showScreen(pairly::shell::Screen::Comparison);
    letPaint();

    chkHelp_->setChecked(ctx_.helpTourFlag != 0);
    inputScreen_->disableSteppers();
    inputScreen_->selectMixedOption();
    letPaint();
    ctx_.startupInProgress = false;
    inputScreen_->redrawMainChart();

    for (const std::string& text : pairly::shell::startupHelpTexts()) explain(text);
    // The phone page listens once the window is up, when it was left switched on.
    phone_->startIfEnabled();

    // A couple starting in an empty folder begins by entering themselves.
    if (pairly::settings::isFirstRun(ctx_.dataFolder)) {
        hideAllScreens();
        {
            const session::Session::Refresh refresh(ctx_.session);
            settingsScreen_->open();
            showScreen(pairly::shell::Screen::Settings);
        }
        letPaint();
        settingsScreen_->openNewStart();
    }
}

void MainWindow::loadPartnerProfile(int slot) {
    const store::LoadedProfile loaded = store::readProfile(ctx_.dataFolder, slot);
    if (loaded.failed() && loaded.status != disk::ReadStatus::Unusable) {
        const disk::FileNotice notice = disk::partlyReadNotice(store::profileFileName(slot));
        ctx_.dialogs.warn(q(notice.text), q(notice.title));
    }
    // The button's caption and the title follow the session's news of it.
    ctx_.setProfileStamp(slot, loaded.stamp);
    ctx_.setProfile(slot, loaded.profile);
}

// The partner's button shows its nickname, and the title the selected partner's.
void MainWindow::showPartnerProfile(int slot) {
    const store::PartnerProfile& profile = ctx_.profileOf(slot);
    static_cast<widgets::ElidedButton*>(partnerButton(slot))
        ->setCaption(q(store::partnerCaption(profile, slot)));
    if (slot != ctx_.currentSlot) return;
    markSelectedPartner(slot);
    // The title bar shows the beginning of a long nickname.
    store::PartnerProfile titled = profile;
    titled.nickname = widgets::boundedText(q(profile.nickname), kTitleNameChars).toStdString();
    setWindowTitle(q(store::windowTitle(titled)));
}

void MainWindow::reloadDataFiles() {
    const session::Session::Refresh refresh(ctx_.session);
    loadPartnerProfile(2);
    loadPartnerProfile(1);
    readPreferences();
    settingsScreen_->loadSituationList();
    settingsScreen_->readPreferenceControls();
    inputScreen_->applyMarkerMode();
    {
        // Showing the restored setting writes nothing.
        const QSignalBlocker block(chkHelp_);
        chkHelp_->setChecked(ctx_.helpTourFlag != 0);
    }
    memoScreen_->loadMemo();
    refreshVisibleScreen();
}

void MainWindow::readPreferences() {
    const std::filesystem::path& folder = ctx_.dataFolder;
    session::Preferences& preferences = ctx_.session.preferences();
    preferences.movingAverage = store::readMovingAverage(folder);
    preferences.markerMode = store::readMarkerMode(folder);
    preferences.helpTourFlag = store::readHelpTourFlag(folder);
    preferences.autoSituation = store::readAutoSituation(folder) != 0;
    preferences.situationCorrection = store::readSituationCorrection(folder) != 0;
    const store::LoadedScaleSteps steps = store::loadScaleSteps(folder);
    preferences.steps = steps.steps;
    preferences.stepsStamp = steps.stamp;
}

}  // namespace pairly::gui::shell
