// The main window for the update tests and the pass runner.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/IUpdateView.h"
#include "support/RawFile.h"

namespace qvs::test {

// The version a version file holds, read without the launcher: 0 when no
// file (as the next start takes it), -1 when it is torn.
inline std::int32_t VersionIn(const std::filesystem::path& file) {
    const auto bytes = ReadRawFile(file);
    std::int32_t value = -1;
    if (bytes && bytes->size() == 4) {
        std::memcpy(&value, bytes->data(), 4); // little-endian, as on every target
    }
    return bytes ? value : 0;
}

// The main window as the pass drives it: every call in order, and the
// installed data version at each "n of m" step.
class RecordingUpdateView : public IUpdateView {
public:
    explicit RecordingUpdateView(std::string dataVersionFile)
        : dataVersionFile_(std::move(dataVersionFile)) {}

    void BeginUpdateDisplay(int count, const std::string& what, const std::string& host) override {
        shown = true;
        log.push_back("begin " + std::to_string(count) + " " + what + " | " + host);
    }
    void SetUpdateLine2(const std::string& text) override { log.push_back("line2 " + text); }
    void SetUpdateLine3(const std::string& text) override { log.push_back("line3 " + text); }
    void SetCurrentUpdate(int number) override {
        log.push_back("current " + std::to_string(number));
        installedAtStep.push_back(InstalledDataVersion());
    }
    void ShowProgress(int barWidth, const std::string& percent) override {
        if (barWidth < 0 || barWidth > 300) { // fails any comparison of the whole log
            log.push_back("bar width " + std::to_string(barWidth) + " " + percent);
        }
    }
    void EndUpdateDisplay(const std::string& message) override {
        shown = false;
        log.push_back("end " + message);
    }
    bool IsDownloadShown() const override { return shown; }
    void ProcessPendingMessages() override {}
    void ShowUpdateNews(const std::string& url) override { log.push_back("news " + url); }
    void CloseMainWindow() override { log.push_back("close"); }
    void ReportUpdateFailure() override { log.push_back("report"); }
    void LaunchGame() override { log.push_back("launch"); }

    std::int32_t InstalledDataVersion() const { return VersionIn(dataVersionFile_); }

    std::vector<std::string> log;
    std::vector<std::int32_t> installedAtStep;
    bool shown = false;

private:
    std::string dataVersionFile_;
};

} // namespace qvs::test
