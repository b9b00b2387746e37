// Command lines that start the tests' child program (child/ProcessChild.cpp).
#pragma once

#include <string>
#include <string_view>

namespace qvs::test {

inline std::string ChildCommand(std::string_view actions) {
    return "\"" QVS_TEST_CHILD "\" " + std::string(actions);
}

} // namespace qvs::test
