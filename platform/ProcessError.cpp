#include "platform/ProcessError.h"

namespace qvs::platform {

namespace {
const char* MessageOf(ProcessError::Kind kind) {
    switch (kind) {
    case ProcessError::Kind::OutputPipe:
        return "Error Creating Output Pipe";
    case ProcessError::Kind::ErrorsPipe:
        return "Error Creating Errors Pipe";
    case ProcessError::Kind::TimedOut:
        return "The command did not end in time and was stopped";
    case ProcessError::Kind::Start:
        break;
    }
    return "Error executing command line";
}
} // namespace

ProcessError::ProcessError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

} // namespace qvs::platform
