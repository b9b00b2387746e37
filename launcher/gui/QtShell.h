// Opening addresses with the desktop's default programs.
#pragma once

#include "launcher/IShell.h"

namespace qvs {

class QtShell : public IShell {
public:
    void OpenUrl(const std::string& url) override;
};

} // namespace qvs
