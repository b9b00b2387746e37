// Flushes one file system again and again from a thread of its own while a
// large batch of files is being written, so that the disk works while the
// files are copied and the flush that makes them durable finds little left.
// It only gives a head start: it guarantees nothing and reports no error.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace qvs::platform {

class BackgroundFlush {
public:
    static constexpr std::chrono::milliseconds Interval{25};

    // directory: any directory on the file system, "" for the working one.
    // Without syncfs (outside Linux) or when it cannot be opened, it does nothing.
    explicit BackgroundFlush(const std::string& directory);
    ~BackgroundFlush(); // stops, waiting for a flush under way
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

private:
    void Run(std::stop_token stop);

    int fd_ = -1;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::jthread thread_; // last, so it starts after everything it uses
};

} // namespace qvs::platform
