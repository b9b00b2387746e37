// Starting a program that outlives its starter, and waiting for another
// process to end: what the patch program needs to hand over to a new launcher.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvs::platform {

// Starts program (a path, not searched for) with the arguments in
// workingDirectory (empty: the current one), detached: in its own session or
// process group, not a child that has to be waited for, standard input empty.
// Returns its process id, or nothing when it could not be started.
std::optional<std::uint32_t> StartDetached(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& workingDirectory);

// Waits until the process with that id has ended, for at most timeLimit.
// True when it has ended (or never existed), false when it still runs. A
// process that has ended but not been reaped by its parent counts as ended.
bool WaitForProcessEnd(std::uint32_t processId, std::chrono::milliseconds timeLimit);

} // namespace qvs::platform
