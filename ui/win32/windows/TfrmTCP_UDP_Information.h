// The network information window: why the connection may be poor and which
// ports to open. One of its two memos shows at a time; its check box keeps
// its state between showings, so a tick given for one advice also counts
// for the other later in the same run.
#pragma once

#include "launcher/INetworkInformationView.h"
#include "ui/win32/windows/DialogWindow.h"

namespace qvs::win32 {

class TfrmTCP_UDP_Information : public DialogWindow, public INetworkInformationView {
public:
    explicit TfrmTCP_UDP_Information(HWND owner);

    bool ShowModalWith(Memo memo) override;
};

} // namespace qvs::win32
