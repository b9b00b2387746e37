#include "ui/win32/base/Handles.h"

namespace qvs::win32 {

std::atomic<long>& LiveHandles() {
    static std::atomic<long> live{0};
    return live;
}

} // namespace qvs::win32
