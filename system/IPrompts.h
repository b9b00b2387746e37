// The launcher's message boxes as the logic sees them. The Qt layer shows
// real modal boxes; tests record the texts and script the answers.
#pragma once

#include <string>

namespace qvs {

class IPrompts {
public:
    virtual ~IPrompts() = default;

    // A modal box with the text and one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A modal confirmation box with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

} // namespace qvs
