#include "system/CDirectory.h"

#include "platform/AtomicFileBatch.h"
#include "system/CFile.h"
#include "system/DirectoryBoundary.h"
#include "system/PackagePath.h"
#include "system/PackageReader.h"
#include "system/StreamPackageSource.h"

#include <algorithm>
#include <unordered_set>

namespace qvs {

namespace {

constexpr std::string_view startupClassName = "startup.class";

// The attributes SetAttributes accepts; directory and link bits are facts.
constexpr std::uint32_t settableAttributes =
    platform::AttrReadOnly | platform::AttrHidden | platform::AttrSystem | platform::AttrArchive;

// The directories one extraction made, so that a package that fails leaves
// none of them behind.
class MadeDirectories {
public:
    // A failure shows up later, when a file below it cannot be created.
    void Ensure(const std::string& path) {
        if (!platform::IsDirectory(path) && platform::MakeDirectory(path)) {
            made_.push_back(path);
        }
    }
    // Deepest first; one that holds something (another program's file) stays.
    void RemoveAll() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            platform::RemoveEmptyDirectory(*it);
        }
        made_.clear();
    }

private:
    std::vector<std::string> made_;
};

bool IsStartupClass(std::string_view name) {
    return std::equal(name.begin(), name.end(), startupClassName.begin(), startupClassName.end(),
                      [](char a, char b) {
                          const char lower = (a >= 'A' && a <= 'Z') ? static_cast<char>(a + 32) : a;
                          return lower == b;
                      });
}

void CreateRecordDirectory(const std::string& base, const std::string& path,
                           const DirectoryBoundary& boundary, MadeDirectories& made) {
    PackagePath::CheckInside(base, path);
    boundary.Check(base + path);
    made.Ensure(base + path);
}

// A file directory that no record announced (the client package names
// "MainClass\" only in its file records) is created level by level, but only
// below a base that exists: a base that could not be made stays an error.
void EnsureFileDirectory(const std::string& base, const std::string& directory,
                         MadeDirectories& made) {
    if (directory.empty() || platform::IsDirectory(base + directory) ||
        (!base.empty() && !platform::IsDirectory(base))) {
        return;
    }
    for (std::size_t i = 0; i < directory.size(); ++i) {
        if (PackagePath::IsSeparator(directory[i])) {
            made.Ensure(base + directory.substr(0, i + 1));
        }
    }
}

// The name is checked on its own too: "sub\" + "\x" would stay inside but is
// no name a package builder writes.
std::string CheckedFilePath(const std::string& base, const std::string& directory,
                            const std::string& name) {
    PackagePath::CheckInside(base, directory);
    PackagePath::CheckInside("", name);
    PackagePath::CheckInside(base, directory + name);
    return base + directory + name;
}

// The first file of a directory: the directory is checked on the disk (a
// link in it may lead out) before it is created or written into.
std::string PrepareFilePath(const std::string& base, const std::string& directory,
                            const std::string& name, const DirectoryBoundary& boundary,
                            MadeDirectories& made) {
    std::string path = CheckedFilePath(base, directory, name);
    boundary.Check(base + directory);
    EnsureFileDirectory(base, directory, made);
    return path;
}

// A name holding a separator cannot be addressed through paths that map "\"
// (a POSIX file may be called "..\x"); such entries are left alone.
bool IsAddressable(const std::string& name) {
    return name.find_first_of("\\/") == std::string::npos;
}

} // namespace

CDirectory::CDirectory() = default;

CDirectory::~CDirectory() {
    ClearEntries();
}

void CDirectory::ClearEntries() {
    for (auto& entry : directories_) {
        entry->ClearEntries();
    }
    for (auto& entry : files_) {
        entry->ClearEntries();
    }
    directories_.clear();
    files_.clear();
}

void CDirectory::ExtractPackage(CStream& package, const std::string& base) {
    StreamPackageSource source(package);
    ExtractPackage(source, base);
}

// Every file is staged beside its target first and the batch commits only
// once the whole package is read: a fault anywhere leaves every old file as
// it was, and the batch removes what it staged.
void CDirectory::ExtractPackage(PackageSource& package, const std::string& base) {
    MadeDirectories made;
    made.Ensure(base);
    try {
        const DirectoryBoundary boundary(base);
        platform::AtomicFileBatch batch;
        std::unordered_set<std::string> ensured; // file directories checked and made
        PackageReader reader(
            package,
            [&](const std::string& path) { CreateRecordDirectory(base, path, boundary, made); },
            [&](const std::string& directory, const std::string& name, PackageContent& content) {
                const bool known = ensured.contains(directory);
                const std::string path =
                    known ? CheckedFilePath(base, directory, name)
                          : PrepareFilePath(base, directory, name, boundary, made);
                batch.Add(path, [&content](const auto& write) { content.Read(write); });
                ensured.insert(directory);
                return false;
            });
        reader.Read();
        batch.Commit();
    } catch (...) {
        made.RemoveAll();
        throw;
    }
}

void CDirectory::ExtractStartupClass(CStream& package, const std::string& base) {
    if (!platform::IsDirectory(base)) {
        platform::MakeDirectory(base);
        HideDirectory(base);
    }
    const DirectoryBoundary boundary(base);
    StreamPackageSource source(package);
    MadeDirectories made; // kept: the launch finds its class directory as the walk left it
    PackageReader reader(
        source, [&](const std::string& path) { CreateRecordDirectory(base, path, boundary, made); },
        [&](const std::string& directory, const std::string& name, PackageContent& content) {
            if (!IsStartupClass(name)) {
                return false;
            }
            platform::AtomicFileBatch file;
            file.Add(PrepareFilePath(base, directory, name, boundary, made),
                     [&content](const auto& write) { content.Read(write); });
            file.Commit();
            return true;
        });
    reader.Read();
}

void CDirectory::HideDirectory(const std::string& path) {
    if (!PackagePath::EndsWithSeparator(path)) {
        return;
    }
    for (const auto& entry : platform::ListDirectory(path)) {
        if (entry.name == ".") {
            platform::SetAttributes(path,
                                    (entry.attributes & settableAttributes) | platform::AttrHidden);
        }
    }
}

void CDirectory::EmptyDirectory(const std::string& path) {
    if (!PackagePath::EndsWithSeparator(path)) {
        return;
    }
    for (const auto& entry : platform::ListDirectory(path)) {
        DeleteEntry(path, entry);
    }
}

void CDirectory::DeleteDirectoryTree(const std::string& path) {
    if (!PackagePath::EndsWithSeparator(path)) {
        return;
    }
    EmptyDirectory(path);
    platform::RemoveEmptyDirectory(path);
}

// Every failure is ignored: what cannot be deleted stays in place.
void CDirectory::DeleteEntry(const std::string& path, const platform::DirectoryEntry& entry) {
    if (entry.name == "." || entry.name == ".." || !IsAddressable(entry.name)) {
        return;
    }
    const std::string full = path + entry.name;
    if (entry.attributes & platform::AttrSymlink) {
        if (!platform::RemoveEmptyDirectory(full)) {
            platform::RemoveFile(full);
        }
    } else if (entry.attributes & platform::AttrDirectory) {
        DeleteDirectoryTree(full + "\\");
    } else if (!(entry.attributes & platform::AttrVolumeLabel)) {
        platform::RemoveFile(full);
    }
}

} // namespace qvs
