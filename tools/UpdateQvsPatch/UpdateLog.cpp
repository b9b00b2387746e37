#include "UpdateLog.h"

#include "platform/FileSystem.h"

#include <chrono>
#include <cstdio>
#include <fstream>

namespace qvs {

namespace {

// "2024-05-01 13:45:07 UTC"
std::string TimeStamp() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

} // namespace

UpdateLog::UpdateLog(std::string installDir) : installDir_(std::move(installDir)) {}

std::string UpdateLog::Path() const {
    return installDir_ + "Log\\update.log";
}

void UpdateLog::Append(std::string_view message) const {
    const std::string directory = installDir_ + "Log";
    if (!platform::IsDirectory(directory)) {
        platform::MakeDirectory(directory);
    }
    const std::string line = TimeStamp() + " UpdateQvsPatch: " + std::string(message) + '\n';
    std::ofstream log(platform::NativePath(Path()), std::ios::app);
    log << line;
    // Whoever started the program by hand, or a service manager's journal,
    // still sees the line when the log file cannot be written.
    std::fputs(line.c_str(), stderr);
}

} // namespace qvs
