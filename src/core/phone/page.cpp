#include "core/phone/page.h"

#include "core/phone/form.h"
#include "core/phone/http.h"

namespace pairly::phone {

namespace {

struct FieldLook {
    const char* label;
    const char* unit;
};
constexpr FieldLook kFieldLook[entry::kFieldCount] = {
    {"体重", "kg"},   {"体脂肪率", "%"},  {"基礎代謝", "kcal"}, {"内臓脂肪", "レベル"},
    {"筋肉量", "kg"}, {"筋肉スコア", ""}, {"骨量", "kg"},
};

std::string css(const base::Rgb& c) {
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) +
           ")";
}

const char* const kStyle =
    "*{box-sizing:border-box}"
    "body{margin:0;font-family:sans-serif;font-size:20px;line-height:1.4;background:#f6f6f6;"
    "color:#222}"
    "header{background:var(--c);color:#fff;padding:6px 16px}"
    "h1{font-size:24px;margin:0;overflow-wrap:anywhere}"
    "header p{margin:0;font-size:16px}"
    "main{padding:8px 14px 24px;max-width:560px;margin:0 auto}"
    ".msg{border:2px solid #c33;background:#fff0f0;padding:8px 12px;margin:0 0 12px;"
    "border-radius:8px}"
    ".msg b{display:block}"
    ".ok{border-color:var(--c);background:#fff}"
    "fieldset{border:0;padding:0;margin:0 0 10px;min-width:0}"
    "legend{font-weight:bold;padding:0;margin-bottom:4px}"
    ".sit{display:grid;grid-template-columns:repeat(3,1fr);gap:8px}"
    ".sit label{position:relative}"
    ".sit input{position:absolute;opacity:0;width:1px;height:1px}"
    ".sit span{display:flex;min-height:46px;align-items:center;justify-content:center;"
    "text-align:center;padding:4px;border:2px solid #bbb;border-radius:8px;background:#fff;"
    "font-size:18px;overflow-wrap:anywhere}"
    ".sit input:checked+span{background:var(--c);border-color:var(--c);color:#fff;"
    "font-weight:bold}"
    ".sit input:focus-visible+span{outline:3px solid #222}"
    ".row{display:grid;grid-template-columns:5.2em 52px 1fr 52px;gap:6px;align-items:center;"
    "margin-bottom:6px}"
    ".row label{font-weight:bold;font-size:17px;line-height:1.2}"
    ".row small{display:block;font-weight:normal;color:#666;font-size:14px}"
    ".row input{font-size:24px;height:48px;width:100%;min-width:0;text-align:right;"
    "padding:0 10px;border:2px solid #aaa;border-radius:8px}"
    ".row button{height:48px;font-size:28px;border:2px solid #aaa;border-radius:8px;"
    "background:#fff;color:#222;padding:0}"
    ".save{display:block;width:100%;height:60px;font-size:26px;font-weight:bold;color:#fff;"
    "background:var(--c);border:0;border-radius:12px;margin-top:10px}"
    ".hide{position:absolute;left:-9999px;width:1px;height:1px;overflow:hidden}"
    "h2{font-size:20px;margin:18px 0 6px}"
    "table{width:100%;border-collapse:collapse;background:#fff;font-size:17px}"
    "th,td{border:1px solid #ccc;padding:6px;text-align:left}"
    "td.n{text-align:right;white-space:nowrap}"
    "table.two td,table.two th{width:50%;text-align:center;font-size:16px}"
    "table.two th.cap{font-weight:normal;color:#555;font-size:14px;text-align:left;"
    "background:#f0f0f0}"
    ".cm{color:#555;font-size:15px}"
    ".trend{background:#fff;border-left:6px solid var(--c);padding:8px 12px;margin:6px 0}"
    ".again{display:block;text-align:center;margin-top:18px;padding:16px;border-radius:12px;"
    "background:var(--c);color:#fff;font-weight:bold;text-decoration:none;font-size:22px}";

std::string head(const PageTop& top, const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta name=\"referrer\" content=\"same-origin\">\n"
           "<link rel=\"icon\" href=\"data:,\">\n<title>" +
           escapeHtml(title) + "</title>\n<style>:root{--c:" + css(top.colour) + "}" + kStyle +
           "</style></head>\n<body><header><h1>" + escapeHtml(top.nickname) + "</h1><p>" +
           escapeHtml(top.dateText) + "</p></header>\n<main>\n";
}

std::string messageBox(const entry::SaveMessage& m, const char* cls = "msg") {
    std::string text = escapeHtml(m.text);
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 4)
        text.replace(at, 1, "<br>");
    return std::string("<div class=\"") + cls + "\" role=\"alert\"><b>" + escapeHtml(m.title) +
           "</b>" + text + "</div>\n";
}

std::string situationTile(const std::string& value, const std::string& label, bool checked) {
    return "<label><input type=\"radio\" name=\"" + std::string(kSituationName) + "\" value=\"" +
           escapeHtml(value) + "\"" + (checked ? " checked" : "") + "><span>" + escapeHtml(label) +
           "</span></label>";
}

}  // namespace

std::string formPageHtml(const FormPage& p) {
    std::string h = head(p.top, p.top.nickname + " の記録 - ペアリー☆ログ");
    if (p.message) h += messageBox(*p.message);
    h += "<form method=\"post\" action=\"" + escapeHtml(p.top.action) +
         "\" accept-charset=\"utf-8\" autocomplete=\"off\">\n";
    // The first button is the one Enter presses: it shows the form again, never saves.
    h += "<button class=\"hide\" name=\"act\" value=\"show\" tabindex=\"-1\" "
         "aria-hidden=\"true\">表示</button>\n";
    h += "<input type=\"hidden\" name=\"" + std::string(kTokenName) + "\" value=\"" +
         escapeHtml(p.token) + "\">\n";
    h += "<fieldset><legend>状況</legend><div class=\"sit\">";
    bool chosenListed = false;
    for (const std::string& s : p.situations) {
        const bool checked = !chosenListed && s == p.situation;
        chosenListed = chosenListed || checked;
        h += situationTile(s, s, checked);
    }
    // The time button's situation: the time chosen before, else the time now.
    const bool timeChosen = !chosenListed && isTimeSituation(p.situation);
    const std::string time = timeChosen ? p.situation : p.timeSituation;
    h += situationTile(time, "時刻 " + time, timeChosen);
    h += "</div></fieldset>\n";
    for (int i = 0; i < entry::kFieldCount; ++i) {
        const FieldLook& f = kFieldLook[i];
        const std::string id = kFieldNames[i];
        const std::string label = f.label;
        h += "<div class=\"row\"><label for=\"" + id + "\">" + label;
        if (*f.unit) h += std::string("<small>") + f.unit + "</small>";
        h += "</label><button name=\"step\" value=\"" + std::to_string(i) + "-\" aria-label=\"" +
             label + "を減らす\">−</button><input id=\"" + id + "\" name=\"" + id + "\" value=\"" +
             escapeHtml(p.fields[static_cast<std::size_t>(i)]) +
             "\" inputmode=\"decimal\"><button name=\"step\" value=\"" + std::to_string(i) +
             "+\" aria-label=\"" + label + "を増やす\">+</button></div>\n";
    }
    h += "<button class=\"save\" name=\"act\" value=\"save\">保存</button>\n</form>\n";
    h += "</main></body></html>\n";
    return h;
}

std::string resultPageHtml(const ResultPage& p) {
    std::string h = head(p.top, p.top.nickname + " の記録 - ペアリー☆ログ");
    h += "<div class=\"msg ok\" role=\"status\"><b>" + escapeHtml(p.headline) + "</b></div>\n";
    if (p.note) h += messageBox(*p.note);
    h += "<h2>今日の記録</h2>\n<table><tr><th>回</th><th>状況</th><th>体重</th><th>前回差</th>"
         "<th>体脂肪</th></tr>\n";
    for (const DayRow& r : p.rows) {
        h += "<tr><td class=\"n\">" + escapeHtml(r.number) + "</td><td>" + escapeHtml(r.situation) +
             "</td><td class=\"n\">" + escapeHtml(r.weight) +
             "</td><td class=\"n\" style=\"background:" + css(r.changeColour) + "\">" +
             escapeHtml(r.change) + "</td><td class=\"n\">" + escapeHtml(r.bodyFat) +
             "</td></tr>\n";
        if (!r.comment.empty())
            h += "<tr><td></td><td class=\"cm\" colspan=\"4\">" + escapeHtml(r.comment) +
                 "</td></tr>\n";
    }
    // Each figure's caption over the two partners' values, so that both fit a phone's width.
    h += "</table>\n<h2>ふたりの様子</h2>\n<table class=\"two\"><tr><th>" +
         escapeHtml(p.figures[0].nickname) + "</th><th>" + escapeHtml(p.figures[1].nickname) +
         "</th></tr>\n";
    const struct {
        const char* caption;
        std::string PartnerFigures::*value;
    } rows[] = {{"今日の記録回数", &PartnerFigures::todayCount},
                {"記録開始日 → 経過日数", &PartnerFigures::since},
                {"減量率（スタート比）", &PartnerFigures::lossShare}};
    for (const auto& row : rows)
        h += std::string("<tr><th class=\"cap\" colspan=\"2\">") + row.caption +
             "</th></tr>\n<tr><td>" + escapeHtml(p.figures[0].*row.value) + "</td><td>" +
             escapeHtml(p.figures[1].*row.value) + "</td></tr>\n";
    h += "</table>\n";
    for (const std::string& sentence : p.trend)
        h += "<p class=\"trend\">" + escapeHtml(sentence) + "</p>\n";
    h += "<a class=\"again\" href=\"" + escapeHtml(p.top.action) + "\">続けて入力する</a>\n";
    h += "</main></body></html>\n";
    return h;
}

}  // namespace pairly::phone
