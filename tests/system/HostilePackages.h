// Packages that must be refused, shared by the extraction tests (refused,
// nothing written outside) and the scrambled file tests (refused the same
// way from the file as from memory). The fuzz corpus of fuzz_package_extract
// holds the same packages.
#pragma once

#include "support/PackageBytes.h"

#include <string>
#include <vector>

namespace qvs::test {

struct HostilePackage {
    std::string what;
    PackageBytes bytes;
    bool badPath;    // refused with PackageError, else with StreamReadError
    bool startupToo; // also refused when only the startup class is extracted
};

inline std::vector<HostilePackage> HostilePackages() {
    std::vector<HostilePackage> packages;
    // Paths leaving the base, as a directory record or as a file's directory
    // or name: absolute, network, drive, parent and Windows' parent spellings.
    for (const char* directory :
         {"/etc/x\\", "\\\\server\\x\\", "C:\\x\\", "..\\x\\", "a\\..\\..\\x\\"}) {
        packages.push_back({std::string("directory ") + directory,
                            PackageBytes().Dir("", 1).Dir(directory, 0).Int(0).Int(0), true, true});
    }
    const std::pair<const char*, const char*> files[] = {
        {"/etc/", "x"},    {"", "/etc/x"}, {"\\\\server\\x\\", "f"},
        {"C:\\x\\", "f"},  {"", "C:x"},    {"c:", "x"},
        {"..\\", "x"},     {"", "..\\x"},  {"", "../x"},
        {"a/../../", "x"}, {"..", "\\x"},  {".", ".\\x"},
        {"...\\", "x"},    {". .\\", "x"},
    };
    for (const auto& [directory, name] : files) {
        packages.push_back(
            {std::string("file ") + directory + "|" + name,
             PackageBytes().Dir("", 0).Int(2).File("", "a", "A").File(directory, name, "evil"),
             true, false});
    }
    packages.push_back({"startup class in the parent",
                        PackageBytes().Dir("", 0).Int(1).File("..\\", "StartUp.class", "evil"),
                        true, true});
    // Counts and sizes the rest cannot hold fail before allocating.
    const std::pair<const char*, PackageBytes> numbers[] = {
        {"directory count", PackageBytes().Dir("", 0x7FFFFFFF).Raw(std::string(64, 'x'))},
        {"negative directory count", PackageBytes().Dir("", -1).Int(0)},
        {"file count", PackageBytes().Dir("", 0).Int(0x7FFFFFFF).Raw(std::string(64, 'x'))},
        {"negative file count", PackageBytes().Dir("", 0).Int(-5)},
        {"file size", PackageBytes().Dir("", 0).Int(1).Str("").Str("big").Int(0x7FFFFFFF).Raw("x")},
        {"negative size", PackageBytes().Dir("", 0).Int(1).Str("").Str("neg").Int(-1).Raw("xyz")},
        {"size one past the end",
         PackageBytes().Dir("", 0).Int(1).Str("").Str("f").Int(4).Raw("abc")},
        {"two directories in room for one", PackageBytes().Dir("", 2).Dir("a\\", 0).Int(0)},
        // 112 records need 1008 bytes and 1000 are left: refused before the
        // first record, though the scrambled rest would be long enough.
        {"count just beyond the plain rest",
         PackageBytes().Dir("", 112).Dir("made\\", 0).Int(0).Int(0).Raw(std::string(986, 'p'))},
        {"string without terminator", PackageBytes().Dir("", 0).Int(1).Raw("dir-without-end")},
    };
    for (const auto& [what, bytes] : numbers) {
        packages.push_back({what, bytes, false, true});
    }
    return packages;
}

// Nested folders, an empty file, a file in folders of its own and the
// startup class last: cut anywhere, it must fail.
inline PackageBytes NestedPackage(const std::string& big = "22") {
    PackageBytes bytes;
    bytes.Dir("", 1)
        .Dir("d\\", 1)
        .Dir("d\\e\\", 0)
        .Int(1)
        .File("d\\e\\", "deep", "DEEP")
        .Int(1)
        .File("d\\", "mid", "")
        .Int(3)
        .File("", "one", "1")
        .File("new\\dir\\", "two", big)
        .File("", "StartUp.class", "\xCA\xFE"); // last: any cut fails before it is whole
    return bytes;
}

} // namespace qvs::test
