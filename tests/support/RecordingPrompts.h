// Message boxes for tests: every text is recorded, Yes/No questions are
// answered from a script (No once the script has run out).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "system/IPrompts.h"

namespace qvs::test {

class RecordingPrompts : public IPrompts {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;
};

} // namespace qvs::test
