// Why a worker's request failed. The frame keeps it beside WorkerFailed, so
// the update log and qvs-probe can say what went wrong instead of only that
// something did.
#pragma once

#include <exception>
#include <string>

namespace qvs {

struct WorkerFailure {
    enum class Kind {
        Network,   // no connection, a time-out, a close before the whole reply
        Protocol,  // a reply that breaks the framing or is too short for its fields
        Http,      // the web host answered with an error or not at all
        Package,   // a package that was refused
        Signature, // an update file without a valid signature of ours
        Disk,      // a file or directory that could not be written
        Memory,    // an announced length that could not be held
        Other,
    };

    Kind kind = Kind::Other;
    std::string reason;

    // Classifies the caught error; call only inside a catch block.
    static WorkerFailure FromCurrentException();
};

// "network", "protocol", ...: the word the update log and qvs-probe print.
const char* KindName(WorkerFailure::Kind kind);

} // namespace qvs
