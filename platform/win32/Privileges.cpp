#include "platform/Privileges.h"

namespace qvs::platform {

bool RunsAsRoot() {
    return false;
}

} // namespace qvs::platform
