#include "core/session/session.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/disk/file_ops.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::session {
namespace {

using disk::fileops::Op;
using pairly::testing::TempFolder;

const char* kOneRecord = "\"2026/12/01\",\"朝食前\",65,22.5,1500,9,48.2,5,2.9,\"\",\"\"\r\n";
const char* kTwoRecords =
    "\"2026/12/01\",\"朝食前\",65,22.5,1500,9,48.2,5,2.9,\"\",\"\"\r\n"
    "\"2026/12/02\",\"朝食前\",64.5,22.4,1500,9,48.2,5,2.9,\"\",\"\"\r\n";

// Counts the files the store opens, through its own seam.
class OpenCounter {
public:
    OpenCounter() {
        disk::fileops::setFaultHook([this](Op op, long) {
            if (op == Op::Open) ++opens_;
            return false;
        });
    }
    ~OpenCounter() { disk::fileops::setFaultHook(nullptr); }
    long opens() const { return opens_; }

private:
    long opens_ = 0;
};

TEST(Session, EachLogIsReadOncePerRefreshAndAgainOutsideOne) {
    // Which logs are asked for, inside one refresh or as clicks inside a screen.
    const struct {
        const char* name;
        bool inRefresh;
        std::vector<int> asks;
        long opens;
    } cases[] = {
        {"one screen, one log, in a refresh", true, {1}, 1},
        {"three screens share a log", true, {1, 1, 1}, 1},
        {"both logs, each twice", true, {1, 2, 2, 1}, 2},
        {"outside a refresh every ask reads", false, {1, 1, 2}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.writeCp932("データ1.txt", kOneRecord);
        folder.writeCp932("データ2.txt", kTwoRecords);
        Session session(folder.path());
        OpenCounter counter;
        {
            std::optional<Session::Refresh> refresh;
            if (c.inRefresh) refresh.emplace(session);
            for (const int slot : c.asks)
                EXPECT_EQ(session.log(slot)->records.size(), slot == 1 ? 1u : 2u);
        }
        EXPECT_EQ(counter.opens(), c.opens);
        EXPECT_EQ(session.logReads(1) + session.logReads(2), c.opens);
    }
}

TEST(Session, ANewRefreshAndAWriteThroughTheProgramReadTheFileAgain) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kOneRecord);
    folder.writeCp932("データ2.txt", kOneRecord);
    Session session(folder.path());
    {
        const Session::Refresh refresh(session);
        bool fresh = false;
        EXPECT_EQ(session.log(1, &fresh)->records.size(), 1u);
        EXPECT_TRUE(fresh);
        const auto kept = session.log(2);

        // A save through this program: the log it wrote is read anew, the other is still
        // the one read for this refresh.
        folder.writeCp932("データ1.txt", kTwoRecords);
        session.markLogChanged(1);
        EXPECT_EQ(session.log(1, &fresh)->records.size(), 2u);
        EXPECT_TRUE(fresh);
        EXPECT_EQ(session.log(2, &fresh), kept);
        EXPECT_FALSE(fresh);

        // Both, when the writer does not say which.
        session.markLogChanged(0);
        session.log(2, &fresh);
        EXPECT_TRUE(fresh);
    }
    EXPECT_EQ(session.logReads(1), 2);
    EXPECT_EQ(session.logReads(2), 2);

    // The next refresh sees a change made by another window.
    folder.writeCp932("データ2.txt", kTwoRecords);
    const Session::Refresh refresh(session);
    EXPECT_EQ(session.log(2)->records.size(), 2u);
}

TEST(Session, ALogSharedInARefreshStillRefusesARewriteOverAnotherWindowsChange) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kOneRecord);
    Session session(folder.path());
    const Session::Refresh refresh(session);
    store::LoadedLog shown = *session.log(1);
    // Another window appends a weighing after this one read the log.
    folder.writeCp932("データ1.txt", kTwoRecords);
    shown.records[0].comment = "上書き";
    EXPECT_EQ(store::writeBackLog(folder.path(), 1, shown).status, disk::WriteStatus::Stale);
    EXPECT_EQ(folder.readCp932("データ1.txt"), kTwoRecords);
}

TEST(Session, AFailedReadingIsSharedAndToldAsFailed) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kTwoRecords);
    Session session(folder.path());
    const Session::Refresh refresh(session);
    {
        const auto faults = pairly::testing::InjectFaults::always({Op::Read});
        EXPECT_TRUE(session.log(1)->failed());
    }
    bool fresh = true;
    EXPECT_TRUE(session.log(1, &fresh)->failed());
    EXPECT_FALSE(fresh);
    EXPECT_EQ(session.logReads(1), 1);
}

TEST(Session, ListenersHearOfPartnerProfileAndLogChanges) {
    TempFolder folder;
    Session session(folder.path());
    std::vector<std::string> heard;
    auto describe = [](const Event& e) {
        const char* what = e.what == Change::Partner   ? "partner"
                           : e.what == Change::Profile ? "profile"
                                                       : "log";
        return std::string(what) + " " + std::to_string(e.slot);
    };
    const int first = session.subscribe([&](const Event& e) { heard.push_back(describe(e)); });
    session.subscribe([&](const Event& e) { heard.push_back("second " + describe(e)); });

    const struct {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> heard;
        int selected;
    } steps[] = {
        {"the other partner",
         [&] { session.selectPartner(2); },
         {"partner 2", "second partner 2"},
         2},
        {"the same partner again", [&] { session.selectPartner(2); }, {}, 2},
        {"no such partner", [&] { session.selectPartner(3); }, {}, 2},
        {"a profile saved",
         [&] {
             session.setProfile(1, {"たくや", 170.0f, 68.0f});
         },
         {"profile 1", "second profile 1"},
         2},
        {"a log written", [&] { session.markLogChanged(2); }, {"log 2", "second log 2"}, 2},
        {"the first listener gone",
         [&] {
             session.unsubscribe(first);
             session.selectPartner(1);
         },
         {"second partner 1"},
         1},
    };
    unsigned revision = session.revision();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        heard.clear();
        step.act();
        EXPECT_EQ(heard, step.heard);
        EXPECT_EQ(session.selectedSlot(), step.selected);
        EXPECT_EQ(session.otherSlot(), 3 - step.selected);
        // Data changes count; a change of partner does not.
        const bool dataChange =
            !step.heard.empty() && step.heard.back().find("partner") == std::string::npos;
        EXPECT_EQ(session.revision(), revision + (dataChange ? 1 : 0));
        revision = session.revision();
    }
    // Every screen takes the profile from here: the saved one is what they all see.
    EXPECT_EQ(session.profile(1).nickname, "たくや");
    EXPECT_EQ(session.selectedProfile().nickname, "たくや");
    EXPECT_EQ(session.profile(2).nickname, "");
}

TEST(Session, AListenerMayLeaveWhileItIsTold) {
    TempFolder folder;
    Session session(folder.path());
    int told = 0;
    int second = 0;
    session.subscribe([&](const Event&) {
        ++told;
        session.unsubscribe(second);  // the one after it is not told any more
    });
    second = session.subscribe([&](const Event&) { ++told; });
    session.selectPartner(2);
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace pairly::session
