// Shared pieces of the file transfer worker tests: HTTP replies, packages,
// files on disk, and running a worker with UseServer set as the owner does.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "protocol/CStream.h"
#include "support/WireBytes.h"
#include "workers/RunWorker.h"
#include "workers/WorkerValues.h"

namespace qvs::test {

inline std::string HttpOk(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

inline std::string HttpNotFound() {
    return "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found";
}

// A data package: base, then a root record holding one sub-directory with
// one file and one file of its own.
inline std::string PlainPackage(const std::string& base) {
    return Sz(base) + Sz("") + Le32(1) + Sz("art\\") + Le32(0) + Le32(1) + Sz("art\\") +
           Sz("a.jpg") + Le32(3) + "JPG" + Le32(1) + Sz("") + Sz("sound.wav") + Le32(4) + "WAVE";
}

inline std::string Scrambled(const std::string& plain) {
    CStream stream = StreamOf(plain);
    stream.Encode();
    return Content(stream);
}

inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// What the owner can read of a worker once it has ended.
struct TransferOutcome {
    std::int32_t transferResult = -1;
    std::int32_t bytesTotal = -1;
    std::int32_t bytesReceived = -1;
};

template <typename Body, typename... Args>
TransferOutcome RunTransfer(bool useServer, WorkerValues& values, Args&&... args) {
    Worker<Body> worker(values, std::forward<Args>(args)...);
    worker->UseServer = useServer;
    RunWorker(worker, WaitPolicy::Block());
    return {worker->TransferResult, worker->Progress.BytesTotal, worker->Progress.BytesReceived};
}

} // namespace qvs::test
