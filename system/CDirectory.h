// CDirectory: whole directories on the local disk. It unpacks packages (the
// plain content of .ecd files), takes the client's start-up class out of one,
// hides a directory, and empties or deletes a directory tree.
//
// Package layout: a base directory string (read by the caller), then one
// directory record: path (string), sub-directory count (int), that many
// directory records, file count (int), that many file records of file
// directory (string), file name (string), size (int) and size bytes. Every
// path is relative to the base and joined by plain concatenation, so
// directory paths end with "\"; records come parent first.
//
// Directory paths given to HideDirectory, EmptyDirectory and
// DeleteDirectoryTree end with a separator; without one they change nothing.
#pragma once

#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "system/PackageSource.h"

#include <memory>
#include <string>
#include <vector>

namespace qvs {

class CFile;

class CDirectory {
public:
    CDirectory();
    virtual ~CDirectory();
    CDirectory(const CDirectory&) = delete;
    CDirectory& operator=(const CDirectory&) = delete;

    // Empties both entry lists, clearing and destroying every entry.
    virtual void ClearEntries();

    // Unpacks the directory record at the stream's position below base; a
    // file directory that no record named is created below an existing base.
    // Throws StreamReadError for a short or inconsistent package, PackageError
    // for a path that would leave base (as text, or on the disk through a
    // link) before anything is created or written there,
    // platform::FileCreateError when a file cannot be written, and whatever
    // the source throws. The package installs whole or not at all: its files
    // are staged and flushed together at the end, and after any error every
    // old file is as it was, with no staged file and no directory it made left.
    void ExtractPackage(CStream& package, const std::string& base);
    // The same from any source; file contents go to disk piece by piece.
    void ExtractPackage(PackageSource& package, const std::string& base);
    // Writes only the first file named "startup.class" (any case) below base,
    // under its stored name, and reads nothing of the package after it.
    void ExtractStartupClass(CStream& package, const std::string& base);

    void HideDirectory(const std::string& path);
    // Deletes everything inside path; read-only files and what holds them
    // stay. Links are removed as links, never followed.
    void EmptyDirectory(const std::string& path);
    // EmptyDirectory, then removes path itself when it is empty.
    void DeleteDirectoryTree(const std::string& path);

private:
    void DeleteEntry(const std::string& path, const platform::DirectoryEntry& entry);

    std::vector<std::unique_ptr<CDirectory>> directories_;
    std::vector<std::unique_ptr<CFile>> files_;
};

} // namespace qvs
