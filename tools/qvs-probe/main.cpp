// qvs-probe: runs one launcher worker against a host and prints its results.
#include "ProbeCommands.h"
#include "ProbeOptions.h"
#include "platform/ProgramEnvironment.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args = qvs::platform::ProgramArguments(argc, argv);
    const std::optional<qvs::ProbeOptions> options = qvs::ParseProbeOptions(args);
    if (!options) {
        std::cerr << qvs::ProbeUsage;
        return 2;
    }
    return qvs::ProbeCommands(*options, std::cout, std::cerr).Run();
}
