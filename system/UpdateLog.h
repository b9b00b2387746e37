// "Log/update.log" in the installation directory: one time-stamped line per
// failed update step, written by the launcher's update pass and by the
// patch program, so support can see what went wrong and where. The file is
// kept below a size: the oldest lines go first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs {

class UpdateLog {
public:
    static constexpr std::uint64_t MaxBytes = 64 * 1024;

    // installDir is empty (the working directory) or ends with a separator;
    // source names the writer on every line ("qvs", "UpdateQvsPatch").
    UpdateLog(std::string installDir, std::string source);

    // Appends a time-stamped line, creating the "Log" directory when missing,
    // and writes it to standard error too, so a failure is never silent.
    // Control characters in message are escaped, so one call is one line. A
    // log that cannot be written never stops an update.
    void Append(std::string_view message) const;

    std::string Path() const;

private:
    void Write(const std::string& line) const;

    std::string installDir_;
    std::string source_;
};

} // namespace qvs
