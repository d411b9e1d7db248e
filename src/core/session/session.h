#pragma once
// What the program knows for the whole run, in one place and without Qt: the two
// profiles and the bytes they were read from, the selected partner, the preferences, and
// the logs read for the current refresh. Screens take these from here, never from each
// other or from a widget, and listeners hear of every change.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"

namespace pairly::session {

// What changed; slot is the partner concerned (0 when it concerns both).
enum class Change { Partner, Profile, Log };
struct Event {
    Change what;
    int slot = 0;
};

struct Preferences {
    store::ScaleSteps steps;
    disk::FileStamp stepsStamp;  // the bytes `steps` was read from
    std::string movingAverage = "10";
    int helpTourFlag = 1;
    int markerMode = 0;
    bool autoTime = false;       // the time of saving goes into the comment
    bool autoSituation = false;  // chkAutoSit: the usual situation is picked for today
    // 全グラフ draws weighings moved onto the reference situation (chkHosei).
    bool situationCorrection = false;
};

// A log as read, shared by every screen that shows it during one refresh.
using SharedLog = std::shared_ptr<const store::LoadedLog>;

class Session {
public:
    using Listener = std::function<void(const Event&)>;

    explicit Session(std::filesystem::path folder);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // The selected partner (1 or 2).
    int selectedSlot() const { return selected_; }
    int otherSlot() const { return 3 - selected_; }
    // Tells the listeners when the selection changes; any other slot is ignored.
    void selectPartner(int slot);

    // The day being entered and shown by the day view ("yyyy/mm/dd"), which the figures of
    // the BMI meters are taken for.
    const std::string& entryDay() const { return entryDay_; }
    void setEntryDay(std::string day) { entryDay_ = std::move(day); }

    // Both partners' profiles as last read or saved, and the bytes each was read from (or
    // saved as), for the check before a save.
    const store::PartnerProfile& profile(int slot) const { return profiles_[index(slot)]; }
    const store::PartnerProfile& selectedProfile() const { return profile(selected_); }
    const disk::FileStamp& profileStamp(int slot) const { return profileStamps_[index(slot)]; }
    void setProfile(int slot, const store::PartnerProfile& profile);
    void setProfileStamp(int slot, const disk::FileStamp& stamp) {
        profileStamps_[index(slot)] = stamp;
    }

    Preferences& preferences() { return preferences_; }
    const Preferences& preferences() const { return preferences_; }

    // A partner's log. During a refresh the file is read once and every screen shares that
    // reading; outside one (a click inside a screen) every call reads the file again, so
    // that a change made by another window is seen as before. A reading that finds the
    // bytes of the last one (their size and hash) takes the records parsed then.
    // `fresh` tells whether this call read the file (a failed reading is told once).
    SharedLog log(int slot, bool* fresh = nullptr);
    // A write through this program changed the log (slot 0: both, or not known which):
    // the next reading takes it from the file again.
    void markLogChanged(int slot);
    // Counts the changes of a log or a profile made in this window: a screen that keeps
    // what it shows between visits notes the count it was filled for.
    unsigned revision() const { return revision_; }
    // How many times each log file was read (for the checks of the sharing above).
    long logReads(int slot) const { return reads_[index(slot)]; }

    // Marks the span of one refresh (a menu button, a partner change, the start-up); spans
    // may nest, the readings are dropped when the outermost one ends.
    class Refresh {
    public:
        explicit Refresh(Session& session);
        ~Refresh();
        Refresh(const Refresh&) = delete;
        Refresh& operator=(const Refresh&) = delete;

    private:
        Session& session_;
    };
    bool refreshing() const { return refreshDepth_ > 0; }

    // Listeners are called in the order they subscribed; the id unsubscribes.
    int subscribe(Listener listener);
    void unsubscribe(int id);

private:
    static std::size_t index(int slot) { return slot == 2 ? 1 : 0; }
    void notify(const Event& event);

    std::filesystem::path folder_;
    int selected_ = 1;
    std::string entryDay_;
    store::PartnerProfile profiles_[2];
    disk::FileStamp profileStamps_[2];
    Preferences preferences_;
    SharedLog logs_[2];
    SharedLog lastParsed_[2];
    long reads_[2] = {0, 0};
    int refreshDepth_ = 0;
    unsigned revision_ = 0;
    int nextListener_ = 1;
    std::map<int, Listener> listeners_;
};

}  // namespace pairly::session
