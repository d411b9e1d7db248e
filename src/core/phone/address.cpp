#include "core/phone/address.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace pairly::phone {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::optional<IpAddress> parseAddress(std::string_view text) {
    if (text.empty() || text.size() > 64) return std::nullopt;
    const std::string s(text);
    IpAddress a;
    if (inet_pton(AF_INET, s.c_str(), a.bytes.data()) == 1) {
        a.family = 4;
        return a;
    }
    if (inet_pton(AF_INET6, s.c_str(), a.bytes.data()) != 1) return std::nullopt;
    a.family = 6;
    static constexpr std::uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (std::memcmp(a.bytes.data(), kMapped, 12) == 0) {
        IpAddress v4;
        std::copy(a.bytes.begin() + 12, a.bytes.end(), v4.bytes.begin());
        return v4;
    }
    return a;
}

std::string addressText(const IpAddress& address) {
    char buffer[INET6_ADDRSTRLEN] = {};
    inet_ntop(address.family == 4 ? AF_INET : AF_INET6, address.bytes.data(), buffer,
              sizeof buffer);
    return buffer;
}

AddressClass classify(const IpAddress& a) {
    const auto& b = a.bytes;
    if (a.family == 4) {
        if (b[0] == 127) return AddressClass::Loopback;
        if (b[0] == 10 || (b[0] == 172 && (b[1] & 0xf0) == 16) || (b[0] == 192 && b[1] == 168))
            return AddressClass::Private;
        if (b[0] == 169 && b[1] == 254) return AddressClass::LinkLocal;
        return AddressClass::Other;
    }
    static constexpr std::uint8_t kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    if (std::memcmp(b.data(), kLoopback, 16) == 0) return AddressClass::Loopback;
    if ((b[0] & 0xfe) == 0xfc) return AddressClass::Private;
    if (b[0] == 0xfe && (b[1] & 0xc0) == 0x80) return AddressClass::LinkLocal;
    return AddressClass::Other;
}

bool isHomeAddress(const IpAddress& address) { return classify(address) != AddressClass::Other; }

int linkPreference(const IpAddress& a) {
    const AddressClass c = classify(a);
    if (a.family == 4 && c == AddressClass::Private)
        return a.bytes[0] == 192 ? 0 : a.bytes[0] == 10 ? 1 : 2;
    if (a.family == 4 && c == AddressClass::LinkLocal) return 3;
    if (a.family == 6 && c == AddressClass::Private) return 4;
    return 9;
}

std::optional<IpAddress> linkAddress(const std::vector<IpAddress>& addresses) {
    const auto rank = linkPreference;
    const IpAddress* best = nullptr;
    for (const IpAddress& a : addresses)
        if (rank(a) < 9 && (!best || rank(a) < rank(*best))) best = &a;
    if (!best) return std::nullopt;
    return *best;
}

std::string urlHost(const IpAddress& address) {
    return address.family == 6 ? "[" + addressText(address) + "]" : addressText(address);
}

std::optional<HostPort> parseHost(std::string_view header) {
    if (header.empty() || header.size() > 255) return std::nullopt;
    HostPort out;
    std::string_view rest;
    if (header.front() == '[') {
        const std::size_t close = header.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        out.host = lower(header.substr(1, close - 1));
        rest = header.substr(close + 1);
        if (!parseAddress(out.host) || parseAddress(out.host)->family != 6) return std::nullopt;
    } else {
        const std::size_t colon = header.find(':');
        out.host = lower(header.substr(0, colon));
        if (colon != std::string_view::npos) rest = header.substr(colon);
        if (out.host.empty()) return std::nullopt;
    }
    if (!rest.empty()) {
        if (rest.front() != ':' || !allDigits(rest.substr(1)) || rest.size() > 6)
            return std::nullopt;
        out.port = std::stoi(std::string(rest.substr(1)));
    }
    return out;
}

bool hostIsThisComputer(std::string_view hostHeader, const std::vector<IpAddress>& own, int port) {
    const auto hp = parseHost(hostHeader);
    if (!hp || hp->port.value_or(80) != port) return false;
    if (hp->host == "localhost") return true;
    const auto address = parseAddress(hp->host);
    // A mapped or otherwise respelt address must still be written as an address literal.
    if (!address || (address->family == 6) != (hostHeader.front() == '[')) return false;
    return std::find(own.begin(), own.end(), *address) != own.end();
}

bool originAllowed(const std::optional<std::string>& origin, std::string_view hostHeader) {
    if (!origin) return true;
    return lower(*origin) == "http://" + lower(hostHeader);
}

}  // namespace pairly::phone
