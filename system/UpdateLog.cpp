#include "system/UpdateLog.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// The newest lines of the file that, with line, fill at most half the cap,
// so trimming happens once in a while rather than at every line.
std::string KeptTail(const std::string& path, std::uint64_t size, const std::string& line) {
    const std::uint64_t keep = UpdateLog::MaxBytes / 2;
    std::ifstream file(platform::Utf8Path(path), std::ios::binary);
    file.seekg(static_cast<std::streamoff>(size > keep ? size - keep : 0));
    std::string tail((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t lineStart = tail.find('\n');
    tail.erase(0, lineStart == std::string::npos ? tail.size() : lineStart + 1);
    return tail + line;
}

} // namespace

UpdateLog::UpdateLog(std::string installDir, std::string source)
    : installDir_(std::move(installDir)), source_(std::move(source)) {}

std::string UpdateLog::Path() const {
    return installDir_ + "Log\\update.log";
}

void UpdateLog::Append(std::string_view message) const {
    try {
        const std::string line = TimeStamp() + " " + source_ + ": " + Escaped(message) + "\n";
        // Whoever started the program by hand, or a service manager's journal,
        // still sees the line when the log file cannot be written.
        std::fputs(line.c_str(), stderr);
        const std::string directory = installDir_ + "Log";
        if (!platform::IsDirectory(directory)) {
            platform::MakeDirectory(directory);
        }
        Write(line);
    } catch (const std::exception&) {
        // The update goes on without its log line.
    }
}

void UpdateLog::Write(const std::string& line) const {
    const std::string path = platform::NativePath(Path());
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(platform::Utf8Path(path), error);
    if (error || size + line.size() <= MaxBytes) {
        std::ofstream(platform::Utf8Path(path), std::ios::binary | std::ios::app) << line;
        return;
    }
    platform::WriteFileAtomically(Path(), KeptTail(path, size, line));
}

} // namespace qvs
