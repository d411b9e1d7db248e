#pragma once
// State the main window owns for the whole run and hands to every screen.
#include <filesystem>
#include <functional>
#include <string>

#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"

namespace pairly::ui {

struct AppContext {
    AppContext(std::filesystem::path folder, Dialogs& d, Clock& c)
        : dataFolder(std::move(folder)), dialogs(d), clock(c) {}

    std::filesystem::path dataFolder;
    Dialogs& dialogs;
    Clock& clock;

    // Selected partner (1 or 2); its log and profile are logFileName/profileFileName(slot).
    // This, not the colour of a partner button, is what says which partner is selected.
    int currentSlot = 1;
    int otherSlot() const { return 3 - currentSlot; }

    // Both partners' profiles as last read or saved, the one place every screen takes a
    // nickname, height or target weight from.
    const store::PartnerProfile& profileOf(int slot) const { return profiles_[slot == 2 ? 1 : 0]; }
    const store::PartnerProfile& profile() const { return profileOf(currentSlot); }
    void setProfile(int slot, const store::PartnerProfile& p) {
        profiles_[slot == 2 ? 1 : 0] = p;
        noteDataChanged();
    }

    // Counts the changes of a log or a profile made in this window. A screen that keeps
    // what it shows between visits notes the count (and the partner) it was filled for,
    // and is filled again when shown after either changed.
    unsigned dataRevision() const { return dataRevision_; }
    void noteDataChanged() { ++dataRevision_; }
    // The bytes each profile was read from (or saved as), for the check before a save.
    const store::FileStamp& profileStampOf(int slot) const { return profileStamps_[slot == 2 ? 1 : 0]; }
    void setProfileStamp(int slot, const store::FileStamp& stamp) {
        profileStamps_[slot == 2 ? 1 : 0] = stamp;
    }

    store::ScaleSteps steps;
    store::FileStamp stepsStamp;  // the bytes `steps` was read from
    std::string movingAverage = "10";
    int helpTourFlag = 1;
    int markerMode = 0;
    bool startupInProgress = false;
    // Start-up fills several screens from the same logs: one warning per log is enough.
    bool startupLogWarned[2] = {false, false};

    // Set by the main window: give focus to the selected partner's button.
    std::function<void()> focusActivePartnerButton;
    // Set by the main window: replaces the selected partner's weight series by that of
    // the log just read and redraws the trend graph (the list and analysis screens build
    // on it).
    std::function<void(const std::vector<store::MeasurementRecord>&)> rebuildWeightChart;

private:
    store::PartnerProfile profiles_[2];
    store::FileStamp profileStamps_[2];
    unsigned dataRevision_ = 0;
};

// A partner's log as a screen reads it: when the file cannot be read completely, one
// warning box says so, and the screen shows what could be read (and never writes it back).
inline store::LoadedLog loadLogForScreen(AppContext& ctx, int slot) {
    store::LoadedLog log = store::loadLog(ctx.dataFolder, slot);
    bool& warnedAtStartup = ctx.startupLogWarned[slot == 2 ? 1 : 0];
    if (log.failed() && !(ctx.startupInProgress && warnedAtStartup)) {
        if (ctx.startupInProgress) warnedAtStartup = true;
        ctx.dialogs.warn(QString::fromStdString(store::logFileName(slot)) +
                             QStringLiteral(" を読み込めませんでした。\n"
                                            "読み込めた分だけを表示しています。"
                                            "ファイルとディスクの状態を確認してください。"),
                         QStringLiteral("読み込みエラー"));
    }
    return log;
}

// The help tour's explanation box: shown only while the tour is on.
inline void showHelpTour(AppContext& ctx, const QString& text) {
    if (ctx.helpTourFlag == 0) return;
    ctx.dialogs.message(text, QStringLiteral("ヘルプツアー"), Icon::Information, Buttons::Ok);
}

}  // namespace pairly::ui
