#pragma once
#include <string>
#include <string_view>

#include "core/care/mask_names.hpp"

namespace zvkob {

// `text` with every IPv4 and IPv6 address (a zone such as "%eth0" with it),
// onion name (".onion") and I2P name (".i2p") masked: "<IPv4 1>:8333". The
// loopback's and the unspecified addresses (127.x.x.x, 0.0.0.0, ::1, ::)
// name nobody and stay, so that "Binding RPC on address ::1" still says
// where the node listens. Dotted numbers after "version " or a letter
// ("v0.21.2.1") are versions, not addresses.
std::string mask_network_names(std::string_view text, MaskNames& names);

}  // namespace zvkob
