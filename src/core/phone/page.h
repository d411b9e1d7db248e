#pragma once
// The phone page as HTML: the form of one weighing, and the answer after a save. Made for a
// phone held at arm's length (large type and touch targets), in the partner's colour,
// working without scripts and without anything from outside. Every text from the diary
// is escaped.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/base/colour.h"
#include "core/entry/entry_logic.h"

namespace pairly::phone {

struct PageTop {
    std::string nickname;
    base::Rgb colour;
    std::string dateText;  // "2026/12/07（月）"
    std::string action;    // the page's own path, "/<secret>"
};

struct FormPage {
    PageTop top;
    std::vector<std::string> situations;  // lstAct's order
    std::string timeSituation;            // the time button's situation, "7:05:09"
    std::string token;
    std::string situation;     // the one chosen, "" for none
    entry::FieldTexts fields;  // in entry order
    std::optional<entry::SaveMessage> message;
};
std::string formPageHtml(const FormPage& page);

struct DayRow {
    std::string number, situation, weight, change, bodyFat, comment;
    base::Rgb changeColour;
};
struct PartnerFigures {
    std::string nickname, todayCount, since, lossShare;
};
struct ResultPage {
    PageTop top;
    std::string headline;
    std::optional<entry::SaveMessage> note;  // said beside the headline (an unconfirmed write)
    std::vector<DayRow> rows;                // this partner's weighings of the day
    std::array<PartnerFigures, 2> figures;   // [0] this partner, [1] the other
    std::vector<std::string> trend;          // the sentences of 全グラフ, if any
};
std::string resultPageHtml(const ResultPage& page);

}  // namespace pairly::phone
