// qvs-pack: builds, lists and extracts .ecd packages (see PackCommands.h).
#include "PackCommands.h"
#include "platform/ProgramEnvironment.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args = qvs::platform::ProgramArguments(argc, argv);
    return qvs::PackCommands(std::cout, std::cerr).Run(args);
}
