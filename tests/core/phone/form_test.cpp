#include "core/phone/form.h"

#include <gtest/gtest.h>

#include "core/phone/http.h"

namespace pairly::phone {
namespace {

TEST(PhoneForm, ParsesWhatThePageSends) {
    const struct {
        const char* body;
        bool valid;
        FormAction action = FormAction::Show;
        int stepField = 0;
        bool up = true;
        const char* situation = "";
        const char* weight = "";
    } cases[] = {
        {"t=ab&s=%E6%9C%9D%E9%A3%9F%E5%89%8D&v0=60.5&act=save", true, FormAction::Save, 0, true,
         "朝食前", "60.5"},
        {"t=ab&v0=60&step=0%2B", true, FormAction::Step, 0, true, "", "60"},
        {"t=ab&step=3-&v0=", true, FormAction::Step, 3, false},
        {"t=ab", true},
        {"t=ab&act=show&x=1&&y", true},  // names the page never sends are passed over
        {"t=ab&v0=+6+0", true, FormAction::Show, 0, true, "", " 6 0"},
        {"s=x&act=save", false},             // no token
        {"t=&act=save", false},              // an empty one
        {"t=%ZZ", false},                    // a broken escape
        {"t=ab%2", false},                   // cut short
        {"t=ab&t=cd", false},                // a name twice
        {"t=ab&act=delete", false},          // a button the page does not have
        {"t=ab&step=7%2B", false},           // a field it does not have
        {"t=ab&step=0%2B&act=save", false},  // two buttons at once
        {"t=ab&s=%FF", false},               // not UTF-8
        {"t=ab&s=%C0%AF", false},            // an overlong form
        {"t=ab&s=a%0Ab", false},             // a line break
    };
    for (const auto& c : cases) {
        const auto form = parseForm(c.body);
        ASSERT_EQ(form.has_value(), c.valid) << c.body;
        if (!form) continue;
        EXPECT_EQ(form->action, c.action) << c.body;
        if (c.action == FormAction::Step) {
            EXPECT_EQ(static_cast<int>(form->stepField), c.stepField) << c.body;
            EXPECT_EQ(form->stepUp, c.up) << c.body;
        }
        EXPECT_EQ(form->situation, c.situation) << c.body;
        EXPECT_EQ(form->fields[0], c.weight) << c.body;
    }
    EXPECT_FALSE(parseForm("t=ab&s=" + std::string(201, 'a')));
    std::string many = "t=ab";
    for (int i = 0; i < 16; ++i) many += "&n" + std::to_string(i) + "=1";
    EXPECT_FALSE(parseForm(many));
}

TEST(PhoneForm, StepsAsTheEntryPanel) {
    const store::ScaleSteps steps{"0.2", "0.5"};
    const struct {
        const char* body;
        int field;
        const char* expected;
    } cases[] = {
        {"t=a&v0=53.8&step=0%2B", 0, "54"},
        {"t=a&v0=53.8&step=0-", 0, "53.6"},
        {"t=a&v1=28.8&step=1%2B", 1, "29.3"},
        {"t=a&v2=1129&step=2-", 2, "1128"},
        {"t=a&step=4%2B", 4, "0.1"},
        {"t=a&v6=2.2kg&step=6%2B", 6, "2.3"},
        {"t=a&v3=%EF%BC%93&step=3%2B", 3, "4"},  // full-width 3
    };
    for (const auto& c : cases) {
        auto form = *parseForm(c.body);
        applyStep(form, steps);
        EXPECT_EQ(form.fields[static_cast<std::size_t>(c.field)], c.expected) << c.body;
        EXPECT_EQ(form.action, FormAction::Step);
    }
}

TEST(PhoneForm, TimeSituations) {
    for (const char* text : {"7:05:09", "23:59:59", "0:00:00"}) EXPECT_TRUE(isTimeSituation(text));
    for (const char* text : {"24:00:00", "07:05:09", "7:60:00", "7:05", "朝食前", "7:05:09 "})
        EXPECT_FALSE(isTimeSituation(text)) << text;
}

TEST(PhoneHttp, BoundsOfARequest) {
    const struct {
        const char* method;
        const char* path;
        std::size_t headerBytes;
        std::optional<std::string> length;
        int status;  // 0: may go on
    } cases[] = {{"GET", "/abc", 200, std::nullopt, 0},
                 {"POST", "/abc", 8192, "4096", 0},
                 {"PUT", "/abc", 200, std::nullopt, 405},
                 {"HEAD", "/abc", 200, std::nullopt, 405},
                 {"GET", "/abc", 8193, std::nullopt, 431},
                 {"POST", "/abc", 200, "4097", 413},
                 {"POST", "/abc", 200, "99999999999", 413},
                 {"POST", "/abc", 200, "-1", 400},
                 {"POST", "/abc", 200, "", 400},
                 {"GET", "abc", 200, std::nullopt, 404},
                 {"GET", "", 200, std::nullopt, 404}};
    for (const auto& c : cases) {
        const auto refused = checkHead({c.method, c.path, c.headerBytes, c.length});
        EXPECT_EQ(refused ? refused->status : 0, c.status) << c.method << " " << c.path;
    }
    EXPECT_EQ(checkHead({"GET", "/" + std::string(kMaxPathBytes, 'a'), 10, {}})->status, 404);
    EXPECT_EQ(refusal(405).headers, (std::vector<Header>{{"Allow", "GET, POST"}}));
}

TEST(PhoneHttp, EveryAnswerIsLockedDown) {
    const std::vector<Header> expected = {
        {"Content-Type", "text/html; charset=utf-8"},
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'unsafe-inline'; img-src data:; form-action 'self'; "
         "base-uri 'none'; frame-ancestors 'none'"},
        {"Referrer-Policy", "same-origin"},
        {"X-Frame-Options", "DENY"},
        {"Cache-Control", "no-store"},
        {"X-Content-Type-Options", "nosniff"},
        {"Connection", "close"}};
    EXPECT_EQ(commonHeaders(), expected);
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {{"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
                 {"ミカ\"><img onerror=x>", "ミカ&quot;&gt;&lt;img onerror=x&gt;"},
                 {"a&b 'c'", "a&amp;b &#39;c&#39;"}};
    for (const auto& c : cases) EXPECT_EQ(escapeHtml(c.text), c.escaped);
}

}  // namespace
}  // namespace pairly::phone
