#include "ui/win32/windows/TfrmTCP_UDP_Information.h"

namespace qvs::win32 {

TfrmTCP_UDP_Information::TfrmTCP_UDP_Information(HWND owner)
    : DialogWindow(ui::NetworkInformationWindowTable(), owner) {}

bool TfrmTCP_UDP_Information::ShowModalWith(Memo memo) {
    SetControlVisible("mem1", memo == Memo::AddressDifference);
    SetControlVisible("mem2", memo == Memo::SlowContact);
    ShowModal();
    return IsChecked("cbDoNotDisplayThisMessageInTheFuture");
}

} // namespace qvs::win32
