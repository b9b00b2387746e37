// The network information window as the launcher's logic sees it.
#pragma once

namespace qvs {

class INetworkInformationView {
public:
    enum class Memo {
        AddressDifference, // mem1: the machine sits behind an address translation
        SlowContact,       // mem2: the game server took long to answer
    };

    virtual ~INetworkInformationView() = default;

    // Shows the window modally with the memo shown and the other hidden;
    // true when its check box "Do Not Display This Message In The Future" is
    // ticked after it closed.
    virtual bool ShowModalWith(Memo memo) = 0;
};

} // namespace qvs
