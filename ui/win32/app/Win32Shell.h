// The desktop shell: ShellExecute opens addresses, mail links, files and
// programs, exactly as the launcher passes them.
#pragma once

#include "launcher/IShell.h"

namespace qvs::win32 {

class Win32Shell : public IShell {
public:
    void OpenUrl(const std::string& url) override;
    void OpenFile(const std::string& path, const std::string& workingDirectory) override;
    void StartProgram(const ProgramStart& start) override;
};

} // namespace qvs::win32
