// The network information window's two explanations, one entry a memo line.
#pragma once

#include <string>
#include <vector>

namespace qvs {

// mem1: the update server saw another address than the machine's own.
std::vector<std::string> AddressDifferenceLines();
// mem2: the game server has not answered for a while.
std::vector<std::string> SlowContactLines();

} // namespace qvs
