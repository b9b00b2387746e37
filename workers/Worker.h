// A worker: a request body and the frame that runs it on its own thread.
// The frame is the last member, so its thread has ended before the body's
// objects go; bodies are plain classes with an Execute and need no
// destructor of their own. A body with a Socket has it closed when Execute
// ends, whatever happened.
#pragma once

#include <utility>

#include "workers/WorkerFrame.h"

namespace qvs {

template <typename Body> class Worker {
public:
    template <typename... Args>
    explicit Worker(WorkerValues& values, Args&&... args)
        : body_(values, std::forward<Args>(args)...),
          frame_(
              values, [this] { body_.Execute(); }, [this] { CloseConnection(); }) {}

    Body& operator*() { return body_; }
    Body* operator->() { return &body_; }
    WorkerFrame& Frame() { return frame_; }

private:
    void CloseConnection() {
        if constexpr (requires { body_.Socket.Close(); }) {
            body_.Socket.Close();
        }
    }

    Body body_;
    WorkerFrame frame_;
};

} // namespace qvs
