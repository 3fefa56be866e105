// Tabular SAP2000 import speed: a generated file of 200,000 joints and 200,000 frames (with their
// section and auto mesh assignments and a load per frame), read into tables and imported, and
// the 10-storey corpus model.
#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "import/TabularReader.h"
#include "model/NumberText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kJoints = 200000;
constexpr int kFrames = 200000;

std::string BuildTabularText() {
    using vandra::text::AppendFormat;
    std::string s = "File bench.s2k was saved on m/d/yy at h:mm:ss\r\n \r\n"
                    "TABLE:  \"PROGRAM CONTROL\"\r\n"
                    "   ProgramName=SAP2000   Version=25.0.0   CurrUnits=\"KN, m, C\" _\r\n"
                    "        RegenHinge=Yes\r\n \r\n"
                    "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\r\n"
                    "   Material=S355   UnitWeight=76.9728639422648   UnitMass=7.84904737995992   "
                    "E1=210000000   G12=80769230.7692308   U12=0.3   A1=1.17E-05\r\n \r\n"
                    "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\r\n"
                    "   SectionName=FSEC1   Material=S355   Shape=\"I/Wide Flange\"   t3=0.3048   "
                    "t2=0.127   tf=0.009652   tw=0.00635   t2b=0.127   tfb=0.009652   "
                    "Area=0.0042645076\r\n \r\n"
                    "TABLE:  \"LOAD PATTERN DEFINITIONS\"\r\n   LoadPat=DEAD   DesignType=Dead   "
                    "SelfWtMult=1\r\n \r\n"
                    "TABLE:  \"JOINT COORDINATES\"\r\n";
    for (int k = 1; k <= kJoints; ++k)
        AppendFormat(s,
                     "   Joint=%d   CoordSys=GLOBAL   CoordType=Cartesian   XorR=%0.3F   Y=%0.3F   "
                     "Z=%0.3F   SpecialJt=No\r\n",
                     {k, 6.125 * (k % 100), 5.25 * (k / 100 % 40), 3.5 * (k / 4000)});
    s += " \r\nTABLE:  \"CONNECTIVITY - FRAME\"\r\n";
    for (int k = 1; k <= kFrames; ++k)
        AppendFormat(s,
                     "   Frame=%d   JointI=%d   JointJ=%d   IsCurved=No   "
                     "GUID=528c21ac-15f4-447e-8972-3c4453e1129d\r\n",
                     {k, k, k % kJoints + 1});
    s += " \r\nTABLE:  \"FRAME SECTION ASSIGNMENTS\"\r\n";
    for (int k = 1; k <= kFrames; ++k)
        AppendFormat(s,
                     "   Frame=%d   SectionType=\"I/Wide Flange\"   AutoSelect=N.A.   "
                     "AnalSect=FSEC1   DesignSect=FSEC1   MatProp=Default\r\n",
                     {k});
    s += " \r\nTABLE:  \"FRAME AUTO MESH ASSIGNMENTS\"\r\n";
    for (int k = 1; k <= kFrames; ++k)
        AppendFormat(s,
                     "   Frame=%d   AutoMesh=Yes   AtJoints=Yes   AtFrames=No   NumSegments=0   "
                     "MaxLength=0   MaxDegrees=0\r\n",
                     {k});
    s += " \r\nTABLE:  \"FRAME LOADS - DISTRIBUTED\"\r\n";
    for (int k = 1; k <= kFrames; ++k)
        AppendFormat(s,
                     "   Frame=%d   LoadPat=DEAD   CoordSys=GLOBAL   Type=Force   Dir=Gravity   "
                     "DistType=RelDist   RelDistA=0   RelDistB=1   AbsDistA=0   AbsDistB=6   "
                     "FOverLA=30   FOverLB=30\r\n",
                     {k});
    s += " \r\nEND TABLE DATA\r\n";
    return s;
}

const std::string& Text() {
    static const std::string text = BuildTabularText();
    return text;
}

void SetBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Lines and tables only.
void BM_TabularTables(benchmark::State& state) {
    for (auto _ : state) {
        const vandra::S2kText lines = vandra::SplitS2kLines(Text());
        const vandra::TabularFile file = vandra::ReadTabular(lines);
        benchmark::DoNotOptimize(file.Tables.data());
    }
    SetBytes(state, Text().size());
}
BENCHMARK(BM_TabularTables)->Unit(benchmark::kMillisecond);

// The whole import: lines, tables and the model (auto mesh search, self weight, loads, masses).
void BM_TabularImport(benchmark::State& state) {
    for (auto _ : state) {
        const vandra::S2kText lines = vandra::SplitS2kLines(Text());
        const vandra::TModel model = vandra::ImportTabular(lines, "bench.s2k");
        benchmark::DoNotOptimize(model.Frames.data());
    }
    SetBytes(state, Text().size());
}
BENCHMARK(BM_TabularImport)->Unit(benchmark::kMillisecond);

// The 10-storey corpus model (0.9 MB), from the file.
void BM_TabularTenStorey(benchmark::State& state) {
    const std::string path =
        VANDRA_SOURCE_DIR "/../shared/corpus/sap-tabular/pcachim-ofem__demo-s2k.s2k";
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("no corpus beside the repository");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        const vandra::S2kText lines = vandra::ReadS2kFile(path);
        const vandra::TModel model = vandra::ImportTabular(lines, path);
        benchmark::DoNotOptimize(model.Frames.data());
        bytes = 0;
        for (size_t i = 0; i < lines.size(); ++i)
            bytes += lines[i].size() + 2;
    }
    SetBytes(state, bytes);
}
BENCHMARK(BM_TabularTenStorey)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
