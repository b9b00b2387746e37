#include "workers/CFileTransferThread.h"

namespace qvs {

void CFileTransferThread::Execute() {
    Progress.BytesTotal = 0;
    Progress.BytesReceived = 0;
    if (UseServer) {
        FetchFromServer();
    } else {
        FetchOverWeb();
    }
}

} // namespace qvs
