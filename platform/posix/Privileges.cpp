#include "platform/Privileges.h"

#include <unistd.h>

namespace qvs::platform {

bool RunsAsRoot() {
    return geteuid() == 0;
}

} // namespace qvs::platform
