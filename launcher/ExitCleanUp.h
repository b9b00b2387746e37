// What the process does after its message loop: it removes the client's
// start-up class that the game launch extracted, so the next start extracts
// a fresh one.
#pragma once

#include <string>

namespace qvs {

// Deletes clientClassDir + "StartUp.class" when clientClassDir is set and is
// not the installation directory, neither by its text nor, written another
// way, as the same directory on disk. Returns whether a file was deleted.
bool CleanUpClientClass(const std::string& clientClassDir, const std::string& installDir);

} // namespace qvs
