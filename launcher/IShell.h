// The desktop shell as the launcher's logic sees it. The Qt layer asks the
// system to open things; tests record what was asked.
#pragma once

#include <string>

#include "system/ProgramStart.h"

namespace qvs {

class IShell {
public:
    virtual ~IShell() = default;

    // Opens a web address (or a mail link) in the user's default program.
    // Whether that worked is not reported: the launcher carries on either way.
    virtual void OpenUrl(const std::string& url) = 0;
    // Opens a local file with its default program (an installer runs).
    virtual void OpenFile(const std::string& path, const std::string& workingDirectory) = 0;
    // Starts a program detached from the launcher; failures are not reported.
    virtual void StartProgram(const ProgramStart& start) = 0;
};

} // namespace qvs
