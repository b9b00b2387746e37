// The commands of qvs-probe: each runs one worker (or one HTTP GET) and
// prints what came back, one key=value per line.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <ostream>

#include "ProbeOptions.h"
#include "workers/WorkerFrame.h"
#include "workers/WorkerValues.h"

namespace qvs {

class ProbeCommands {
public:
    ProbeCommands(ProbeOptions options, std::ostream& out, std::ostream& err);

    // 0 success, 1 the request failed (the reason on err).
    int Run();

private:
    void Ping();
    void Latest();
    void FileVersion();
    void Fetch();
    void Launcher();
    void Status();
    void Get();
    void SavePartial(std::ofstream& file, const std::string& partial) const;

    std::uint16_t Port(std::uint16_t usual) const;
    // Runs a worker to its end; throws with the reason when it failed.
    void Finish(WorkerFrame& worker);

    ProbeOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    WorkerValues values_;
};

} // namespace qvs
