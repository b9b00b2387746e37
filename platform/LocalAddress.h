// The address of this machine as its own host name resolves.
#pragma once

#include <string>

namespace qvs::platform {

// The first IPv4 address that the local host name looks up to, in dotted
// decimal form; "" when the name or its address cannot be found. Machines
// with several adapters report only that first address.
std::string GetLocalIPAddress();

} // namespace qvs::platform
