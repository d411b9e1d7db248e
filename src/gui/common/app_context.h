#pragma once
// The session of the run together with the Qt services every screen is handed: dialogs,
// clock and what start-up needs to say only once.
#include <filesystem>
#include <functional>
#include <string>

#include "core/disk/file_notices.h"
#include "core/session/session.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"

namespace pairly::gui::common {

struct AppContext {
    AppContext(std::filesystem::path folder, widgets::Dialogs& d, widgets::Clock& c)
        : session(std::move(folder)), dialogs(d), clock(c) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    session::Session session;
    // The names the screens use, each referring into the session.
    const std::filesystem::path& dataFolder = session.folder();
    widgets::Dialogs& dialogs;
    widgets::Clock& clock;

    // Selected partner (1 or 2); its log and profile are logFileName/profileFileName(slot).
    // Read as an int; changed only through session.selectPartner, which tells the listeners.
    struct SelectedSlot {
        const session::Session& session;
        operator int() const { return session.selectedSlot(); }
    };
    const SelectedSlot currentSlot{session};
    int otherSlot() const { return session.otherSlot(); }

    const store::PartnerProfile& profileOf(int slot) const { return session.profile(slot); }
    const store::PartnerProfile& profile() const { return session.selectedProfile(); }
    void setProfile(int slot, const store::PartnerProfile& p) { session.setProfile(slot, p); }
    const disk::FileStamp& profileStampOf(int slot) const { return session.profileStamp(slot); }
    void setProfileStamp(int slot, const disk::FileStamp& stamp) {
        session.setProfileStamp(slot, stamp);
    }

    // See Session::revision.
    unsigned dataRevision() const { return session.revision(); }
    // A write through this program changed a log (slot 0: both or not known which).
    void noteDataChanged(int slot = 0) { session.markLogChanged(slot); }

    store::ScaleSteps& steps = session.preferences().steps;
    disk::FileStamp& stepsStamp = session.preferences().stepsStamp;
    std::string& movingAverage = session.preferences().movingAverage;
    int& helpTourFlag = session.preferences().helpTourFlag;
    int& markerMode = session.preferences().markerMode;

    bool startupInProgress = false;
    // Start-up fills several screens from the same logs: one warning per log is enough.
    bool startupLogWarned[2] = {false, false};

    // Set by the main window: give focus to the selected partner's button.
    std::function<void()> focusActivePartnerButton;
};

// A partner's log as a screen shows it, shared with the other screens of the same refresh.
// When the file cannot be read completely, one warning box per reading says so, and the
// screen shows what could be read (and never writes it back).
inline session::SharedLog loadLogForScreen(AppContext& ctx, int slot) {
    bool fresh = false;
    session::SharedLog log = ctx.session.log(slot, &fresh);
    bool& warnedAtStartup = ctx.startupLogWarned[slot == 2 ? 1 : 0];
    // A link or no regular file was named at start-up: its partner's screens stay empty.
    if (fresh && log->failed() && log->status != disk::ReadStatus::Unusable &&
        !(ctx.startupInProgress && warnedAtStartup)) {
        if (ctx.startupInProgress) warnedAtStartup = true;
        const disk::FileNotice notice = disk::partlyReadNotice(store::logFileName(slot));
        ctx.dialogs.warn(QString::fromStdString(notice.text), QString::fromStdString(notice.title));
    }
    return log;
}

// The help tour's explanation box: shown only while the tour is on.
inline void showHelpTour(AppContext& ctx, const QString& text) {
    if (ctx.helpTourFlag == 0) return;
    ctx.dialogs.message(text, QStringLiteral("ヘルプツアー"), widgets::Icon::Information,
                        widgets::Buttons::Ok);
}

}  // namespace pairly::gui::common
