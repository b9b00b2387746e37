// Command lines that start the tests' child program (child/ProcessChild.cpp).
#pragma once

#include <string>
#include <string_view>

namespace qvs::test {

inline std::string ChildCommand(std::string_view actions) {
    std::string line = "\"" QVS_TEST_CHILD "\"";
    if (!actions.empty()) {
        line += ' ';
        line += actions;
    }
    return line;
}

} // namespace qvs::test
