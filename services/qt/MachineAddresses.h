#pragma once

#include <string>
#include <vector>

namespace zorvi {

// The machine's addresses a server can listen on, as text: IPv4 first, then IPv6, loopback
// last in each. Link-local IPv6 addresses are left out (they need an interface).
std::vector<std::string> MachineAddresses();

} // namespace zorvi
