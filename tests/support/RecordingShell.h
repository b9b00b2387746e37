// The desktop shell for tests: every request is recorded, nothing is opened.
#pragma once

#include <string>
#include <vector>

#include "launcher/IShell.h"

namespace qvs::test {

class RecordingShell : public IShell {
public:
    struct OpenedFile {
        std::string path;
        std::string workingDirectory;
    };

    void OpenUrl(const std::string& url) override { urls.push_back(url); }
    void OpenFile(const std::string& path, const std::string& workingDirectory) override {
        files.push_back({path, workingDirectory});
    }
    void StartProgram(const ProgramStart& start) override { programs.push_back(start); }

    std::vector<std::string> urls;
    std::vector<OpenedFile> files;
    std::vector<ProgramStart> programs;
};

} // namespace qvs::test
