#include "core/phone/site.h"

#include <algorithm>

#include "core/comparison/fair_comparison.h"
#include "core/entry/day_view.h"
#include "core/entry/entry_logic.h"
#include "core/phone/form.h"
#include "core/phone/page.h"
#include "core/phone/secrets.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/situation_list.h"
#include "core/text/numbers.h"
#include "core/trend/forecast.h"
#include "core/trend/weight_trend.h"

namespace pairly::phone {

namespace {

// Asked for by browsers on their own: no try at a secret.
bool isAutomaticPath(const std::string& path) {
    return path == "/favicon.ico" || path == "/robots.txt" ||
           path.rfind("/apple-touch-icon", 0) == 0;
}

struct Partner {
    store::LoadedLog log;
    store::PartnerProfile profile;
    std::string caption;
};

Partner readPartner(const std::filesystem::path& folder, int slot) {
    Partner p;
    p.log = store::loadLog(folder, slot);
    p.profile = store::readProfile(folder, slot).profile;
    p.caption = store::partnerCaption(p.profile, slot);
    return p;
}

std::string dateText(const text::Date& day) {
    static const char* const kDays[] = {"日", "月", "火", "水", "木", "金", "土"};
    return text::formatDate(day) + "（" + kDays[text::weekday(day)] + "）";
}

PageTop pageTop(const SiteContext& c, int slot, const std::string& nickname,
                const std::string& secret) {
    return {nickname, c.colours[static_cast<std::size_t>(slot - 1)], dateText(c.today),
            "/" + secret};
}

struct FormInput {
    std::string token;
    std::string situation;
    std::optional<entry::FieldTexts> fields;  // nullopt: filled as the entry panel fills them
    std::optional<entry::SaveMessage> message;
};

Response formResponse(const SiteContext& c, int slot, const std::string& secret, FormInput in) {
    const Partner me = readPartner(c.folder, slot);
    FormPage page;
    page.top = pageTop(c, slot, me.caption, secret);
    page.situations = store::loadSituations(c.folder).entries;
    page.timeSituation = text::longTimeText(c.secondsNow);
    page.token = std::move(in.token);
    page.situation = std::move(in.situation);
    if (in.fields) {
        page.fields = *in.fields;
    } else {
        const Partner other = readPartner(c.folder, 3 - slot);
        const entry::DayViewModel view =
            entry::computeDayView(me.log.records, other.log.records, me.profile.heightCm,
                                  text::formatDate(c.today), slot);
        page.fields = entry::fillTexts(view.previousValues);
    }
    page.message = std::move(in.message);
    Response r;
    r.body = formPageHtml(page);
    return r;
}

Response resultResponse(const SiteContext& c, int slot, const std::string& secret,
                        const std::string& headline,
                        const std::optional<entry::SaveMessage>& note) {
    const int otherSlot = 3 - slot;
    const Partner me = readPartner(c.folder, slot);
    const Partner other = readPartner(c.folder, otherSlot);
    const std::string today = text::formatDate(c.today);
    const entry::DayViewModel mine =
        entry::computeDayView(me.log.records, other.log.records, me.profile.heightCm, today, slot);
    const entry::DayViewModel theirs = entry::computeDayView(
        other.log.records, me.log.records, other.profile.heightCm, today, otherSlot);

    ResultPage page;
    page.top = pageTop(c, slot, me.caption, secret);
    page.headline = headline;
    page.note = note;
    // The grid's rows are the day's records in log order; the comments are this partner's.
    std::vector<const store::MeasurementRecord*> dayRecords;
    for (const auto& r : me.log.records)
        if (r.date == today) dayRecords.push_back(&r);
    for (std::size_t i = 0; i < mine.weightRows.size(); ++i) {
        const entry::WeightGridRow& row = mine.weightRows[i];
        DayRow d;
        d.number = row.cells[0].formatted();
        d.situation = row.cells[1].formatted();
        d.weight = row.cells[2].formatted();
        d.change = row.cells[3].formatted() + " " + row.cells[4].formatted();
        d.changeColour = row.previousColour();
        d.bodyFat = row.cells[9].formatted();
        if (i < dayRecords.size()) d.comment = dayRecords[i]->comment;
        page.rows.push_back(std::move(d));
    }
    auto figures = [&](const Partner& p, int s, const entry::DayViewModel& own) {
        PartnerFigures f;
        f.nickname = p.caption;
        f.todayCount = mine.dayCounts[static_cast<std::size_t>(s - 1)].text + " 回";
        f.since = own.daysText.empty() ? comparison::lossShareText(std::nullopt) : own.daysText;
        f.lossShare = comparison::lossShareText(comparison::lossShare(p.log.records));
        return f;
    };
    page.figures = {figures(me, slot, mine), figures(other, otherSlot, theirs)};
    const trend::GoalForecast goal =
        trend::forecastGoal(trend::dailyTrend(me.log.records), me.profile.targetWeightKg, c.today);
    for (const std::string* s : {&goal.forecast, &goal.stall})
        if (!s->empty()) page.trend.push_back(*s);
    Response r;
    r.body = resultPageHtml(page);
    return r;
}

}  // namespace

int Site::slotOfPath(const std::string& path) const {
    int slot = 0;
    // Both secrets are compared every time, so the time taken tells nothing.
    for (int i = 0; i < 2; ++i) {
        const std::string& secret = secrets_[static_cast<std::size_t>(i)];
        const bool match = constantTimeEquals(path, "/" + secret);
        if (match && isSecret(secret) && slot == 0) slot = i + 1;
    }
    return slot;
}

bool Site::mayWrite(const Request& request) const {
    if (request.method != "POST") return false;
    const auto form = parseForm(request.body);
    return form && form->action == FormAction::Save;
}

Answer Site::handle(const Request& request, const SiteContext& c) {
    Answer answer;
    if (guard_.lockedOut(request.peer, c.nowMs)) {
        answer.response = refusal(429);
        return answer;
    }
    if (!hostIsThisComputer(request.host, c.ownAddresses, c.port)) {
        answer.response = refusal(400);
        return answer;
    }
    const int slot = slotOfPath(request.path);
    if (slot == 0) {
        const int delay =
            isAutomaticPath(request.path) ? 0 : guard_.recordFailure(request.peer, c.nowMs);
        answer.response = refusal(guard_.lockedOut(request.peer, c.nowMs) ? 429 : 404);
        answer.response.delayMs = delay;
        return answer;
    }
    if (request.method == "POST") return post(request, c, slot);
    const std::string& secret = secrets_[static_cast<std::size_t>(slot - 1)];
    const auto token = tokens_.issue(slot, text::formatDate(c.today), c.nowMs);
    if (!token) {
        answer.response = refusal(503);
        return answer;
    }
    answer.response = formResponse(c, slot, secret, {*token, "", std::nullopt, std::nullopt});
    return answer;
}

Answer Site::post(const Request& request, const SiteContext& c, int slot) {
    Answer answer;
    const std::string& secret = secrets_[static_cast<std::size_t>(slot - 1)];
    if (!originAllowed(request.origin, request.host)) {
        answer.response = refusal(403);
        return answer;
    }
    const std::string type = request.contentType.substr(0, request.contentType.find(';'));
    if (type != "application/x-www-form-urlencoded") {
        answer.response = refusal(415);
        return answer;
    }
    auto form = parseForm(request.body);
    if (!form) {
        answer.response = refusal(400);
        return answer;
    }
    const std::string today = text::formatDate(c.today);
    const TokenState state = tokens_.check(form->token, slot, c.nowMs);
    if (state == TokenState::OtherPartner) {
        answer.response = refusal(403);
        return answer;
    }
    if (state == TokenState::Used) {
        answer.response =
            resultResponse(c, slot, secret,
                           "この入力はもう保存されています（二重には記録しません）", std::nullopt);
        return answer;
    }
    FormInput in{form->token, form->situation, form->fields, std::nullopt};
    if (form->action == FormAction::Step) applyStep(*form, c.steps), in.fields = form->fields;
    // A form from before midnight, or one this run never made: a new form for today,
    // with what was typed, and a word when it was meant to save.
    const bool stale = state == TokenState::Unknown || tokens_.dayOf(form->token) != today;
    if (stale) {
        const auto token = tokens_.issue(slot, today, c.nowMs);
        if (!token) {
            answer.response = refusal(503);
            return answer;
        }
        in.token = *token;
        if (form->action == FormAction::Save)
            in.message = entry::SaveMessage{
                "この画面は古くなっていたため、保存していません。\n"
                "内容を確かめて、もう一度「保存」を押してください。",
                "保存していません"};
    }
    if (stale || form->action != FormAction::Save) {
        answer.response = formResponse(c, slot, secret, std::move(in));
        return answer;
    }
    // The page offers the situation list and the time; nothing else is written from it.
    if (!form->situation.empty() && !isTimeSituation(form->situation)) {
        const auto list = store::loadSituations(c.folder).entries;
        if (std::find(list.begin(), list.end(), form->situation) == list.end()) {
            in.message = entry::SaveMessage{"状況リストにない状況です。選び直してください。",
                                            "行動入力エラー"};
            answer.response = formResponse(c, slot, secret, std::move(in));
            return answer;
        }
    }
    entry::SaveRequest save;
    save.situation = form->situation;
    save.fieldTexts = form->fields;
    save.selectedDay = today;
    save.autoTime = c.autoTime;
    save.timeText = text::longTimeText(c.secondsNow);
    const entry::SaveOutcome outcome = entry::saveMeasurement(c.folder, slot, save);
    if (!outcome.saved) {
        in.message = outcome.message;
        answer.response = formResponse(c, slot, secret, std::move(in));
        return answer;
    }
    tokens_.useUp(form->token);
    const store::MeasurementRecord& r = outcome.plan->record;
    answer.response = resultResponse(
        c, slot, secret, "保存しました：" + r.situation + "　" + text::floatText(r.weight) + "kg",
        outcome.message);
    answer.saved =
        SavedWeighing{slot, store::partnerCaption(store::readProfile(c.folder, slot).profile, slot),
                      c.secondsNow};
    return answer;
}

}  // namespace pairly::phone
