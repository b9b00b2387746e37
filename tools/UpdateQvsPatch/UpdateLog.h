// The patch program's report: one line per failure appended to
// "Log/update.log" in the installation directory, since it has no window and
// the launcher it works for is not running, and the same line on standard
// error, so a failure is never silent.
#pragma once

#include <string>
#include <string_view>

namespace qvs {

class UpdateLog {
public:
    // installDir is empty (the working directory) or ends with a separator.
    explicit UpdateLog(std::string installDir);

    // Appends a time-stamped line, creating the "Log" directory when missing,
    // and writes it to standard error too: a log that cannot be written
    // leaves the line there alone.
    void Append(std::string_view message) const;

    std::string Path() const;

private:
    std::string installDir_;
};

} // namespace qvs
