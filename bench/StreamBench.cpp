// Encode and Decode of a 64 MiB package against plain copies of the same
// bytes; the closing lines give each one's time as a multiple of memcpy.
#include "protocol/CStream.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t contentSize = std::size_t{64} << 20;

const std::vector<std::uint8_t>& Plain() {
    static const std::vector<std::uint8_t> plain = [] {
        std::vector<std::uint8_t> bytes(contentSize);
        std::uint32_t state = 12345;
        for (auto& byte : bytes) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
        return bytes;
    }();
    return plain;
}

const std::vector<std::uint8_t>& Scrambled() {
    static const std::vector<std::uint8_t> scrambled = [] {
        qvs::CStream stream;
        stream.Write(Plain().data(), Plain().size());
        stream.Encode();
        return std::vector<std::uint8_t>(stream.Data(), stream.Data() + stream.Size());
    }();
    return scrambled;
}

void Refill(qvs::CStream& stream, const std::vector<std::uint8_t>& bytes) {
    stream.Clear();
    stream.Write(bytes.data(), bytes.size());
}

// Copy into a buffer that is already in memory: the bare bandwidth.
void BM_Memcpy(benchmark::State& state) {
    const auto& source = Plain();
    std::vector<std::uint8_t> target(source.size(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

// Copy into a freshly allocated buffer, as any operation producing new
// content of this size must.
void BM_MemcpyFresh(benchmark::State& state) {
    const auto& source = Plain();
    for (auto _ : state) {
        std::vector<std::uint8_t> target(source.begin(), source.end());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

// The stream already has room for the scrambled form, as after a Decode or
// with Reserve: Encode works in place.
void BM_Encode(benchmark::State& state) {
    qvs::CStream stream;
    stream.Reserve(contentSize * 2);
    for (auto _ : state) {
        state.PauseTiming();
        Refill(stream, Plain());
        state.ResumeTiming();
        stream.Encode();
        benchmark::DoNotOptimize(stream.Data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * contentSize));
}

// The stream holds exactly the plain content, as when just read from a file:
// Encode needs a new area, so compare it with BM_MemcpyFresh.
void BM_EncodeNewArea(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto stream = std::make_unique<qvs::CStream>();
        stream->Write(Plain().data(), Plain().size());
        state.ResumeTiming();
        stream->Encode();
        benchmark::DoNotOptimize(stream->Data());
        state.PauseTiming();
        stream.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * contentSize));
}

void BM_Decode(benchmark::State& state) {
    qvs::CStream stream;
    for (auto _ : state) {
        state.PauseTiming();
        Refill(stream, Scrambled());
        state.ResumeTiming();
        stream.Decode();
        benchmark::DoNotOptimize(stream.Data());
    }
    if (stream.Size() != contentSize) {
        state.SkipWithError("Decode did not give back the plain size");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * contentSize));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyFresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeNewArea)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints as usual and keeps each benchmark's times (the median when repeated)
// for the closing ratios. CPU time is given beside real time because on a
// busy machine real time also counts waiting for a core.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
                times_[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                      run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        const std::pair<const char*, const char*> pairs[] = {{"BM_Encode", "BM_Memcpy"},
                                                             {"BM_Decode", "BM_Memcpy"},
                                                             {"BM_EncodeNewArea", "BM_Memcpy"},
                                                             {"BM_EncodeNewArea", "BM_MemcpyFresh"},
                                                             {"BM_MemcpyFresh", "BM_Memcpy"}};
        for (const auto& [name, base] : pairs) {
            const auto subject = times_.find(name);
            const auto baseline = times_.find(base);
            if (subject != times_.end() && baseline != times_.end()) {
                std::printf("%s / %s: %.2f real, %.2f cpu\n", name, base,
                            subject->second.first / baseline->second.first,
                            subject->second.second / baseline->second.second);
            }
        }
    }

private:
    std::map<std::string, std::pair<double, double>> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
