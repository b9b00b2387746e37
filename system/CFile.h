// A file entry of a CDirectory: a directory entry with its name and the
// directory that holds it.
#pragma once

#include "system/CDirectory.h"

#include <string>

namespace qvs {

class CFile : public CDirectory {
public:
    std::string FileDirectory;
    std::string FileName;
};

} // namespace qvs
