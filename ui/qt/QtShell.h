// Opening addresses, files and programs with the desktop's default programs.
#pragma once

#include "launcher/IShell.h"

namespace qvs {

class QtShell : public IShell {
public:
    void OpenUrl(const std::string& url) override;
    void OpenFile(const std::string& path, const std::string& workingDirectory) override;
    void StartProgram(const ProgramStart& start) override;
};

} // namespace qvs
