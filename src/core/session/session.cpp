#include "core/session/session.h"

#include <utility>
#include <vector>

namespace pairly::session {

Session::Session(std::filesystem::path folder) : folder_(std::move(folder)) {}

void Session::selectPartner(int slot) {
    if (slot != 1 && slot != 2) return;
    if (slot == selected_) return;
    selected_ = slot;
    notify({Change::Partner, slot});
}

void Session::setProfile(int slot, const store::PartnerProfile& profile) {
    profiles_[index(slot)] = profile;
    ++revision_;
    notify({Change::Profile, slot});
}

SharedLog Session::log(int slot, bool* fresh) {
    SharedLog& kept = logs_[index(slot)];
    if (fresh) *fresh = !kept;
    if (kept) return kept;
    ++reads_[index(slot)];
    const disk::FileBytes file = disk::readFileBytes(folder_, store::logFileName(slot));
    SharedLog& last = lastParsed_[index(slot)];
    SharedLog read;
    if (last && file.status == disk::ReadStatus::Ok && last->stamp == file.stamp) {
        read = last;  // the same bytes: the same records
    } else {
        read = std::make_shared<const store::LoadedLog>(store::logFromFile(slot, file));
        last = file.status == disk::ReadStatus::Ok ? read : nullptr;
    }
    // Kept only while a refresh lasts: between refreshes another window may change the file.
    if (refreshing()) kept = read;
    return read;
}

void Session::markLogChanged(int slot) {
    ++revision_;
    if (slot == 1 || slot == 2) {
        logs_[index(slot)].reset();
    } else {
        for (SharedLog& kept : logs_) kept.reset();
    }
    notify({Change::Log, slot == 1 || slot == 2 ? slot : 0});
}

Session::Refresh::Refresh(Session& session) : session_(session) { ++session_.refreshDepth_; }

Session::Refresh::~Refresh() {
    if (--session_.refreshDepth_ > 0) return;
    for (SharedLog& kept : session_.logs_) kept.reset();
}

int Session::subscribe(Listener listener) {
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void Session::unsubscribe(int id) { listeners_.erase(id); }

void Session::notify(const Event& event) {
    // A listener may subscribe or unsubscribe while it is told: those subscribed now are
    // told, unless one of them has gone in the meantime.
    std::vector<int> ids;
    ids.reserve(listeners_.size());
    for (const auto& entry : listeners_) ids.push_back(entry.first);
    for (const int id : ids) {
        const auto found = listeners_.find(id);
        if (found == listeners_.end()) continue;
        const Listener listener = found->second;  // it may unsubscribe itself
        listener(event);
    }
}

}  // namespace pairly::session
