#include "core/phone/address.h"

#include <gtest/gtest.h>

namespace pairly::phone {
namespace {

TEST(PhoneAddress, ClassesOfTheHomeNetwork) {
    const struct {
        const char* text;
        std::optional<AddressClass> expected;  // nullopt: not an address
    } cases[] = {
        {"127.0.0.1", AddressClass::Loopback},       {"127.8.9.10", AddressClass::Loopback},
        {"10.0.0.1", AddressClass::Private},         {"172.15.255.255", AddressClass::Other},
        {"172.16.0.1", AddressClass::Private},       {"172.31.255.255", AddressClass::Private},
        {"172.32.0.1", AddressClass::Other},         {"192.168.1.5", AddressClass::Private},
        {"192.169.0.1", AddressClass::Other},        {"169.254.3.4", AddressClass::LinkLocal},
        {"100.64.0.1", AddressClass::Other},         {"8.8.8.8", AddressClass::Other},
        {"0.0.0.0", AddressClass::Other},            {"::1", AddressClass::Loopback},
        {"fc00::1", AddressClass::Private},          {"fdff:1::2", AddressClass::Private},
        {"fe80::1", AddressClass::LinkLocal},        {"febf::1", AddressClass::LinkLocal},
        {"fec0::1", AddressClass::Other},            {"2001:db8::1", AddressClass::Other},
        {"::ffff:192.168.0.9", AddressClass::Private}, {"::ffff:8.8.8.8", AddressClass::Other},
        {"localhost", std::nullopt},                 {"192.168.1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto a = parseAddress(c.text);
        ASSERT_EQ(a.has_value(), c.expected.has_value()) << c.text;
        if (a) EXPECT_EQ(classify(*a), *c.expected) << c.text;
    }
}

TEST(PhoneAddress, HostHeaderNamesThisComputer) {
    const std::vector<IpAddress> own = {*parseAddress("127.0.0.1"), *parseAddress("192.168.1.5"),
                                        *parseAddress("fd00::2")};
    const struct {
        const char* host;
        bool allowed;
    } cases[] = {
        {"192.168.1.5:8765", true},   {"127.0.0.1:8765", true},
        {"localhost:8765", true},     {"LocalHost:8765", true},
        {"[fd00::2]:8765", true},     {"[FD00:0::2]:8765", true},
        {"192.168.1.5", false},       {"192.168.1.5:8766", false},
        {"192.168.1.6:8765", false},  {"attacker.example:8765", false},
        {"fd00::2:8765", false},      {"[::ffff:192.168.1.5]:8765", false},
        {"192.168.1.5:", false},      {"192.168.1.5:87650", false},
        {"", false},                  {"localhost.:8765", false},
    };
    for (const auto& c : cases) EXPECT_EQ(hostIsThisComputer(c.host, own, 8765), c.allowed) << c.host;
}

TEST(PhoneAddress, OriginOfThePageItself) {
    const struct {
        std::optional<std::string> origin;
        bool allowed;
    } cases[] = {
        {std::nullopt, true},
        {"http://192.168.1.5:8765", true},
        {"HTTP://192.168.1.5:8765", true},
        {"null", false},
        {"https://192.168.1.5:8765", false},
        {"http://192.168.1.5:8766", false},
        {"http://attacker.example", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(originAllowed(c.origin, "192.168.1.5:8765"), c.allowed) << c.origin.value_or("-");
}

TEST(PhoneAddress, LinkAddressPrefersTheHomeLan) {
    const struct {
        std::vector<const char*> addresses;
        const char* expected;  // "" for none
    } cases[] = {
        {{"127.0.0.1"}, ""},
        {{"127.0.0.1", "fe80::1"}, ""},
        {{"127.0.0.1", "fd00::2", "172.17.0.1", "10.1.2.3", "192.168.0.7"}, "192.168.0.7"},
        {{"fd00::2", "169.254.9.9"}, "169.254.9.9"},
        {{"fd00::2"}, "[fd00::2]"},
    };
    for (const auto& c : cases) {
        std::vector<IpAddress> list;
        for (const char* a : c.addresses) list.push_back(*parseAddress(a));
        const auto chosen = linkAddress(list);
        EXPECT_EQ(chosen ? urlHost(*chosen) : "", c.expected);
    }
}

}  // namespace
}  // namespace pairly::phone
