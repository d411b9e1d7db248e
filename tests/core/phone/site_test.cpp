#include "core/phone/site.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/temp_folder.h"

namespace pairly::phone {
namespace {

constexpr char kSecret1[] = "Partner1Secret-0123456";
constexpr char kSecret2[] = "Partner2Secret_abcdefg";
constexpr char kLog2[] = "\"2026/12/07\",\"起床後\",53.2,28.9,1124,3,33.6,0,2.2,\"<b>\",\"\"\r\n";

class PhoneSite : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt",
                          "\"氏名\",\"たくや\"\r\n\"身長\",172\r\n\"目標体重\",68\r\n");
        folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ2.txt",
                          "\"氏名\",\"みさき\"\r\n\"身長\",158\r\n\"目標体重\",50\r\n");
        folder.writeCp932("状況リスト.txt", "\"起床後\"\r\n\"朝食前\"\r\n");
        folder.writeCp932("データ2.txt", kLog2);
        site.setSecrets({kSecret1, kSecret2});
        context.folder = folder.path();
        context.today = {2026, 12, 7};
        context.secondsNow = 7 * 3600 + 5 * 60 + 9;
        context.colours = {base::Rgb{40, 110, 220}, base::Rgb{225, 60, 110}};
        context.ownAddresses = {*parseAddress("127.0.0.1")};
        context.port = 8765;
    }
    Answer send(const std::string& method, const std::string& path, const std::string& body = "",
                std::optional<std::string> origin = std::nullopt,
                const std::string& host = "127.0.0.1:8765") {
        return site.handle(
            {method, path, host, origin, "application/x-www-form-urlencoded", body, "127.0.0.1"},
            context);
    }
    std::string token(int slot) {
        const std::string page =
            send("GET", slot == 1 ? "/Partner1Secret-0123456" : "/Partner2Secret_abcdefg")
                .response.body;
        std::smatch m;
        std::regex_search(page, m, std::regex("name=\"t\" value=\"([0-9a-f]+)\""));
        return m[1];
    }

    testing::TempFolder folder;
    Site site;
    SiteContext context;
};

const std::string kPage2 = "/Partner2Secret_abcdefg";

TEST_F(PhoneSite, PagesOfEachPartnerOnly) {
    // (Host, Origin, tokens and malformed forms against the real server: tests/phone.)
    const struct {
        std::string path;
        std::optional<std::string> origin;
        int status;
        const char* shows;
    } cases[] = {{kPage2, {}, 200, "<h1>みさき</h1>"},
                 {"/Partner1Secret-0123456", {}, 200, "<h1>たくや</h1>"},
                 {"/Partner2Secret_abcdef", {}, 404, "ページが見つかりません"},
                 {"/Partner2Secret_abcdefg/", {}, 404, "ページが見つかりません"}};
    for (const auto& c : cases) {
        const Answer a = send("GET", c.path);
        EXPECT_EQ(a.response.status, c.status) << c.path;
        EXPECT_NE(a.response.body.find(c.shows), std::string::npos) << c.path;
    }
    // A browser's own form under no-referrer would say "null": not the page's origin.
    const std::string before = folder.readBytes("データ2.txt");
    EXPECT_EQ(send("POST", kPage2,
                   "t=" + token(2) +
                       "&s=%E8%B5%B7%E5%BA%8A%E5%BE%8C&v0=53&v1=28"
                       "&act=save",
                   "null")
                  .response.status,
              403);
    EXPECT_EQ(folder.readBytes("データ2.txt"), before);
    // The page as the entry panel fills it: the latest weighing, lstAct's order, the time.
    const std::string page = send("GET", kPage2).response.body;
    for (const char* part : {"value=\"53.2\"", "value=\"1124\"", "value=\"起床後\"><span>起床後",
                             "value=\"7:05:09\"><span>時刻 7:05:09", "--c:rgb(225,60,110)"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_LT(page.find("起床後</span>"), page.find("朝食前</span>"));
}

TEST_F(PhoneSite, SavesAsTheInputScreen) {
    const std::string line = "\"2026/12/07\",\"朝食前\",53.9,28.8,1129,3,34,0,2.2,\"\",\"\"\r\n";
    const struct {
        const char* what;
        std::string body;  // after the token
        bool sameToken;    // posted with the token of the case before
        const char* shows;
        bool saves;
    } cases[] = {
        {"no situation", "&v0=53.9&v1=28.8&act=save", false, "行動が指定されていません", false},
        {"no weight", "&s=%E6%9C%9D%E9%A3%9F%E5%89%8D&v1=28.8&act=save", false,
         "体重が入力されていません", false},
        {"a weight that is no number", "&s=%E6%9C%9D%E9%A3%9F%E5%89%8D&v0=abc&v1=1&act=save", false,
         "体重は0より大きく600以下の数値で入力してください", false},
        {"a situation not on the list", "&s=%E5%A4%9C&v0=53.9&v1=28.8&act=save", false,
         "状況リストにない状況です", false},
        {"+ on the weight", "&s=%E6%9C%9D%E9%A3%9F%E5%89%8D&v0=53.9&step=0%2B", false,
         "value=\"54\"", false},
        {"a save",
         "&s=%E6%9C%9D%E9%A3%9F%E5%89%8D&v0=53.9&v1=28.8&v2=1129&v3=3&v4=34&v5=0&v6=2.2"
         "&act=save",
         false, "保存しました：朝食前　53.9kg", true},
        {"the same form again", "&act=save", true, "もう保存されています", false}};
    std::string t;
    std::string expected = folder.readCp932("データ2.txt");
    for (const auto& c : cases) {
        if (!c.sameToken) t = token(2);
        const Answer a = send("POST", kPage2, "t=" + t + c.body);
        EXPECT_EQ(a.response.status, 200) << c.what;
        EXPECT_NE(a.response.body.find(c.shows), std::string::npos) << c.what;
        EXPECT_EQ(a.saved.has_value(), c.saves) << c.what;
        if (c.saves) expected += line;
        EXPECT_EQ(folder.readCp932("データ2.txt"), expected) << c.what;
    }
    // The answer to a save: the day's weighings with this partner's comment escaped, both
    // partners' figures.
    const std::string page = send("POST", kPage2, "t=" + t + "&act=save").response.body;
    for (const char* part : {"&lt;b&gt;", "<th>みさき</th><th>たくや</th>", "1.3% 増"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    // A form of yesterday saves nothing today.
    t = token(2);
    context.today = {2026, 12, 8};
    const Answer late = send("POST", kPage2, "t=" + t + cases[5].body);
    EXPECT_NE(late.response.body.find("古くなっていた"), std::string::npos);
    EXPECT_EQ(folder.readCp932("データ2.txt"), expected);
}

}  // namespace
}  // namespace pairly::phone
