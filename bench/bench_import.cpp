// Import speed and memory: an in-memory .s2k text of 200,000 joints, 200,000 frames and 200,000
// load lines (plus a few materials and sections), split into lines and imported.
#include "import/S2kImport.h"
#include "model/NumberText.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

namespace {

constexpr int kJoints = 200000;
constexpr int kFrames = 200000;
constexpr int kLoads = 200000;

std::string BuildModelText() {
    using vandra::text::AppendFormat;
    std::string s = "; generated model\n\nJOINT\n";
    for (int k = 1; k <= kJoints; ++k)
        AppendFormat(s, "  %d  X=%0.4E  Y=%0.4E  Z=%0.4E\n",
                     {k, 1000.0 * (k % 100), 1000.0 * (k / 100 % 40), 3000.0 * (k / 4000)});
    s += "\nRESTRAINT\n";
    for (int k = 1; k <= 100; ++k)
        AppendFormat(s, "  ADD=%d  DOF=U1,U2,U3,R1,R2,R3\n", {k});
    s += "\nMATERIAL\n  NAME=CONC  IDES=C\n    T=0  E=25000  U=0.2\n  NAME=STEEL  IDES=S\n"
         "    T=0  E=200000  U=0.3\n\nFRAME SECTION\n"
         "  NAME=NCOL  MAT=CONC  SH=R  T=400,400\n"
         "  NAME=EBEAM  MAT=STEEL  SH=I  T=400,180,13.5,8.6,180,13.5\n"
         "  NAME=TPIPE  MAT=STEEL  SH=P  T=168.3,8\n"
         "  NAME=R1  MAT=STEEL  SH=R  T=500,500\n\nFRAME\n";
    static const char* const kSections[] = {"NCOL", "EBEAM", "TPIPE", "R1"};
    for (int k = 1; k <= kFrames; ++k) {
        const int i = k, j = k % kJoints + 1;
        AppendFormat(s, "  %d  J=%d,%d  SEC=%s  NSEG=2  ANG=%d",
                     {k, i, j, kSections[k % 4], k % 90});
        s += k % 4 == 3 ? "  JREL=R3\n" : "\n";
    }
    s += "\nLOAD\n  NAME=DEAD\n    TYPE=FORCE\n";
    for (int k = 1; k <= kLoads / 2; ++k)
        AppendFormat(s, "      ADD=%d  UZ=%0.5E\n", {k, -1000.0 - k % 7});
    s += "  NAME=LIVE\n    TYPE=DISTRIBUTED\n";
    for (int k = 1; k <= kLoads / 2; ++k)
        AppendFormat(s, "      ADD=%d  RD=0,1  U2=-10,%0.3F\n", {k, -6.0 - k % 5});
    return s + "\n";
}

// Bytes held by the model's tables and texts.
size_t ModelBytes(const vandra::TModel& m) {
    auto strings = [](const std::string& s) { return s.capacity() > 15 ? s.capacity() : 0; };
    size_t bytes =
        m.Nodes.capacity() * sizeof(vandra::TNODE) + m.Frames.capacity() * sizeof(vandra::TFRAME) +
        m.Loads.capacity() * sizeof(vandra::TLOAD) +
        m.Sections.capacity() * sizeof(vandra::TSECTION) + m.Mats.capacity() * sizeof(vandra::TMAT);
    for (const auto& f : m.Frames)
        bytes += strings(f.SecName);
    return bytes;
}

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ImportS2k(benchmark::State& state) {
    const std::string text = BuildModelText();
    const long rssBefore = PeakRssKb();
    size_t modelBytes = 0;
    for (auto _ : state) {
        const vandra::S2kText lines = vandra::SplitS2kLines(text);
        const vandra::TModel model = vandra::ImportS2k(lines);
        modelBytes = ModelBytes(model);
        benchmark::DoNotOptimize(model.Frames.data());
    }
    const double mb = 1024.0 * 1024.0;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["file_MB"] = static_cast<double>(text.size()) / mb;
    state.counters["model_MB"] = static_cast<double>(modelBytes) / mb;
    state.counters["model_per_file"] = static_cast<double>(modelBytes) / text.size();
    state.counters["peak_rss_growth_MB"] = static_cast<double>(PeakRssKb() - rssBefore) / 1024.0;
}
BENCHMARK(BM_ImportS2k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
