// The two pieces of network advice and their "do not show again" switches
// ("OPTIONS"/"DISABLE_TCP_UDP_1" and "DISABLE_TCP_UDP_2" in qvs.cfg).
#pragma once

#include "launcher/INetworkInformationView.h"

#include <string>

namespace qvs {

class CConfig;

class NetworkAdvice {
public:
    NetworkAdvice(CConfig& config, INetworkInformationView& view);

    // After a successful reachability check: shows the address advice when
    // the address the update server saw differs from GetLocalIPAddress.
    void AdviseOnAddressDifference(const std::string& observedAddress);
    // The same against a known local address; the comparison is exact, so
    // an empty observed address differs from any known local one.
    void AdviseOnAddressDifference(const std::string& observedAddress,
                                   const std::string& localAddress);
    // When the game server has not answered for a while.
    void AdviseOnSlowContact();

private:
    bool IsSwitchedOff(const char* key) const;
    // Shows the advice; a ticked check box switches it off for good. A
    // configuration file that cannot be written leaves it switched on.
    void Show(INetworkInformationView::Memo memo, const char* key);

    CConfig& config_;
    INetworkInformationView& view_;
};

} // namespace qvs
