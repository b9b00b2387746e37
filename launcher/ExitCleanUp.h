// What the process does after its message loop: it removes the client's
// start-up class that the game launch extracted, so the next start extracts
// a fresh one.
#pragma once

#include <functional>
#include <string>

namespace qvs {

// Deletes clientClassDir + "StartUp.class" when clientClassDir is set and is
// not the installation directory, neither by its text nor, written another
// way, as the same directory on disk. Returns whether a file was deleted.
bool CleanUpClientClass(const std::string& clientClassDir, const std::string& installDir);

struct ProcessValues;

// The launcher process's outermost boundary, the same for every front end:
// runs run; an error that escapes it is written to standard error and given
// to showFailure as "Quorvash could not start: " and the reason, and the
// exit code is 1. The extracted start-up class is removed whatever happened.
int RunLauncherProcess(ProcessValues& values, const std::function<int()>& run,
                       const std::function<void(const std::string& message)>& showFailure);

} // namespace qvs
