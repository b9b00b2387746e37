#include "launcher/NetworkAdvice.h"

#include "launcher/CConfig.h"
#include "launcher/INetworkInformationView.h"
#include "platform/FileSystem.h"
#include "platform/LocalAddress.h"

namespace qvs {

namespace {

constexpr const char* OptionsSection = "OPTIONS";
constexpr const char* AddressAdviceKey = "DISABLE_TCP_UDP_1";
constexpr const char* SlowContactAdviceKey = "DISABLE_TCP_UDP_2";

} // namespace

NetworkAdvice::NetworkAdvice(CConfig& config, INetworkInformationView& view)
    : config_(config), view_(view) {}

// The machine's address is only looked up when the advice is on.
void NetworkAdvice::AdviseOnAddressDifference(const std::string& observedAddress) {
    if (!IsSwitchedOff(AddressAdviceKey) && observedAddress != platform::GetLocalIPAddress()) {
        Show(INetworkInformationView::Memo::AddressDifference, AddressAdviceKey);
    }
}

void NetworkAdvice::AdviseOnAddressDifference(const std::string& observedAddress,
                                              const std::string& localAddress) {
    if (IsSwitchedOff(AddressAdviceKey) || observedAddress == localAddress) {
        return;
    }
    Show(INetworkInformationView::Memo::AddressDifference, AddressAdviceKey);
}

void NetworkAdvice::AdviseOnSlowContact() {
    if (IsSwitchedOff(SlowContactAdviceKey)) {
        return;
    }
    Show(INetworkInformationView::Memo::SlowContact, SlowContactAdviceKey);
}

bool NetworkAdvice::IsSwitchedOff(const char* key) const {
    return config_.ReadValue(OptionsSection, key, "FALSE") == "TRUE";
}

void NetworkAdvice::Show(INetworkInformationView::Memo memo, const char* key) {
    if (!view_.ShowModalWith(memo)) {
        return;
    }
    try {
        config_.WriteValue(OptionsSection, key, "TRUE");
    } catch (const platform::FileCreateError&) {
        // Only a reminder is lost: the advice shows again next time.
    }
}

} // namespace qvs
