#pragma once
// This computer's addresses the phone page may listen on: loopback (127.0.0.1) and the
// home-network addresses of its up interfaces, leaving out VPN tunnels and the bridges of
// containers and virtual machines.
#include <vector>

#include "core/phone/address.h"

namespace pairly::gui::phone {

std::vector<pairly::phone::IpAddress> listeningAddresses();

}  // namespace pairly::gui::phone
