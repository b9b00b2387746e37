// The network information window for tests: records which advice was shown;
// the player ticks "Do Not Display This Message In The Future" as scripted.
#pragma once

#include <vector>

#include "launcher/INetworkInformationView.h"

namespace qvs::test {

class RecordingNetworkView : public INetworkInformationView {
public:
    bool ShowModalWith(Memo memo) override {
        shown.push_back(memo);
        return tick;
    }
    std::vector<Memo> shown;
    bool tick = false;
};

} // namespace qvs::test
