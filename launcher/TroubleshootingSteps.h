// The troubleshooting steps that force a fresh download: deleting the
// client code file or the installed version files, so that the next update
// pass fetches that part again.
#pragma once

#include <string>

namespace qvs {

class IPrompts;

// Deletes "QVSC.ecd" in installDir and tells the player how that went; then
// deletes "QVSC.dat" there silently, so the next start reads client-code
// version 0 even when the code file was already gone.
void DeleteClientCodeFiles(const std::string& installDir, IPrompts& prompts);

// Deletes "QVS.dat" in installDir and tells the player how that went; the
// next start reads data-set version 0 and fetches every data version again.
void DeleteDataVersionFile(const std::string& installDir, IPrompts& prompts);

} // namespace qvs
