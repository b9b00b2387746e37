// Failures of running a command with captured output. The message is the
// text the player sees in the message box, fixed by the kind.
#pragma once

#include <stdexcept>

namespace qvs::platform {

class ProcessError : public std::runtime_error {
public:
    enum class Kind {
        OutputPipe, // the pipe for standard output could not be created
        ErrorsPipe, // the pipe for standard error could not be created
        Start,      // the program was not found or could not be started
        TimedOut,   // the child did not end within the time limit and was killed
    };

    explicit ProcessError(Kind kind);

    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace qvs::platform
