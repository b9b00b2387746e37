// The launcher's configuration file "qvs.cfg": settings, updater counters and
// a record of versions and machine data, which the error report shows whole.
// Nothing is cached: every read reads the file, every write rewrites it at
// once, and a rewrite replaces the file in one step so that a crash or a full
// disk never leaves a cut-off file behind.
#pragma once

#include "system/IConfigWriter.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvs {

class CIniText;

class CConfig : public IConfigWriter {
public:
    // The configuration file inside installDir, which ends with a separator.
    static std::string PathIn(std::string_view installDir);

    // Opened on the file; the file itself is created by the first write.
    explicit CConfig(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // While closed, reads and writes throw std::logic_error.
    void Open() { open_ = true; }
    void Close() { open_ = false; }
    bool IsOpen() const { return open_; }

    // The stored value, or defaultValue when the file, section or key is
    // missing or unreadable.
    std::string ReadValue(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;

    // Throws platform::FileCreateError (its message names the file) when the
    // file cannot be written; the old file is then unchanged.
    void WriteValue(const std::string& section, const std::string& key,
                    const std::string& value) override;

    // The whole file as lines of text; empty when it cannot be read.
    std::vector<std::string> ReadLines() const;

    // Keeps only the first line below "[JAVA_VERSION]", then records that
    // the clean-up was done. Drops every failure and always leaves the
    // object open.
    void RemoveDuplicateJavaVersions();

private:
    void RequireOpen() const;
    CIniText LoadForWrite() const;
    void CleanUpJavaVersionSection();

    std::string path_;
    bool open_ = true;
};

} // namespace qvs
