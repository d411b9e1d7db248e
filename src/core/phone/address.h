#pragma once
// Which addresses the phone page may listen on and answer, and which Host and Origin
// headers name this computer: loopback and the private ranges of a home network only.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::phone {

struct IpAddress {
    int family = 4;                        // 4 or 6
    std::array<std::uint8_t, 16> bytes{};  // IPv4 in the first four
    bool operator==(const IpAddress&) const = default;
};

// A numeric address ("192.168.1.5", "fe80::1"); an IPv4-mapped IPv6 address is read as its
// IPv4 address. Names and anything else give nullopt.
std::optional<IpAddress> parseAddress(std::string_view text);
// The usual numeric text ("192.168.1.5", "fd00::1").
std::string addressText(const IpAddress& address);

// Loopback: 127/8, ::1. Private: 10/8, 172.16/12, 192.168/16, fc00::/7. Link-local:
// 169.254/16, fe80::/10. Everything else (public, unspecified, multicast, CGNAT) is Other.
enum class AddressClass { Loopback, Private, LinkLocal, Other };
AddressClass classify(const IpAddress& address);
// The page listens on and answers only these.
bool isHomeAddress(const IpAddress& address);

// The address a phone is best pointed at: a private IPv4 address (192.168 before 10 before
// 172.16), then an IPv4 link-local one, then a private IPv6 one; never loopback, and not an
// IPv6 link-local address (a browser cannot open one without its interface).
std::optional<IpAddress> linkAddress(const std::vector<IpAddress>& addresses);
// The order of that choice: 0 is best, 9 is no address for a link.
int linkPreference(const IpAddress& address);
// How an address is written in a link: IPv6 in brackets.
std::string urlHost(const IpAddress& address);

// The host and port of a Host header ("192.168.1.5:8765", "[fd00::1]:8765", "localhost").
struct HostPort {
    std::string host;  // lower case, without brackets
    std::optional<int> port;
};
std::optional<HostPort> parseHost(std::string_view header);

// The Host header names this computer: one of its addresses (or "localhost") and the port
// the page listens on. Any other name is refused, so that a page of another site whose
// name was made to point here (DNS rebinding) cannot read or post.
bool hostIsThisComputer(std::string_view hostHeader, const std::vector<IpAddress>& own, int port);

// A POST is taken without an Origin header (older browsers) or with the page's own:
// "http://" followed by the Host header. "null" and every other origin are refused.
bool originAllowed(const std::optional<std::string>& origin, std::string_view hostHeader);

}  // namespace pairly::phone
