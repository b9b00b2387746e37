#include "BackgroundFlush.h"

#include <fcntl.h>
#include <unistd.h>

namespace qvs::platform {

BackgroundFlush::BackgroundFlush(const std::string& directory) {
#ifdef __linux__
    fd_ = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0) {
        thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    }
#else
    (void)directory;
#endif
}

BackgroundFlush::~BackgroundFlush() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void BackgroundFlush::Run(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        lock.unlock();
#ifdef __linux__
        ::syncfs(fd_);
#endif
        lock.lock();
        wake_.wait_for(lock, stop, Interval, [] { return false; });
    }
}

} // namespace qvs::platform
