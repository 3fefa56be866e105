// Ground-motion work.
// BM_Spectrum: the 5 %-damped spectrum of a 5,590-value record (28 s at 0.005 s, PEER's usual
// size) at 100 periods from 0.01 s to 10 s, logarithmically spaced.
// BM_ReadPeerRecord: reading that record from a PEER .AT2 file; bytes_per_second is the speed.
#include "model/AtomicFile.h"
#include "model/NumberText.h"
#include "motion/Record.h"
#include "motion/Spectrum.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

using namespace vandra;

namespace {

motion::Record PeerSizedRecord() {
    motion::Record r;
    r.dt = 0.005;
    for (int k = 0; k < 5590; ++k) {
        const double t = k * r.dt;
        r.accel.push_back(t / 3 * std::exp(1 - t / 3) *
                          (0.2 * std::sin(7 * t) + 0.1 * std::sin(23 * t + 1)));
    }
    return r;
}

void BM_Spectrum(benchmark::State& state) {
    const motion::Record record = PeerSizedRecord();
    std::vector<double> periods;
    for (int i = 0; i < 100; ++i)
        periods.push_back(0.01 * std::pow(1000.0, i / 99.0));
    for (auto _ : state)
        for (double t : periods)
            benchmark::DoNotOptimize(motion::PeakResponse(record, t));
}
BENCHMARK(BM_Spectrum)->Unit(benchmark::kMillisecond);

void BM_ReadPeerRecord(benchmark::State& state) {
    const motion::Record record = PeerSizedRecord();
    std::string text = "PEER NGA STRONG MOTION DATABASE RECORD\nBENCH\n"
                       "ACCELERATION TIME SERIES IN UNITS OF G\nNPTS=  5590, DT=   .0050 SEC,\n";
    for (size_t k = 0; k < record.accel.size(); ++k) {
        text += "  ";
        text::AppendE(text, record.accel[k], 8);
        if (k % 5 == 4) text += '\n';
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vandra_bench_" + std::to_string(::getpid()) + ".AT2"))
                                 .string();
    WriteFileAtomically(path, text);
    for (auto _ : state)
        benchmark::DoNotOptimize(motion::ReadPeerRecord(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadPeerRecord)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
