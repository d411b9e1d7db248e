#include "gui/phone/net_addresses.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace pairly::gui::phone {

namespace {

using pairly::phone::AddressClass;
using pairly::phone::IpAddress;

// Tunnels face another network; bridges of containers and virtual machines face guests.
bool isTunnelOrBridge(const std::string& name) {
    static const char* const kPrefixes[] = {"tun",   "tap",     "wg",      "ppp",   "tailscale",
                                            "zt",    "utun",    "docker",  "br-",   "veth",
                                            "virbr", "vmnet",   "vboxnet", "lxc",   "lxd",
                                            "cni",   "flannel", "podman",  "ipsec", "vpn"};
    return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                       [&](const char* p) { return name.rfind(p, 0) == 0; });
}

}  // namespace

std::vector<IpAddress> listeningAddresses() {
    std::vector<IpAddress> out;
    IpAddress loopback;
    loopback.bytes[0] = 127;
    loopback.bytes[3] = 1;
    out.push_back(loopback);
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_POINTOPOINT) ||
            (i->ifa_flags & IFF_LOOPBACK) || isTunnelOrBridge(i->ifa_name))
            continue;
        IpAddress a;
        if (i->ifa_addr->sa_family == AF_INET) {
            a.family = 4;
            std::memcpy(a.bytes.data(), &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, 4);
        } else if (i->ifa_addr->sa_family == AF_INET6) {
            a.family = 6;
            std::memcpy(a.bytes.data(), &reinterpret_cast<sockaddr_in6*>(i->ifa_addr)->sin6_addr,
                        16);
        } else {
            continue;
        }
        const AddressClass c = pairly::phone::classify(a);
        // An IPv6 link-local address needs its interface named in every link: no use here.
        const bool usable =
            c == AddressClass::Private || (c == AddressClass::LinkLocal && a.family == 4);
        if (usable && std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
    }
    freeifaddrs(list);
    // A handful is all a home has, each address one listening server: the best kept.
    std::stable_sort(out.begin() + 1, out.end(), [](const IpAddress& a, const IpAddress& b) {
        return pairly::phone::linkPreference(a) < pairly::phone::linkPreference(b);
    });
    if (out.size() > 4) out.resize(4);
    return out;
}

}  // namespace pairly::gui::phone
