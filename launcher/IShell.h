// The desktop shell as the launcher's logic sees it. The Qt layer asks the
// system to open things; tests record what was asked.
#pragma once

#include <string>

namespace qvs {

class IShell {
public:
    virtual ~IShell() = default;

    // Opens a web address (or a mail link) in the user's default program.
    // Whether that worked is not reported: the launcher carries on either way.
    virtual void OpenUrl(const std::string& url) = 0;
};

} // namespace qvs
