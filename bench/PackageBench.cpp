// ExtractPackage in process: many small files (dominated by one atomic,
// flushed write per file) and one large file (dominated by the copy out).
// scripts/bench-package.sh compares the qvs-pack binary with tar.
#include "protocol/CStream.h"
#include "system/CDirectory.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// Appending rather than operator+ keeps GCC 12's -Wrestrict false alarm quiet at -O3.
std::string Numbered(const char* prefix, long long number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

// folders sub-directories of files files each, every file fileSize bytes.
qvs::CStream MakePackage(int folders, int files, std::size_t fileSize) {
    qvs::CStream package;
    const std::string content(fileSize, 'q');
    package.WriteString(""); // base directory
    package.WriteString(""); // root record
    package.WriteInt(folders);
    for (int folder = 0; folder < folders; ++folder) {
        const std::string path = Numbered("d", folder) + "\\";
        package.WriteString(path);
        package.WriteInt(0);
        package.WriteInt(files);
        for (int file = 0; file < files; ++file) {
            package.WriteString(path);
            package.WriteString(Numbered("f", file));
            package.WriteInt(static_cast<std::int32_t>(fileSize));
            package.Write(content.data(), content.size());
        }
    }
    package.WriteInt(0);
    return package;
}

void Extract(benchmark::State& state, int folders, int files, std::size_t fileSize) {
    qvs::CStream package = MakePackage(folders, files, fileSize);
    const fs::path root =
        fs::temp_directory_path() /
        ("qvs-bench-package-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root);
        fs::create_directories(root);
        package.SetPosition(0);
        std::string base;
        package.ReadString(base);
        state.ResumeTiming();
        qvs::CDirectory().ExtractPackage(package, (root / "").string());
    }
    fs::remove_all(root);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package.Size()));
    state.counters["files"] = folders * files;
}

void BM_ExtractSmallFiles(benchmark::State& state) {
    Extract(state, 10, 100, 4096);
}
void BM_ExtractOneLargeFile(benchmark::State& state) {
    Extract(state, 1, 1, std::size_t{64} << 20);
}

} // namespace

BENCHMARK(BM_ExtractSmallFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtractOneLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
