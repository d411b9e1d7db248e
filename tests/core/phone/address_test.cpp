#include "core/phone/address.h"

#include <gtest/gtest.h>

#include <map>

namespace pairly::phone {
namespace {

TEST(PhoneAddress, ClassesOfTheHomeNetwork) {
    const std::map<AddressClass, std::vector<const char*>> byClass = {
        {AddressClass::Loopback, {"127.0.0.1", "127.8.9.10", "::1"}},
        {AddressClass::Private,
         {"10.0.0.1", "172.16.0.1", "172.31.255.255", "192.168.1.5", "fc00::1", "fdff:1::2",
          "::ffff:192.168.0.9"}},
        {AddressClass::LinkLocal, {"169.254.3.4", "fe80::1", "febf::1"}},
        {AddressClass::Other,
         {"172.15.255.255", "172.32.0.1", "192.169.0.1", "100.64.0.1", "8.8.8.8", "0.0.0.0",
          "fec0::1", "2001:db8::1", "::ffff:8.8.8.8"}}};
    for (const auto& [expected, texts] : byClass)
        for (const char* text : texts) {
            const auto a = parseAddress(text);
            ASSERT_TRUE(a) << text;
            EXPECT_EQ(classify(*a), expected) << text;
        }
    for (const char* text : {"localhost", "192.168.1", ""}) EXPECT_FALSE(parseAddress(text));
}

TEST(PhoneAddress, HostHeaderNamesThisComputer) {
    const std::vector<IpAddress> own = {*parseAddress("127.0.0.1"), *parseAddress("192.168.1.5"),
                                        *parseAddress("fd00::2")};
    for (const char* host : {"192.168.1.5:8765", "127.0.0.1:8765", "localhost:8765",
                             "LocalHost:8765", "[fd00::2]:8765", "[FD00:0::2]:8765"})
        EXPECT_TRUE(hostIsThisComputer(host, own, 8765)) << host;
    for (const char* host : {"192.168.1.5", "192.168.1.5:8766", "192.168.1.6:8765",
                             "attacker.example:8765", "fd00::2:8765", "[::ffff:192.168.1.5]:8765",
                             "192.168.1.5:", "192.168.1.5:87650", "", "localhost.:8765"})
        EXPECT_FALSE(hostIsThisComputer(host, own, 8765)) << host;
}

TEST(PhoneAddress, OriginOfThePageItself) {
    const struct {
        std::optional<std::string> origin;
        bool allowed;
    } cases[] = {{std::nullopt, true},
                 {"http://192.168.1.5:8765", true},
                 {"HTTP://192.168.1.5:8765", true},
                 {"null", false},
                 {"https://192.168.1.5:8765", false},
                 {"http://192.168.1.5:8766", false},
                 {"http://attacker.example", false},
                 {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(originAllowed(c.origin, "192.168.1.5:8765"), c.allowed) << c.origin.value_or("-");
}

TEST(PhoneAddress, LinkAddressPrefersTheHomeLan) {
    const struct {
        std::vector<const char*> addresses;
        const char* expected;  // "" for none
    } cases[] = {{{"127.0.0.1"}, ""},
                 {{"127.0.0.1", "fe80::1"}, ""},
                 {{"127.0.0.1", "fd00::2", "172.17.0.1", "10.1.2.3", "192.168.0.7"}, "192.168.0.7"},
                 {{"fd00::2", "169.254.9.9"}, "169.254.9.9"},
                 {{"fd00::2"}, "[fd00::2]"}};
    for (const auto& c : cases) {
        std::vector<IpAddress> list;
        for (const char* a : c.addresses) list.push_back(*parseAddress(a));
        const auto chosen = linkAddress(list);
        EXPECT_EQ(chosen ? urlHost(*chosen) : "", c.expected);
    }
}

}  // namespace
}  // namespace pairly::phone
