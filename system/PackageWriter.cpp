#include "system/PackageWriter.h"

#include "platform/FileSystem.h"
#include "system/PackageReader.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

namespace qvs {

namespace {

struct FolderContent {
    std::vector<std::string> directories;
    std::vector<std::string> files;
};

FolderContent ListFolder(const std::string& path) {
    if (!platform::IsDirectory(path)) {
        throw std::runtime_error("Cannot read folder " + path);
    }
    FolderContent content;
    for (const auto& entry : platform::ListDirectory(path)) {
        if (entry.name == "." || entry.name == ".." ||
            (entry.attributes & (platform::AttrSymlink | platform::AttrVolumeLabel))) {
            continue;
        }
        if (entry.name.find('\\') != std::string::npos) {
            throw std::runtime_error("File name holds a \"\\\": " + path + entry.name);
        }
        auto& list =
            (entry.attributes & platform::AttrDirectory) ? content.directories : content.files;
        list.push_back(entry.name);
    }
    std::sort(content.directories.begin(), content.directories.end());
    std::sort(content.files.begin(), content.files.end());
    return content;
}

std::string FolderPath(const std::string& folder) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') {
        return folder;
    }
    return folder + "/";
}

} // namespace

void PackageWriter::Write(CStream& out, const std::string& folder, std::string_view baseDirectory) {
    out.WriteString(baseDirectory);
    WriteDirectory(out, FolderPath(folder), "", 0);
}

void PackageWriter::WriteDirectory(CStream& out, const std::string& folder,
                                   const std::string& relative, int depth) {
    if (depth > PackageReader::MaxDepth) {
        throw std::runtime_error("Folders nested too deeply at " + folder + relative);
    }
    const FolderContent content = ListFolder(folder + relative);
    out.WriteString(relative);
    out.WriteInt(static_cast<std::int32_t>(content.directories.size()));
    for (const auto& name : content.directories) {
        WriteDirectory(out, folder, relative + name + "\\", depth + 1);
    }
    out.WriteInt(static_cast<std::int32_t>(content.files.size()));
    for (const auto& name : content.files) {
        WriteFile(out, folder, relative, name);
    }
}

void PackageWriter::WriteFile(CStream& out, const std::string& folder, const std::string& relative,
                              const std::string& name) {
    const std::string path = folder + relative + name;
    const auto data = platform::ReadWholeFile(path);
    if (!data) {
        throw std::runtime_error("Cannot read file " + path);
    }
    if (data->size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::runtime_error("File too large for a package: " + path);
    }
    out.WriteString(relative);
    out.WriteString(name);
    out.WriteInt(static_cast<std::int32_t>(data->size()));
    out.Write(data->data(), data->size());
}

} // namespace qvs
