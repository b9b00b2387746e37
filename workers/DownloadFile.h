// A temporary file in the installation folder that a data package is
// written to as it arrives, so that a package of any size costs disk rather
// than memory. It is removed when the object goes, whatever happened; one
// that a killed launcher left is removed by the next download.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace qvs {

class DownloadFile {
public:
    // folder: the installation directory, "" or ending with a separator.
    // Throws platform::FileCreateError when no file can be made there.
    explicit DownloadFile(const std::string& folder);
    ~DownloadFile();
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // Throws platform::FileCreateError when the bytes cannot be written.
    void Write(std::string_view bytes);
    // Writes out what is buffered; the file may then be read by Path.
    void Close();
    const std::string& Path() const { return path_; }

private:
    [[noreturn]] void Fail(std::uint64_t needed);

    std::string path_;
    std::filesystem::path native_;
    std::ofstream file_;
};

} // namespace qvs
