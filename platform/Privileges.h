// What the launcher's own process is allowed to do on this system.
#pragma once

namespace qvs::platform {

// True when the process runs with the super-user's rights (POSIX effective
// user 0). Windows administrators do not count: nothing there depends on it.
bool RunsAsRoot();

} // namespace qvs::platform
